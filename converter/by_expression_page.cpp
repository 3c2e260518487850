#include "by_expression_page.h"

#include "about_dialog.h"
#include "morvane_resources.h"
#include "resource_ids.h"

#include <kestrum/ui/menu.h>
#include <kestrum/ui/resources.h>

CByExpressionDlg::CByExpressionDlg(MorvaneEngine& engine, const QString& programDir)
    : CMorvanePage(IDD_BY_EXPRESSION, engine, programDir) {}

bool CByExpressionDlg::OnInitDialog() {
    TakeEngineAnalysis();
    CMorvanePage::OnInitDialog();
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
    return CMorvanePage::OnSetActive();
}

void CByExpressionDlg::TakeEngineAnalysis() {
    m_bDimensionalAnalysis = m_engine.DimensionalAnalysis() ? BST_CHECKED : BST_UNCHECKED;
}

void CByExpressionDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_FROM_EXPRESSION, m_sFromExpression);
    DDX_Text(pDX, IDC_TO_EXPRESSION, m_sToExpression);
    DDX_Text(pDX, IDC_MULTIPLY_BY, m_dMultiplyBy);
    DDX_Text(pDX, IDC_ADD, m_dAdd);
    DDX_Check(pDX, IDC_DIMENSIONAL_ANALYSIS, m_bDimensionalAnalysis);
    DDX_Text(pDX, IDC_UNIT_EXPRESSION, m_sUnitExpression);
    DDX_Text(pDX, IDC_SYMBOL_RESULT, m_sSymbol);
}

bool CByExpressionDlg::OnSysCommand(unsigned nID, qintptr lParam) {
    if ((nID & 0xFFF0) != IDM_ABOUTBOX) return CMorvanePage::OnSysCommand(nID, lParam);
    CAboutDlg about;
    about.DoModal();
    return true;
}

bool CByExpressionDlg::OnCommand(int nID, int nCode) {
    if (nCode != BN_CLICKED) return false;
    switch (nID) {
        case IDC_CONVERT: OnConvert(); return true;
        case IDC_DIMENSIONAL_ANALYSIS: OnDimensionalAnalysis(); return true;
        case IDC_SYMBOL_BUTTON: OnSymbol(); return true;
        default: return false;
    }
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
