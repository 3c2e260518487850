// CConversionPage: what the three conversion pages share: the result line ("Multiply By ...
// And ... Add") that each ends with, and the lists of quantities and unit systems they start
// with.
#pragma once

#include "morvane_page.h"

class CConversionPage : public CMorvanePage {
    Q_OBJECT
public:
    double m_dAdd = 0;
    double m_dMultiplyBy = 0;

protected:
    using CMorvanePage::CMorvanePage;

    // A page starts with its quantity list filled from the engine (a failure is shown) and its
    // two unit-system lists too.
    bool OnInitDialog() override;
    // Exchanges the result line alone; a page with more fields calls ExchangeResult where its
    // fields put it.
    void DoDataExchange(CDataExchange* pDX) override { ExchangeResult(pDX); }
    void ExchangeResult(CDataExchange* pDX);
};
