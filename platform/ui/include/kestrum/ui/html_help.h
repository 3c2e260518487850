// The HTML help viewer: shows a compiled HTML help file (.chm) in a window with its contents
// tree beside the pages, following links between pages and showing their images. A path may
// name a page inside the file as "help.chm::/page.html"; otherwise the file's default topic
// opens. Each file has one window per process: asking again shows it and opens the page there.
#pragma once

#include <kestrum/ui/constants.h>
#include <kestrum/ui/export.h>

#include <QString>

class QWidget;

// The help window (owned by hwndCaller's window, which it stays above), or null when the file
// is missing, is not a compiled help file, or its start page cannot be read. HH_DISPLAY_TOPIC is
// the one command there is.
KESTRUM_UI_API QWidget* HtmlHelp(QWidget* hwndCaller, const QString& pszFile, unsigned uCommand = HH_DISPLAY_TOPIC);
