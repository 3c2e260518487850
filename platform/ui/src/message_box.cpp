#include <kestrum/ui/message_box.h>

#include <kestrum/ui/app.h>
#include <kestrum/ui/resources.h>

#include <QApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

#include <utility>
#include <vector>

namespace kestrum::ui {
namespace {

MessageBoxHook& hook() {
    static MessageBoxHook instance;
    return instance;
}

struct ButtonSet {
    std::vector<std::pair<QMessageBox::StandardButton, int>> buttons;  // in the order shown
    int escapeResult;
    bool escapes = true;  // Escape and the close box answer escapeResult
};

// Keeps Escape from a box that cannot be escaped (Qt would press No or Abort).
class NoEscape : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) return true;
        return QObject::eventFilter(watched, event);
    }
};

ButtonSet buttonsFor(unsigned type) {
    using B = QMessageBox;
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL: return {{{B::Ok, IDOK}, {B::Cancel, IDCANCEL}}, IDCANCEL};
        case MB_ABORTRETRYIGNORE: return {{{B::Abort, IDABORT}, {B::Retry, IDRETRY}, {B::Ignore, IDIGNORE}}, IDABORT, false};
        case MB_YESNOCANCEL: return {{{B::Yes, IDYES}, {B::No, IDNO}, {B::Cancel, IDCANCEL}}, IDCANCEL};
        case MB_YESNO: return {{{B::Yes, IDYES}, {B::No, IDNO}}, IDNO, false};
        case MB_RETRYCANCEL: return {{{B::Retry, IDRETRY}, {B::Cancel, IDCANCEL}}, IDCANCEL};
        default: return {{{B::Ok, IDOK}}, IDOK};
    }
}

QMessageBox::Icon iconFor(unsigned type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONHAND: return QMessageBox::Critical;
        case MB_ICONQUESTION: return QMessageBox::Question;
        case MB_ICONEXCLAMATION: return QMessageBox::Warning;
        case MB_ICONASTERISK: return QMessageBox::Information;
        default: return QMessageBox::NoIcon;
    }
}

int defaultIndex(unsigned type, std::size_t count) {
    const std::size_t index = (type & MB_DEFMASK) >> 8;
    return int(index < count ? index : 0);
}

// A wait cursor would otherwise stay over the box the user has to answer.
class ArrowWhileOpen {
public:
    ArrowWhileOpen() : m_active(QApplication::overrideCursor() != nullptr) {
        if (m_active) QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~ArrowWhileOpen() {
        if (m_active) QApplication::restoreOverrideCursor();
    }
    Q_DISABLE_COPY(ArrowWhileOpen)

private:
    bool m_active;
};

}  // namespace

int MessageBoxRequest::defaultButton() const {
    const ButtonSet set = buttonsFor(type);
    return set.buttons[defaultIndex(type, set.buttons.size())].second;
}

MessageBoxHook setMessageBoxHook(MessageBoxHook newHook) { return std::exchange(hook(), std::move(newHook)); }

int ShowMessageBox(const MessageBoxRequest& request) {
    if (hook()) return hook()(request);

    const ButtonSet set = buttonsFor(request.type);
    QMessageBox box(iconFor(request.type), request.caption, request.text, QMessageBox::NoButton, request.owner);
    box.setTextFormat(Qt::PlainText);
    std::vector<QPushButton*> shown;
    for (const auto& [standard, result] : set.buttons) shown.push_back(box.addButton(standard));
    box.setDefaultButton(shown[defaultIndex(request.type, shown.size())]);
    NoEscape noEscape;
    if (!set.escapes) {
        box.installEventFilter(&noEscape);
        box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    }
    // The box is sized to its text; the platform's box is never narrower than its caption. A
    // window manager may draw the caption in bold, beside the window's icon and three buttons.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        QFont title = QApplication::font();
        title.setBold(true);
        const QFontMetrics metrics(title);
        const int captionWidth = metrics.horizontalAdvance(request.caption) + 6 * metrics.height();
        const QMargins margins = grid->contentsMargins();
        grid->addItem(new QSpacerItem(captionWidth - margins.left() - margins.right(), 0, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    ArrowWhileOpen arrow;
    box.exec();
    for (std::size_t i = 0; i < shown.size(); ++i)
        if (box.clickedButton() == shown[i]) return set.buttons[i].second;
    return set.escapeResult;
}

}  // namespace kestrum::ui

int MessageBox(QWidget* pOwner, const QString& text, const QString& caption, unsigned nType) {
    return kestrum::ui::ShowMessageBox({pOwner, text, caption, nType});
}

int AfxMessageBox(const QString& text, unsigned nType, unsigned nIDHelp) {
    Q_UNUSED(nIDHelp);
    return kestrum::ui::ShowMessageBox({AfxGetMainWnd(), text, AfxGetAppName(), nType});
}

int AfxMessageBox(int nIDPrompt, unsigned nType, unsigned nIDHelp) {
    QString text;
    AfxLoadString(nIDPrompt, text);
    return AfxMessageBox(text, nType, nIDHelp);
}
