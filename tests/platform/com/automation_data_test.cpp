// Counted strings, safe arrays and variants.
#include "scoped_registry.h"

#include <comrt/faults.h>

#include <gtest/gtest.h>

using comrt_test::Bstr;

namespace {

std::u16string contents(BSTR s) {
    return std::u16string(s, SysStringLen(s));
}

TEST(CountedStrings, LengthIsTheCopiedCharactersZerosIncluded) {
    const char16_t text[] = {u'a', 0, u'b'};
    BSTR s = SysAllocStringLen(text, 3);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(SysStringLen(s), 3u);
    EXPECT_EQ(SysStringByteLen(s), 6u);
    EXPECT_EQ(s[3], 0) << "terminated after the counted characters";
    EXPECT_EQ(contents(s), std::u16string(text, 3));
    SysFreeString(s);

    Bstr plain(u"ab\0cd");
    EXPECT_EQ(plain.str(), u"ab") << "SysAllocString stops at the first zero";
}

TEST(CountedStrings, NullIsTheEmptyStringEverywhere) {
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    EXPECT_EQ(SysStringByteLen(nullptr), 0u);
    SysFreeString(nullptr);
    BSTR zeros = SysAllocStringLen(nullptr, 4);
    ASSERT_NE(zeros, nullptr);
    EXPECT_EQ(contents(zeros), std::u16string(4, u'\0'));
    SysFreeString(zeros);
}

TEST(CountedStrings, ReallocationMayReadFromTheOldString) {
    BSTR s = SysAllocString(u"hello");
    ASSERT_EQ(SysReAllocString(&s, s + 2), 1);
    EXPECT_EQ(contents(s), u"llo");
    SysFreeString(s);
}

TEST(CountedStrings, AFailedAllocationGivesNullAndLaterOnesSucceed) {
    comrt::FailAllocationAfter(1);
    BSTR first = SysAllocString(u"one");
    BSTR second = SysAllocString(u"two");
    BSTR third = SysAllocString(u"three");
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(second, nullptr);
    EXPECT_NE(third, nullptr);
    SysFreeString(first);
    SysFreeString(third);
    comrt::FailAllocationAfter(-1);
}

TEST(SafeArrays, VectorBoundsFollowTheLowerBoundAndCount) {
    struct Row {
        LONG lower;
        ULONG count;
        LONG upper;
    } rows[] = {{0, 0, -1}, {0, 1, 0}, {0, 10, 9}, {5, 3, 7}, {-2, 4, 1}};
    for (const Row& r : rows) {
        SAFEARRAY* a = SafeArrayCreateVector(VT_I2, r.lower, r.count);
        ASSERT_NE(a, nullptr);
        LONG lower = 99;
        LONG upper = 99;
        EXPECT_EQ(SafeArrayGetLBound(a, 1, &lower), S_OK);
        EXPECT_EQ(SafeArrayGetUBound(a, 1, &upper), S_OK);
        EXPECT_EQ(lower, r.lower);
        EXPECT_EQ(upper, r.upper) << "lower " << r.lower << " count " << r.count;
        EXPECT_EQ(SafeArrayGetDim(a), 1u);
        EXPECT_EQ(SafeArrayGetUBound(a, 2, &upper), DISP_E_BADINDEX);
        EXPECT_EQ(SafeArrayDestroy(a), S_OK);
    }
}

TEST(SafeArrays, OnlyOneDimensionOfStringsOrShortsIsMade) {
    SAFEARRAYBOUND two[2] = {{2, 0}, {2, 0}};
    EXPECT_EQ(SafeArrayCreate(VT_I2, 2, two), nullptr);
    EXPECT_EQ(SafeArrayCreateVector(VT_R8, 0, 2), nullptr);
    EXPECT_EQ(SafeArrayCreateVector(VT_I4, 0, 2), nullptr);
    SAFEARRAY* strings = SafeArrayCreateVector(VT_BSTR, 0, 2);
    SAFEARRAY* shorts = SafeArrayCreateVector(VT_I2, 0, 2);
    VARTYPE vt = VT_EMPTY;
    EXPECT_EQ(SafeArrayGetVartype(strings, &vt), S_OK);
    EXPECT_EQ(vt, VT_BSTR);
    EXPECT_EQ(SafeArrayGetVartype(shorts, &vt), S_OK);
    EXPECT_EQ(vt, VT_I2);
    EXPECT_EQ(SafeArrayGetElemsize(shorts), sizeof(SHORT));
    SafeArrayDestroy(strings);
    SafeArrayDestroy(shorts);
}

TEST(SafeArrays, ElementsAreCopiedInAndOut) {
    SAFEARRAY* a = SafeArrayCreateVector(VT_BSTR, 1, 2);
    Bstr original(u"metre");
    LONG index = 2;
    ASSERT_EQ(SafeArrayPutElement(a, &index, original.get()), S_OK);
    EXPECT_NE(static_cast<BSTR*>(a->pvData)[1], original.get()) << "the array keeps its own copy";
    BSTR out = nullptr;
    ASSERT_EQ(SafeArrayGetElement(a, &index, &out), S_OK);
    EXPECT_EQ(contents(out), u"metre");
    SysFreeString(out);
    index = 3;
    EXPECT_EQ(SafeArrayPutElement(a, &index, original.get()), DISP_E_BADINDEX);
    index = 0;
    EXPECT_EQ(SafeArrayGetElement(a, &index, &out), DISP_E_BADINDEX);
    EXPECT_EQ(SafeArrayDestroy(a), S_OK) << "destroying frees the stored strings (the leak checker watches)";

    SAFEARRAY* shorts = SafeArrayCreateVector(VT_I2, 0, 3);
    SHORT value = -7;
    index = 2;
    ASSERT_EQ(SafeArrayPutElement(shorts, &index, &value), S_OK);
    SHORT* data = nullptr;
    ASSERT_EQ(SafeArrayAccessData(shorts, reinterpret_cast<void**>(&data)), S_OK);
    EXPECT_EQ(data[0], 0) << "new elements start at zero";
    EXPECT_EQ(data[2], -7);
    SafeArrayUnaccessData(shorts);
    SafeArrayDestroy(shorts);
}

TEST(SafeArrays, ALockedArrayIsNotDestroyed) {
    SAFEARRAY* a = SafeArrayCreateVector(VT_I2, 0, 1);
    void* data = nullptr;
    ASSERT_EQ(SafeArrayAccessData(a, &data), S_OK);
    EXPECT_EQ(SafeArrayDestroy(a), DISP_E_ARRAYISLOCKED);
    EXPECT_EQ(SafeArrayUnaccessData(a), S_OK);
    EXPECT_EQ(SafeArrayUnaccessData(a), E_UNEXPECTED) << "unlocking more than was locked";
    EXPECT_EQ(SafeArrayDestroy(a), S_OK);
}

TEST(SafeArrays, AllocationFailuresGiveNoArray) {
    comrt::FailAllocationAfter(0);
    EXPECT_EQ(SafeArrayCreateVector(VT_BSTR, 0, 3), nullptr) << "descriptor";
    comrt::FailAllocationAfter(1);
    EXPECT_EQ(SafeArrayCreateVector(VT_BSTR, 0, 3), nullptr) << "data";
    comrt::FailAllocationAfter(-1);
}

TEST(Variants, ClearFreesWhatTheVariantOwnsAndNothingElse) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(u"owned");
    EXPECT_EQ(VariantClear(&v), S_OK);
    EXPECT_EQ(v.vt, VT_EMPTY);

