// CUnitDatabaseDlg: edits the units of one quantity in the engine: conversion factor and offset
// or unit expression, symbol and synonyms; units and synonyms are added, removed and renamed
// through the lists' context menus. The unit shown is written back when another unit or
// quantity is selected, when the expression box loses the focus and when the page is left.
#pragma once

#include "exact_number.h"
#include "table_page.h"

class CUnitDatabaseDlg : public CTablePage {
    Q_OBJECT
public:
    CUnitDatabaseDlg(MorvaneEngine& engine, const QString& programDir);

    bool OnSetActive() override;

    ExactNumber m_factor;
    ExactNumber m_offset;
    QString m_sExpression;
    QString m_sSymbol;
    QString m_sSelectedUnit;
    QString m_sSelectedQuantity;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnCommand(int nID, int nCode) override;

    QString& SelectedEntry() override { return m_sSelectedUnit; }
    void SaveEntry(const QString& unit) override;
    void LoadEntry() override;
    void OnExpressionSaved() override;

private:
    void OnQuantityChanged();
    void ReadFactorAndOffset(const QString& unit);
};
