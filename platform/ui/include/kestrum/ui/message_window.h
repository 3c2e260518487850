// Window messages between widgets: SendMessage delivers at once, PostMessage after the events
// already queued (so a control can post to its parent and return before the parent acts). A
// widget class built on MessageWindow<Base> receives them in WindowProc; WM_COMMAND goes on to
// OnCommand with the command or control identifier and the notification code. A window that
// only runs a handler for a notification maps it (MapCommand) instead of overriding OnCommand.
#pragma once

#include <kestrum/ui/constants.h>
#include <kestrum/ui/export.h>

#include <QEvent>
#include <QtGlobal>

#include <functional>
#include <map>
#include <utility>

class QObject;

namespace kestrum::ui {

class KESTRUM_UI_API MessageEvent : public QEvent {
public:
    MessageEvent(unsigned message, quintptr wParam, qintptr lParam);
    static QEvent::Type eventType();

    unsigned message;
    quintptr wParam;
    qintptr lParam;
    qintptr result = 0;
};

// The wParam of WM_COMMAND for a control notification.
constexpr quintptr commandParam(int nID, int nCode) {
    return quintptr(unsigned(nID) & 0xFFFF) | (quintptr(unsigned(nCode) & 0xFFFF) << 16);
}

template <class Base>
class KESTRUM_UI_API MessageWindow : public Base {
public:
    using Base::Base;

protected:
    // Answers a message; the default passes WM_COMMAND to OnCommand and answers 0.
    virtual qintptr WindowProc(unsigned message, quintptr wParam, qintptr lParam) {
        Q_UNUSED(lParam);
        if (message == WM_COMMAND) OnCommand(int(wParam & 0xFFFF), int((wParam >> 16) & 0xFFFF));
        return 0;
    }
    // A menu command (nCode 0) or a control notification; returns whether it was handled. The
    // default runs the handler mapped to it, so an override sees every command first and passes
    // on the ones it leaves alone.
    virtual bool OnCommand(int nID, int nCode) {
        const auto mapped = m_commands.find(commandParam(nID, nCode));
        if (mapped == m_commands.end()) return false;
        mapped->second();
        return true;
    }
    // Runs handler when OnCommand gets this notification from control nID (or menu command nID
    // with nCode 0); a later mapping of the same pair replaces it.
    void MapCommand(int nID, int nCode, std::function<void()> handler) {
        m_commands[commandParam(nID, nCode)] = std::move(handler);
    }

    bool event(QEvent* e) override {
        if (e->type() == MessageEvent::eventType()) {
            auto* m = static_cast<MessageEvent*>(e);
            m->result = WindowProc(m->message, m->wParam, m->lParam);
            return true;
        }
        return Base::event(e);
    }

private:
    std::map<quintptr, std::function<void()>> m_commands;
};


}  // namespace kestrum::ui

// The answer of the receiving window; 0 when there is no receiver.
KESTRUM_UI_API qintptr SendMessage(QObject* pWnd, unsigned message, quintptr wParam = 0, qintptr lParam = 0);
// Queues the message; false when there is no receiver. A receiver deleted before delivery never
// sees it.
KESTRUM_UI_API bool PostMessage(QObject* pWnd, unsigned message, quintptr wParam = 0, qintptr lParam = 0);