    v.vt = VT_ARRAY | VT_BSTR;
    v.parray = SafeArrayCreateVector(VT_BSTR, 0, 1);
    LONG zero = 0;
    Bstr element(u"inside");
    SafeArrayPutElement(v.parray, &zero, element.get());
    EXPECT_EQ(VariantClear(&v), S_OK);

    Bstr borrowed(u"borrowed");
    BSTR target = borrowed.get();
    v.vt = VT_BSTR | VT_BYREF;
    v.pbstrVal = &target;
    EXPECT_EQ(VariantClear(&v), S_OK);
    EXPECT_EQ(borrowed.str(), u"borrowed") << "a reference is not freed";
}

TEST(Variants, CopyIsDeep) {
    VARIANT source;
    VariantInit(&source);
    source.vt = VT_ARRAY | VT_I2;
    source.parray = SafeArrayCreateVector(VT_I2, 0, 2);
    static_cast<SHORT*>(source.parray->pvData)[1] = 42;
    VARIANT copy;
    VariantInit(&copy);
    ASSERT_EQ(VariantCopy(&copy, &source), S_OK);
    ASSERT_NE(copy.parray, source.parray);
    EXPECT_EQ(static_cast<SHORT*>(copy.parray->pvData)[1], 42);
    VariantClear(&source);

    source.vt = VT_BSTR;
    source.bstrVal = SysAllocString(u"text");
    ASSERT_EQ(VariantCopy(&copy, &source), S_OK) << "the old array in copy is freed";
    EXPECT_NE(copy.bstrVal, source.bstrVal);
    EXPECT_EQ(contents(copy.bstrVal), u"text");
    VariantClear(&source);
    VariantClear(&copy);
}

}  // namespace
