// The main of every Qt test: the offscreen platform unless another is chosen, so tests and test
// discovery need no display, and one QApplication made before GoogleTest starts.
#include <kestrum/ui/dialog_units.h>

#include <gtest/gtest.h>

#include <QApplication>

namespace {

QtMessageHandler g_previousHandler = nullptr;

// The offscreen platform reports every window-manager request it cannot honour (raise,
// keyboard grabs, size hints); those lines would bury the messages that matter.
void quietOffscreenNotices(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("This plugin does not support"))) return;
    if (g_previousHandler) g_previousHandler(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    g_previousHandler = qInstallMessageHandler(quietOffscreenNotices);
    QApplication app(argc, argv);
    kestrum::ui::installFontSubstitutions();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
