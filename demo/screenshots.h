// probeck --screenshots DIR: the demo dialog, the Units list, the Unit Systems list, the dialog
// after switching to SI, and the About box, as PNGs. The lists are opened as the user opens
// them (the key u in the length control, the "Unit Systems Dialog" button).
#pragma once

#include <QString>

namespace probeck {

// Answers whether every picture was written.
bool takeScreenshots(const QString& dir);

}  // namespace probeck
