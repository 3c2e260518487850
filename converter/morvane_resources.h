// The program's resources: the dialog templates of the pages and dialogs, the edit lists'
// context menu, the About item's text and the program icon, all in the application's module.
#pragma once

#include <QIcon>
#include <QPixmap>

// Adds the resources to the application's module; cheap to call again.
void RegisterMorvaneResources();

// The program icon (a scale with a conversion arrow), drawn at the usual icon sizes.
QIcon MorvaneIcon();
// The Database File page's picture: a database drum and a file.
QPixmap DatabasePicture(int size);
