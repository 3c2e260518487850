#include <kestrum/ui/app.h>

#include <kestrum/ui/dialog_units.h>
#include <kestrum/ui/resources.h>

#include <QApplication>

#include <memory>

namespace {
CWinApp* g_app = nullptr;
}  // namespace

CWinApp::CWinApp(const QString& appName) : m_pszAppName(appName) { g_app = this; }

CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

int CWinApp::Run(int& argc, char** argv) {
    std::unique_ptr<QApplication> own;
    if (!QApplication::instance()) own = std::make_unique<QApplication>(argc, argv);
    QApplication::setApplicationName(m_pszAppName);
    kestrum::ui::installFontSubstitutions();
    if (InitInstance()) QApplication::exec();
    m_pMainWnd = nullptr;
    return ExitInstance();
}

QIcon CWinApp::LoadIcon(int nIDResource) const { return kestrum::ui::findIcon(nIDResource); }

QStringList CWinApp::arguments() const { return QCoreApplication::arguments(); }

CWinApp* AfxGetApp() { return g_app; }

QWidget* AfxGetMainWnd() {
    if (g_app && g_app->m_pMainWnd) return g_app->m_pMainWnd;
    return QApplication::activeWindow();
}

QString AfxGetAppName() {
    if (g_app) return g_app->m_pszAppName;
    return QCoreApplication::applicationName();
}
