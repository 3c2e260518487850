// morvane --screenshots DIR: the seven pages and the Name, Select Preferred Unit, About and help
// windows, each written as a PNG after acting on it as a user would, so the pictures show the
// program at work. Nothing is saved to the database file.
#pragma once

#include <QString>

class CMorvaneSheet;
class MorvaneEngine;

// True when every picture was written.
bool WriteScreenshots(CMorvaneSheet& sheet, MorvaneEngine& engine, const QString& programDir, const QString& folder);
