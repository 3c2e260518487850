// The owning helpers: each gives back exactly once what it holds, whichever way it leaves
// (scope end, put, reset, a move), and gives nothing back that it handed on.
#include <comrt/comrt.h>
#include <comrt/owned.h>

#include "scoped_registry.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

// An object that counts the references given back to it.
class Counted : public IUnknown {
public:
    HRESULT QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++refs; }
    ULONG Release() override {
        ++released;
        return --refs;
    }
    ULONG refs = 1;
    int released = 0;
};

TEST(InterfacePtr, ReleasesOnceAtScopeEndAndAfterEveryWayOfLettingGo) {
    Counted a;
    { const comrt::InterfacePtr<Counted> p(&a); }
    EXPECT_EQ(a.released, 1);

    Counted b, c;
    {
        comrt::InterfacePtr<Counted> p(&b);
        *p.put() = &c;  // an out-parameter filled into a helper that held b
        EXPECT_EQ(b.released, 1) << "put() gives back what was held";
        EXPECT_EQ(p.get(), &c);
        EXPECT_EQ(c.released, 0);
    }
    EXPECT_EQ(c.released, 1);

    Counted d;
    {
        comrt::InterfacePtr<Counted> p(&d);
        p.reset();
        EXPECT_FALSE(p);
        p.reset();
    }
    EXPECT_EQ(d.released, 1) << "reset twice and scope end: released once";
}

TEST(InterfacePtr, AMoveHandsTheReferenceOnAndReleaseGivesItAway) {
    Counted a, b;
    {
        comrt::InterfacePtr<Counted> first(&a);
        comrt::InterfacePtr<Counted> second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(second.get(), &a);
        comrt::InterfacePtr<Counted> third(&b);
        third = std::move(second);
        EXPECT_EQ(b.released, 1) << "the assigned-to helper gives back its own first";
        EXPECT_EQ(a.released, 0);
        third = std::move(third);
        EXPECT_EQ(third.get(), &a) << "a move onto itself keeps the reference";
    }
    EXPECT_EQ(a.released, 1);

    Counted c;
    Counted* handed = nullptr;
    {
        comrt::InterfacePtr<Counted> p(&c);
        handed = p.release();
    }
    EXPECT_EQ(handed, &c);
    EXPECT_EQ(c.released, 0) << "what was handed on is the new owner's to release";
}

TEST(InterfacePtr, FillsAnActivationsOutParameter) {
    const comrt_test::ScopedRegistry registry;  // an empty registry: the class is not there
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    comrt::InterfacePtr<IUnknown> p;
    EXPECT_NE(CoCreateInstance(CLSID{}, nullptr, comrt::kClassContextLocal, IID_IUnknown, p.putVoid()), S_OK);
    EXPECT_FALSE(p) << "a failed activation leaves nothing to release";
    CoUninitialize();
}

TEST(OwnedBstr, CopiesAdoptsAndHandsOn) {
    const comrt::OwnedBstr copy(u"metre");
    EXPECT_EQ(copy.str(), u"metre");
    EXPECT_EQ(comrt::OwnedBstr().str(), u"");
    EXPECT_FALSE(comrt::OwnedBstr(nullptr));

    comrt::OwnedBstr adopted = comrt::OwnedBstr::Adopt(SysAllocString(u"foot"));
    EXPECT_EQ(adopted.str(), u"foot");
    comrt::OwnedBstr moved(std::move(adopted));
    EXPECT_FALSE(adopted);
    EXPECT_EQ(moved.str(), u"foot");
    BSTR out = moved.release();
    EXPECT_FALSE(moved);
    EXPECT_EQ(SysStringLen(out), 4u);
    SysFreeString(out);

    comrt::OwnedBstr filled;
    *filled.put() = SysAllocString(u"inch");
    *filled.put() = SysAllocString(u"yard");  // the first is freed, not leaked
    EXPECT_EQ(filled.str(), u"yard");
}

TEST(OwnedSafeArray, HoldsAnArrayUntilHandedOn) {
    comrt::OwnedSafeArray array(SafeArrayCreateVector(VT_I2, 0, 3));
    ASSERT_TRUE(array);
    LONG upper = -1;
    EXPECT_EQ(SafeArrayGetUBound(array.get(), 1, &upper), S_OK);
    EXPECT_EQ(upper, 2);
    comrt::OwnedSafeArray other = std::move(array);
    EXPECT_FALSE(array);
    SAFEARRAY* out = other.release();
    EXPECT_FALSE(other);
    EXPECT_EQ(SafeArrayDestroy(out), S_OK);
}

TEST(Constants, TheClassContextAndLocaleAreThoseClientsHaveAlwaysPassed) {
    EXPECT_EQ(comrt::kClassContextLocal, 7u);
    EXPECT_EQ(comrt::kLocaleEnglishUS, 0x409u);
}

}  // namespace
