#include "morvane_app.h"

#include "morvane_resources.h"
#include "morvane_sheet.h"
#include "program_files.h"
#include "screenshots.h"

#include <comrt/comrt.h>

#include <QApplication>

#include <cstdio>

namespace {
// Exit codes: 1 when the engine is missing, 3 when the screenshots could not all be written.
constexpr int kExitNoEngine = 1;
constexpr int kExitScreenshotsFailed = 3;
}  // namespace

CMorvaneApp::CMorvaneApp() : CWinApp(QStringLiteral("Morvane")) {}

void CMorvaneApp::Fail(const QString& why) {
    const QByteArray line = QStringLiteral("morvane: %1\n").arg(why).toUtf8();
    std::fputs(line.constData(), stderr);
    m_nExitCode = kExitNoEngine;
}

bool CMorvaneApp::InitInstance() {
    const HRESULT hr = CoInitialize(nullptr);
    if (FAILED(hr)) {
        Fail(QStringLiteral("the component runtime cannot be initialised (%1)").arg(QString::fromStdString(comrt::ResultText(hr))));
        return false;
    }
    m_bComInitialized = true;
    QString why;
    if (FAILED(m_engine.Create(&why))) {
        Fail(why);
        return false;
    }

    QApplication::setWindowIcon(MorvaneIcon());
    CMorvaneSheet sheet(m_engine, programDirectory());
    m_pMainWnd = &sheet;
    if (!m_sScreenshotFolder.isEmpty()) {
        if (!WriteScreenshots(sheet, m_engine, programDirectory(), m_sScreenshotFolder)) m_nExitCode = kExitScreenshotsFailed;
    } else {
        sheet.DoModal();
    }
    m_pMainWnd = nullptr;
    // The sheet was the program: no message loop follows it.
    return false;
}

int CMorvaneApp::ExitInstance() {
    m_engine.Release();
    if (m_bComInitialized) CoUninitialize();
    m_bComInitialized = false;
    return m_nExitCode;
}
