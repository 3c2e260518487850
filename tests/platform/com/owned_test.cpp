// The owning helpers: each gives back exactly once what it holds, whichever way it leaves
// (scope end, put, reset, a move), and gives nothing back that it handed on.
#include <comrt/comrt.h>
#include <comrt/owned.h>

#include "scoped_registry.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

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

TEST(InterfacePtr, RetainAddsOneReferenceOfItsOwn) {
    Counted a;
    {
        const auto p = comrt::InterfacePtr<Counted>::Retain(&a);
        EXPECT_EQ(p.get(), &a);
        EXPECT_EQ(a.refs, 2u) << "the owner's reference and the helper's";
    }
    EXPECT_EQ(a.refs, 1u) << "the owner's reference is left alone";
    EXPECT_EQ(a.released, 1);
    EXPECT_FALSE(comrt::InterfacePtr<Counted>::Retain(nullptr));
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

TEST(OwnedBstr, CountedKeepsTheWholeTextNulsIncluded) {
    const std::u16string withZero(u"m\0x", 3);
    const auto counted = comrt::OwnedBstr::Counted(withZero);
    EXPECT_EQ(SysStringLen(counted.get()), 3u);
    EXPECT_EQ(counted.str(), withZero);
    EXPECT_EQ(comrt::OwnedBstr(withZero.c_str()).str(), u"m") << "a plain pointer is read to its zero";
    const auto empty = comrt::OwnedBstr::Counted(u"");
    ASSERT_TRUE(empty) << "an empty text is an empty string, not a null one";
    EXPECT_EQ(SysStringLen(empty.get()), 0u);
}

TEST(ForEachElement, VisitsEveryElementInIndexOrderFromTheLowerBound) {
    SAFEARRAYBOUND bound{3, 5};  // indices 5, 6, 7
    comrt::OwnedSafeArray names(SafeArrayCreate(VT_BSTR, 1, &bound));
    ASSERT_TRUE(names);
    const char16_t* texts[] = {u"metre", u"", u"foot"};
    for (LONG i = 0; i < 3; ++i) {
        LONG index = 5 + i;
        const comrt::OwnedBstr text(texts[i]);
        ASSERT_EQ(SafeArrayPutElement(names.get(), &index, text.get()), S_OK);
    }
    std::vector<std::u16string> seen;
    comrt::ForEachElement<comrt::OwnedBstr>(names.get(), [&](const comrt::OwnedBstr& name) { seen.push_back(name.str()); });
    EXPECT_EQ(seen, (std::vector<std::u16string>{u"metre", u"", u"foot"}));
    LONG first = 5;
    BSTR stored = nullptr;
    ASSERT_EQ(SafeArrayGetElement(names.get(), &first, &stored), S_OK);
    EXPECT_EQ(std::u16string(stored), u"metre") << "the array keeps its own strings";
    SysFreeString(stored);

    comrt::OwnedSafeArray exponents(SafeArrayCreateVector(VT_I2, 0, 2));
    ASSERT_TRUE(exponents);
    SHORT values[] = {-3, 2};
    for (LONG i = 0; i < 2; ++i) ASSERT_EQ(SafeArrayPutElement(exponents.get(), &i, &values[i]), S_OK);
    std::vector<SHORT> read;
    comrt::ForEachElement<SHORT>(exponents.get(), [&](SHORT value) { read.push_back(value); });
    EXPECT_EQ(read, (std::vector<SHORT>{-3, 2}));

    int calls = 0;
    comrt::ForEachElement<SHORT>(nullptr, [&](SHORT) { ++calls; });
    comrt::OwnedSafeArray none(SafeArrayCreateVector(VT_I2, 0, 0));
    comrt::ForEachElement<SHORT>(none.get(), [&](SHORT) { ++calls; });
    EXPECT_EQ(calls, 0) << "a null or empty array has no elements";
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
