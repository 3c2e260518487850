// morvane --screenshots DIR: the seven pages and the Name, Select Preferred Unit, About and help
// windows, each written as a PNG after acting on it as a user would (the sheet shown, each page
// reached by a click on its tab, entries clicked, text typed), so the pictures show what a user
// sees. Nothing is saved to the database file.
#pragma once

#include <QPoint>
#include <QString>

class QTabBar;

class CMorvaneSheet;
class MorvaneEngine;

// True when every picture was written.
bool WriteScreenshots(CMorvaneSheet& sheet, MorvaneEngine& engine, const QString& programDir, const QString& folder);

// Where tab `index` of a sheet's tab bar is drawn, to click it: the tabs fill rows across the
// bar in order, each row stretched to the full width, and the row with the current tab lies next
// to the page, the others above it in turn. (-1, -1) for a bad index.
QPoint TabCentre(const QTabBar* bar, int index);
