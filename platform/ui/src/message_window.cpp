#include <kestrum/ui/message_window.h>

#include <QCoreApplication>
#include <QObject>

namespace kestrum::ui {

MessageEvent::MessageEvent(unsigned msg, quintptr w, qintptr l)
    : QEvent(eventType()), message(msg), wParam(w), lParam(l) {}

QEvent::Type MessageEvent::eventType() {
    static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
    return type;
}

}  // namespace kestrum::ui

qintptr SendMessage(QObject* pWnd, unsigned message, quintptr wParam, qintptr lParam) {
    if (!pWnd) return 0;
    kestrum::ui::MessageEvent event(message, wParam, lParam);
    QCoreApplication::sendEvent(pWnd, &event);
    return event.result;
}

bool PostMessage(QObject* pWnd, unsigned message, quintptr wParam, qintptr lParam) {
    if (!pWnd) return false;
    QCoreApplication::postEvent(pWnd, new kestrum::ui::MessageEvent(message, wParam, lParam));
    return true;
}
