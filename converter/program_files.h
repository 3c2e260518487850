// Where the program finds its files: the Unit Database and the help file live beside its own
// executable (found through /proc/self/exe), in an installation and in the build tree alike.
#pragma once

#include <QString>

class QWidget;

inline constexpr char kDatabaseFileName[] = "Unit_Database.xml";
inline constexpr char kHelpFileName[] = "Morvane.chm";

// The folder of the running executable, ending in "/"; the working folder when it is unknown.
QString programDirectory();

// The help key of every page: opens Morvane.chm from programDir in the help viewer, or says
// "Help File Not Found" when the viewer cannot show it.
void ShowHelp(QWidget* pOwner, const QString& programDir);
