// CByExpressionDlg: converts between two unit expressions typed by the user, switches
// dimensional analysis on and off, and shows the symbol of an expression. It also puts
// "About Morvane..." on the window menu.
#pragma once

#include "conversion_page.h"

class CByExpressionDlg : public CConversionPage {
    Q_OBJECT
public:
    CByExpressionDlg(MorvaneEngine& engine, const QString& programDir);

    QString m_sFromExpression;
    QString m_sToExpression;
    int m_bDimensionalAnalysis = BST_UNCHECKED;  // always what the engine does
    QString m_sUnitExpression;
    QString m_sSymbol;

    bool OnSysCommand(unsigned nID, qintptr lParam) override;
    bool OnSetActive() override;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnCommand(int nID, int nCode) override;

private:
    void OnConvert();
    void OnDimensionalAnalysis();
    void OnSymbol();
    void TakeEngineAnalysis();
};
