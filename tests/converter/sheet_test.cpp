// The sheet as a user meets it: every page reached by a click on its tab or from the keyboard
// shows all of its controls, painted.
#include "converter_fixture.h"

#include <kestrum/ui/resources.h>

#include <QImage>
#include <QSet>
#include <QTest>

using namespace converter_test;

namespace {

const int kPageTemplates[] = {IDD_DATABASE_FILE,     IDD_BY_QUANTITY,   IDD_BY_UNIT_SYSTEM,      IDD_BY_EXPRESSION,
                              IDD_QUANTITY_DATABASE, IDD_UNIT_DATABASE, IDD_UNIT_SYSTEM_DATABASE};

class Sheet : public ConverterTest {
protected:
    // The page's controls (its own child widgets) that are on screen, of `all` there are.
    int shownControls(const CPropertyPage* page, int* all = nullptr) {
        int shown = 0, count = 0;
        for (QObject* child : page->children()) {
            auto* control = qobject_cast<QWidget*>(child);
            if (!control || control->isWindow()) continue;
            ++count;
            if (control->isVisible() && !control->visibleRegion().isEmpty()) ++shown;
        }
        if (all) *all = count;
        return shown;
    }
    // What the page area shows, as pixels.
    QImage pagePixels(int index) {
        QWidget* page = m_sheet->GetPage(index);
        return page->grab().toImage();
    }
    void expectEveryControlShown(int index, const char* how) {
        const CPropertyPage* page = m_sheet->GetPage(index);
        ASSERT_TRUE(page->isVisible()) << how << " page " << index;
        const kestrum::ui::DialogTemplate* form = kestrum::ui::findDialog(kPageTemplates[index]);
        ASSERT_NE(form, nullptr);
        int all = 0;
        EXPECT_EQ(shownControls(page, &all), int(form->controls.size())) << how << " page " << index;
        EXPECT_EQ(all, int(form->controls.size())) << how << " page " << index;
    }
};

}  // namespace

TEST_F(Sheet, EveryTabClickedShowsAllOfItsPagesControls) {
    openSheet();
    ASSERT_EQ(m_sheet->GetPageCount(), 7);
    expectEveryControlShown(0, "at start");
    // Forwards, backwards, and every page a second time: a page's first showing and a later one.
    for (int index : {1, 2, 3, 4, 5, 6, 5, 4, 3, 2, 1, 0, 6, 0, 3}) {
        ASSERT_TRUE(clickTab(index)) << index;
        expectEveryControlShown(index, "clicked");
    }
}

TEST_F(Sheet, TheKeyboardWalksThePagesAndEachShowsItsControls) {
    openSheet();
    for (int index = 1; index < 7; ++index) {
        QTest::keyClick(m_sheet.get(), Qt::Key_Tab, Qt::ControlModifier);
        ASSERT_EQ(m_sheet->GetActiveIndex(), index);
        expectEveryControlShown(index, "Ctrl+Tab");
    }
    QTest::keyClick(m_sheet.get(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(m_sheet->GetActiveIndex(), 0) << "round to the first page";
    QTest::keyClick(m_sheet.get(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(m_sheet->GetActiveIndex(), 6);
    expectEveryControlShown(6, "Ctrl+Shift+Tab");
}

TEST_F(Sheet, EveryPageLooksDifferentAndNoneIsBlank) {
    openSheet();
    QSet<QByteArray> looks;
    for (int index = 0; index < 7; ++index) {
        if (index) {
            ASSERT_TRUE(clickTab(index));
        }
        const QImage pixels = pagePixels(index);
        QSet<QRgb> colours;
        for (int y = 0; y < pixels.height(); y += 2)
            for (int x = 0; x < pixels.width(); x += 2) colours.insert(pixels.pixel(x, y));
        EXPECT_GT(colours.size(), 8) << "page " << index << " is blank";
        looks.insert(QByteArray(reinterpret_cast<const char*>(pixels.constBits()), int(pixels.sizeInBytes())));
    }
    EXPECT_EQ(looks.size(), 7);
}
