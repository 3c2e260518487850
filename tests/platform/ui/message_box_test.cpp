#include <kestrum/ui/app.h>
#include <kestrum/ui/message_box.h>
#include <kestrum/ui/resources.h>
#include <kestrum/ui/wait_cursor.h>

#include <qt_test_support.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using kestrum::test::MessageBoxRecorder;
using kestrum::test::ModalDriver;

TEST(MessageBox, HookTakesTextCaptionButtonsAndIcon) {
    MessageBoxRecorder boxes;
    QWidget owner;
    EXPECT_EQ(MessageBox(&owner, QStringLiteral("Help File Not Found"), QStringLiteral("Help Error"), MB_OK | MB_ICONERROR), IDOK);
    EXPECT_EQ(MessageBox(nullptr, QStringLiteral("no caption")), IDOK);
    ASSERT_EQ(boxes.boxes().size(), 2u);
    const kestrum::ui::MessageBoxRequest& first = boxes.boxes()[0];
    EXPECT_EQ(first.owner, &owner);
    EXPECT_EQ(first.text, QStringLiteral("Help File Not Found"));
    EXPECT_EQ(first.caption, QStringLiteral("Help Error"));
    EXPECT_EQ(first.buttons(), MB_OK);
    EXPECT_EQ(first.icon(), MB_ICONERROR);
    EXPECT_EQ(boxes.boxes()[1].owner, nullptr);
    EXPECT_TRUE(boxes.boxes()[1].caption.isEmpty());
}

TEST(MessageBox, AnswersAreQueuedOrTheDefaultButton) {
    struct Row {
        unsigned type;
        int expected;
    };
    const Row rows[] = {{MB_OK, IDOK},           {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL}, {MB_YESNO, IDYES},
                        {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL}, {MB_YESNO | MB_DEFBUTTON2, IDNO},
                        {MB_RETRYCANCEL, IDRETRY}, {MB_YESNO | MB_DEFBUTTON3, IDYES}};
    MessageBoxRecorder boxes;
    for (const Row& r : rows) EXPECT_EQ(MessageBox(nullptr, QStringLiteral("?"), {}, r.type), r.expected) << r.type;
    boxes.answer(IDNO);
    boxes.answer(IDCANCEL);
    EXPECT_EQ(MessageBox(nullptr, QStringLiteral("Save?"), {}, MB_YESNOCANCEL), IDNO);
    EXPECT_EQ(MessageBox(nullptr, QStringLiteral("Save?"), {}, MB_YESNOCANCEL), IDCANCEL);
    EXPECT_EQ(MessageBox(nullptr, QStringLiteral("Save?"), {}, MB_YESNOCANCEL), IDYES);
}

TEST(MessageBox, AfxMessageBoxIsCaptionedWithTheProgramName) {
    MessageBoxRecorder boxes;
    {
        CWinApp app(QStringLiteral("Morvane"));
        AfxMessageBox(QStringLiteral("Unit Database File Read Successfully"), MB_ICONINFORMATION);
        kestrum::ui::ResourceModule::application().addString(9500, QStringLiteral("From the string table"));
        AfxMessageBox(9500);
    }
    ASSERT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(boxes.boxes()[0].caption, QStringLiteral("Morvane"));
    EXPECT_EQ(boxes.boxes()[0].icon(), MB_ICONINFORMATION);
    EXPECT_EQ(boxes.boxes()[1].text, QStringLiteral("From the string table"));
    EXPECT_EQ(AfxGetApp(), nullptr);
}

