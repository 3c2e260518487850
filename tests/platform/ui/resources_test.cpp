#include <kestrum/ui/dialog.h>
#include <kestrum/ui/resources.h>

#include <gtest/gtest.h>

#include <memory>

using namespace kestrum::ui;

namespace {

// A library's module linked for one test.
struct LinkedModule {
    explicit LinkedModule(const QString& name) : module(name) { AfxInitExtensionModule(&module); }
    ~LinkedModule() { AfxTermExtensionModule(&module); }
    ResourceModule module;
};

}  // namespace

TEST(Resources, StringsComeFromTheResourceHandleThenTheProgramThenLibraries) {
    ResourceModule::application().addString(1000, QStringLiteral("Length 2"));
    LinkedModule library(QStringLiteral("library"));
    library.module.addString(1000, QStringLiteral("library's own"));
    library.module.addString(7000, QStringLiteral("only in the library"));

    QString text = QStringLiteral("left over");
    EXPECT_TRUE(AfxLoadString(1000, text));
    EXPECT_EQ(text, QStringLiteral("Length 2"));
    EXPECT_TRUE(AfxLoadString(7000, text));
    EXPECT_EQ(text, QStringLiteral("only in the library"));
    {
        ResourceScope scope(&library.module);
        EXPECT_EQ(AfxGetResourceHandle(), &library.module);
        EXPECT_TRUE(AfxLoadString(1000, text));
        EXPECT_EQ(text, QStringLiteral("library's own"));
    }
    EXPECT_EQ(AfxGetResourceHandle(), AfxGetInstanceHandle());
    EXPECT_TRUE(AfxLoadString(1000, text));
    EXPECT_EQ(text, QStringLiteral("Length 2"));

    text = QStringLiteral("left over");
    EXPECT_FALSE(AfxLoadString(424242, text));
    EXPECT_TRUE(text.isEmpty());
}

TEST(Resources, AnUnlinkedOrDestroyedModuleIsNoLongerSearched) {
    auto module = std::make_unique<ResourceModule>(QStringLiteral("transient"));
    module->addString(7100, QStringLiteral("transient text"));
    AfxInitExtensionModule(module.get());
    QString text;
    EXPECT_TRUE(AfxLoadString(7100, text));
    AfxTermExtensionModule(module.get());
    EXPECT_FALSE(AfxLoadString(7100, text));

    AfxSetResourceHandle(module.get());
    EXPECT_TRUE(AfxLoadString(7100, text));
    module.reset();
    EXPECT_EQ(AfxGetResourceHandle(), AfxGetInstanceHandle());
    EXPECT_FALSE(AfxLoadString(7100, text));
}

TEST(Resources, ADialogTakesItsTemplateFromTheResourceHandleWhenCreated) {
    ResourceModule::application().addDialog(DialogTemplate{.id = 9010, .caption = QStringLiteral("Host's"), .cx = 50, .cy = 20});
    LinkedModule library(QStringLiteral("library"));
    library.module.addDialog(DialogTemplate{.id = 9010, .caption = QStringLiteral("Library's"), .cx = 60, .cy = 30});
    library.module.addDialog(DialogTemplate{.id = 9011, .caption = QStringLiteral("Library only"), .cx = 60, .cy = 30});

    CDialog host(9010);
    ASSERT_TRUE(host.Create());
    EXPECT_EQ(host.windowTitle(), QStringLiteral("Host's"));

    CDialog own(9010);
    {
        ResourceScope scope(&library.module);
        ASSERT_TRUE(own.Create());
    }
    EXPECT_EQ(own.windowTitle(), QStringLiteral("Library's"));

    CDialog found(9011);
    ASSERT_TRUE(found.Create());
    EXPECT_EQ(found.windowTitle(), QStringLiteral("Library only"));

    CDialog missing(9999);
    EXPECT_FALSE(missing.Create());
    EXPECT_EQ(missing.DoModal(), -1);
}

TEST(Resources, IconsAndMenusAreFoundByIdentifier) {
    LinkedModule library(QStringLiteral("library"));
    QPixmap red(16, 16);
    red.fill(Qt::red);
    library.module.addIcon(128, QIcon(red));
    library.module.addMenu(103, {POPUP(QString(), {MENUITEM(QStringLiteral("Add"), 32771)})});
    EXPECT_FALSE(findIcon(128).isNull());
    EXPECT_TRUE(findIcon(129).isNull());
    ASSERT_NE(findMenu(103), nullptr);
    EXPECT_EQ(findMenu(103)->front().items.front().id, 32771);
    EXPECT_EQ(findMenu(104), nullptr);
}
