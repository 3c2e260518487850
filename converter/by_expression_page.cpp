#include "by_expression_page.h"

#include "about_dialog.h"
#include "command_routing.h"
#include "morvane_resources.h"
#include "resource_ids.h"

#include <kestrum/ui/menu.h>
#include <kestrum/ui/resources.h>

CByExpressionDlg::CByExpressionDlg(MorvaneEngine& engine, const QString& programDir)
    : CConversionPage(IDD_BY_EXPRESSION, engine, programDir) {}

bool CByExpressionDlg::OnInitDialog() {
    TakeEngineAnalysis();
    CConversionPage::OnInitDialog();
    QString about;
    AfxLoadString(IDS_ABOUTBOX, about);
    if (CMenu* menu = GetSystemMenu(false); menu && !about.isEmpty()) {
        menu->AppendMenu(MF_SEPARATOR);
        menu->AppendMenu(MF_STRING, int(IDM_ABOUTBOX), about);
    }
    setWindowIcon(MorvaneIcon());
    return true;
}

// A database read on the first page may come after the box was last shown.
bool CByExpressionDlg::OnSetActive() {
    TakeEngineAnalysis();
    return CConversionPage::OnSetActive();
}

void CByExpressionDlg::TakeEngineAnalysis() {
    m_bDimensionalAnalysis = m_engine.DimensionalAnalysis() ? BST_CHECKED : BST_UNCHECKED;
}

void CByExpressionDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_FROM_EXPRESSION, m_sFromExpression);
    DDX_Text(pDX, IDC_TO_EXPRESSION, m_sToExpression);
    ExchangeResult(pDX);
    DDX_Check(pDX, IDC_DIMENSIONAL_ANALYSIS, m_bDimensionalAnalysis);
    DDX_Text(pDX, IDC_UNIT_EXPRESSION, m_sUnitExpression);
    DDX_Text(pDX, IDC_SYMBOL_RESULT, m_sSymbol);
}

bool CByExpressionDlg::OnSysCommand(unsigned nID, qintptr lParam) {
    if ((nID & 0xFFF0) != IDM_ABOUTBOX) return CConversionPage::OnSysCommand(nID, lParam);
    CAboutDlg about;
    about.DoModal();
    return true;
}

bool CByExpressionDlg::OnCommand(int nID, int nCode) {
    return nCode == BN_CLICKED && RouteCommand(nID, {{IDC_CONVERT, [this] { OnConvert(); }},
                                                     {IDC_DIMENSIONAL_ANALYSIS, [this] { OnDimensionalAnalysis(); }},
                                                     {IDC_SYMBOL_BUTTON, [this] { OnSymbol(); }}});
}

void CByExpressionDlg::OnConvert() {
    UpdateData(true);
    if (FAILED(m_engine.UnitExpression_Convert(m_sFromExpression, m_sToExpression, m_dAdd, m_dMultiplyBy)))
        ShowEngineError();
    UpdateData(false);
}

void CByExpressionDlg::OnDimensionalAnalysis() {
    UpdateData(true);
    if (SUCCEEDED(m_engine.EnableDimensionalAnalysis(m_bDimensionalAnalysis == BST_CHECKED))) return;
    ShowEngineError();
    // A box left as the user clicked it would promise a check the engine does not make.
    TakeEngineAnalysis();
    UpdateData(false);
}

void CByExpressionDlg::OnSymbol() {
    UpdateData(true);
    QString symbol;
    if (SUCCEEDED(m_engine.UnitExpression_Symbol(m_sUnitExpression, symbol))) {
        m_sSymbol = symbol;
    } else {
        ShowEngineError();
        m_sSymbol.clear();
    }
    UpdateData(false);
}