TEST(MessageBox, RealBoxShowsItsButtonsAndAnswersTheOneClicked) {
    ModalDriver driver;
    QStringList buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title, text;
    driver.next([&](QWidget* window) {
        auto* box = qobject_cast<QMessageBox*>(window);
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        for (QAbstractButton* button : box->buttons()) buttons << button->text();
        QTest::mouseClick(box->button(QMessageBox::No), Qt::LeftButton);
    });
    EXPECT_EQ(MessageBox(nullptr, QStringLiteral("The Unit Database has unsaved changes. Save them?"), QStringLiteral("Morvane"),
                         MB_YESNOCANCEL | MB_ICONQUESTION),
              IDNO);
    EXPECT_EQ(title, QStringLiteral("Morvane"));
    EXPECT_EQ(text, QStringLiteral("The Unit Database has unsaved changes. Save them?"));
    EXPECT_EQ(icon, QMessageBox::Question);
    EXPECT_EQ(buttons.size(), 3);

    driver.next([](QWidget* window) { QTest::keyClick(window, Qt::Key_Escape); });
    EXPECT_EQ(MessageBox(nullptr, QStringLiteral("Escape"), {}, MB_YESNOCANCEL), IDCANCEL);
    driver.next([](QWidget* window) { QTest::keyClick(window, Qt::Key_Return); });
    EXPECT_EQ(MessageBox(nullptr, QStringLiteral("Enter"), {}, MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL);
}

TEST(WaitCursor, NestsAndGivesWayToMessageBoxes) {
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    {
        CWaitCursor wait;
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        {
            CWaitCursor inner;
            QApplication::changeOverrideCursor(Qt::IBeamCursor);
            inner.Restore();
            EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        }
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);

        ModalDriver driver;
        Qt::CursorShape duringBox = Qt::WaitCursor;
        driver.next([&](QWidget* box) {
            duringBox = QApplication::overrideCursor()->shape();
            QTest::keyClick(box, Qt::Key_Return);
        });
        MessageBox(nullptr, QStringLiteral("Unit Database File Written Successfully"), QStringLiteral("Message"), MB_ICONINFORMATION);
        EXPECT_EQ(duringBox, Qt::ArrowCursor);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(MessageBox, IsNeverNarrowerThanItsCaption) {
    // A window manager draws the caption, often in bold, beside the window's icon and up to
    // three buttons; a box sized to its short text cut the caption short.
    const QString caption = QStringLiteral("Kestrum Morvane");
    ModalDriver driver;
    int width = 0;
    driver.next([&](QWidget* window) {
        width = window->width();
        QTest::keyClick(window, Qt::Key_Return);
    });
    EXPECT_EQ(MessageBox(nullptr, QStringLiteral("Bad."), caption, MB_OK | MB_ICONERROR), IDOK);
    QFont bold = QApplication::font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    EXPECT_GE(width, metrics.horizontalAdvance(caption) + 5 * metrics.height());
}

TEST(MessageBox, EscapeAnswersCancelOrOKAloneAndNothingInABoxWithoutEither) {
    ModalDriver driver;
    driver.next([](QWidget* window) { QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : window, Qt::Key_Escape); });
    EXPECT_EQ(MessageBox(nullptr, QStringLiteral("Read."), QStringLiteral("Morvane"), MB_OK), IDOK);

    for (unsigned type : {unsigned(MB_YESNO), unsigned(MB_ABORTRETRYIGNORE)}) {
        bool openAfterEscape = false;
        driver.next([&](QWidget* window) {
            auto* box = qobject_cast<QMessageBox*>(window);
            ASSERT_NE(box, nullptr);
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : window, Qt::Key_Escape);
            openAfterEscape = box->isVisible();
            EXPECT_FALSE(box->windowFlags() & Qt::WindowCloseButtonHint) << "a close box would escape it";
            QTest::mouseClick(box->button(type == MB_YESNO ? QMessageBox::No : QMessageBox::Ignore), Qt::LeftButton);
        });
        const int answer = MessageBox(nullptr, QStringLiteral("Replace it?"), QStringLiteral("Morvane"), type);
        EXPECT_TRUE(openAfterEscape) << type;
        EXPECT_EQ(answer, type == MB_YESNO ? IDNO : IDIGNORE);
    }
}
