// VariantChangeType: what converts into what, what overflows and what has no value of a type.
#include "scoped_registry.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

using comrt_test::Bstr;

namespace {

VARIANT make(VARTYPE vt) {
    VARIANT v;
    VariantInit(&v);
    v.vt = vt;
    return v;
}
VARIANT boolean(bool value) {
    VARIANT v = make(VT_BOOL);
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}
VARIANT integer(VARTYPE vt, std::int64_t value) {
    VARIANT v = make(vt);
    v.llVal = 0;
    switch (vt) {
        case VT_I1: v.cVal = static_cast<CHAR>(value); break;
        case VT_UI1: v.bVal = static_cast<BYTE>(value); break;
        case VT_I2: v.iVal = static_cast<SHORT>(value); break;
        case VT_UI2: v.uiVal = static_cast<USHORT>(value); break;
        case VT_I4: v.lVal = static_cast<LONG>(value); break;
        case VT_UI4: v.ulVal = static_cast<ULONG>(value); break;
        case VT_INT: v.intVal = static_cast<INT>(value); break;
        case VT_UINT: v.uintVal = static_cast<UINT>(value); break;
        default: v.llVal = value; break;
    }
    return v;
}
VARIANT real(double value) {
    VARIANT v = make(VT_R8);
    v.dblVal = value;
    return v;
}

// The converted value as one comparable number (true = -1), or the failure code.
struct Outcome {
    HRESULT hr;
    double value;
};
Outcome convert(const VARIANT& source, VARTYPE vt) {
    VARIANT out;
    VariantInit(&out);
    const HRESULT hr = VariantChangeType(&out, &source, 0, vt);
    double value = 0;
    if (SUCCEEDED(hr)) {
        EXPECT_EQ(out.vt, vt);
        switch (vt) {
            case VT_BOOL: value = out.boolVal; break;
            case VT_I1: value = out.cVal; break;
            case VT_UI1: value = out.bVal; break;
            case VT_I2: value = out.iVal; break;
            case VT_UI2: value = out.uiVal; break;
            case VT_I4: value = out.lVal; break;
            case VT_UI4: value = out.ulVal; break;
            case VT_I8: value = static_cast<double>(out.llVal); break;
            case VT_UI8: value = static_cast<double>(static_cast<std::uint64_t>(out.llVal)); break;
            case VT_R4: value = out.fltVal; break;
            case VT_R8: value = out.dblVal; break;
            default: break;
        }
    }
    VariantClear(&out);
    return {hr, value};
}

std::u16string text(const VARIANT& source, HRESULT* hr = nullptr) {
    VARIANT out;
    VariantInit(&out);
    const HRESULT result = VariantChangeType(&out, &source, 0, VT_BSTR);
    if (hr != nullptr) *hr = result;
    std::u16string s = out.vt == VT_BSTR && out.bstrVal != nullptr ? std::u16string(out.bstrVal) : u"";
    VariantClear(&out);
    return s;
}

TEST(VariantChangeType, NumbersAndBooleansConvertWithinRangeAndOverflowOutside) {
    Bstr oneAndHalf(u" 1.5 ");
    Bstr big(u"1e400");
    VARIANT halfText = make(VT_BSTR);
    halfText.bstrVal = oneAndHalf.get();
    VARIANT hugeText = make(VT_BSTR);
    hugeText.bstrVal = big.get();
    struct Row {
        const char* label;
        VARIANT source;
        VARTYPE target;
        HRESULT hr;
        double value;
    } rows[] = {
        {"true to UI1 is all ones", boolean(true), VT_UI1, S_OK, 255},
        {"true to UI4", boolean(true), VT_UI4, S_OK, 4294967295.0},
        {"true to I2", boolean(true), VT_I2, S_OK, -1},
        {"true to R8", boolean(true), VT_R8, S_OK, -1},
        {"false to UI1", boolean(false), VT_UI1, S_OK, 0},
        {"I4 to BOOL", integer(VT_I4, 7), VT_BOOL, S_OK, VARIANT_TRUE},
        {"R8 0 to BOOL", real(0), VT_BOOL, S_OK, VARIANT_FALSE},
        {"UI1 255 to I1", integer(VT_UI1, 255), VT_I1, DISP_E_OVERFLOW, 0},
        {"I4 255 to UI1", integer(VT_I4, 255), VT_UI1, S_OK, 255},
        {"I4 256 to UI1", integer(VT_I4, 256), VT_UI1, DISP_E_OVERFLOW, 0},
        {"I4 -1 to UI1", integer(VT_I4, -1), VT_UI1, DISP_E_OVERFLOW, 0},
        {"I2 -32768 to I2", integer(VT_I2, -32768), VT_I2, S_OK, -32768},
        {"I4 32768 to I2", integer(VT_I4, 32768), VT_I2, DISP_E_OVERFLOW, 0},
        {"UI4 max to I4", integer(VT_UI4, 4294967295LL), VT_I4, DISP_E_OVERFLOW, 0},
        {"UI4 max to I8", integer(VT_UI4, 4294967295LL), VT_I8, S_OK, 4294967295.0},
        {"I8 to UI8 negative", integer(VT_I8, -5), VT_UI8, DISP_E_OVERFLOW, 0},
        {"INT to R4", integer(VT_INT, 3), VT_R4, S_OK, 3},
        {"UINT to I2", integer(VT_UINT, 40000), VT_I2, DISP_E_OVERFLOW, 0},
        {"R8 2.5 to I4 rounds to even", real(2.5), VT_I4, S_OK, 2},
        {"R8 3.5 to I4 rounds to even", real(3.5), VT_I4, S_OK, 4},
        {"R8 -2.6 to I2", real(-2.6), VT_I2, S_OK, -3},
        {"R8 255.4 to UI1", real(255.4), VT_UI1, S_OK, 255},
        {"R8 255.5 to UI1", real(255.5), VT_UI1, DISP_E_OVERFLOW, 0},
        {"R8 NaN to I4", real(std::nan("")), VT_I4, DISP_E_OVERFLOW, 0},
        {"R8 1e39 to R4", real(1e39), VT_R4, DISP_E_OVERFLOW, 0},
        {"EMPTY to I4", make(VT_EMPTY), VT_I4, S_OK, 0},
        {"NULL to I4", make(VT_NULL), VT_I4, DISP_E_TYPEMISMATCH, 0},
        {"ERROR to I4", make(VT_ERROR), VT_I4, DISP_E_TYPEMISMATCH, 0},
        {"UNKNOWN to R8", make(VT_UNKNOWN), VT_R8, DISP_E_TYPEMISMATCH, 0},
        {"text 1.5 to R8", halfText, VT_R8, S_OK, 1.5},
        {"text 1.5 to I4", halfText, VT_I4, S_OK, 2},
        {"text 1e400 to R8", hugeText, VT_R8, DISP_E_OVERFLOW, 0},
    };
    for (const Row& row : rows) {
        const Outcome got = convert(row.source, row.target);
        EXPECT_EQ(got.hr, row.hr) << row.label;
        if (SUCCEEDED(row.hr)) {
            EXPECT_EQ(got.value, row.value) << row.label;
        }
    }
}

TEST(VariantChangeType, TextIsReadAndWrittenWithADecimalPointWhateverTheLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    const bool comma = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;  // where installed
    for (const char16_t* bad : {u"", u"  ", u"1,5", u"12abc", u"0x10", u"inf", u"nan", u"--1", u"yes"}) {
        Bstr s(bad);
        VARIANT v = make(VT_BSTR);
        v.bstrVal = s.get();
        EXPECT_EQ(convert(v, VT_R8).hr, DISP_E_TYPEMISMATCH) << std::string(bad, bad + std::u16string(bad).size());
    }
    Bstr yes(u"TRUE");
    VARIANT word = make(VT_BSTR);
    word.bstrVal = yes.get();
    EXPECT_EQ(convert(word, VT_BOOL).value, VARIANT_TRUE);
    EXPECT_EQ(convert(word, VT_I4).hr, DISP_E_TYPEMISMATCH) << "only a boolean reads a word";
    const std::u16string longDigits(401, u'1');
    Bstr tooLong(longDigits.c_str());
    VARIANT digits = make(VT_BSTR);
    digits.bstrVal = tooLong.get();
    EXPECT_EQ(convert(digits, VT_R8).hr, DISP_E_TYPEMISMATCH) << "longer than any number";

    EXPECT_EQ(text(real(0.1)), u"0.1");
    EXPECT_EQ(text(real(-1234567.25)), u"-1234567.25");
    EXPECT_EQ(text(real(1e20)), u"1E+20");
    EXPECT_EQ(text(real(1.0 / 3)), u"0.333333333333333") << "fifteen significant digits";
    EXPECT_EQ(text(integer(VT_UI8, -1)), u"18446744073709551615");
    EXPECT_EQ(text(integer(VT_I1, -128)), u"-128");
    EXPECT_EQ(text(boolean(true)), u"True");
    EXPECT_EQ(text(make(VT_EMPTY)), u"");
    HRESULT hr = S_OK;
    text(make(VT_NULL), &hr);
    EXPECT_EQ(hr, DISP_E_TYPEMISMATCH);
    std::setlocale(LC_ALL, saved.c_str());
    if (!comma) GTEST_LOG_(INFO) << "no decimal-comma locale installed: read in the C locale only";
}

TEST(VariantChangeType, ReferencesAreReadAndTheDestinationMayBeTheSource) {
    double d = 41.6;
    VARIANT byRef = make(VT_R8 | VT_BYREF);
    byRef.pdblVal = &d;
    EXPECT_EQ(convert(byRef, VT_I4).value, 42);
    VARIANT held = integer(VT_I2, 7);
    VARIANT throughVariant = make(VT_VARIANT | VT_BYREF);
    throughVariant.pvarVal = &held;
    EXPECT_EQ(convert(throughVariant, VT_R8).value, 7);

    VARIANT inPlace = make(VT_BSTR);
    inPlace.bstrVal = SysAllocString(u"12");
    ASSERT_EQ(VariantChangeType(&inPlace, &inPlace, 0, VT_I2), S_OK) << "the old string is freed once";
    EXPECT_EQ(inPlace.vt, VT_I2);
    EXPECT_EQ(inPlace.iVal, 12);
    ASSERT_EQ(VariantChangeType(&inPlace, &inPlace, 0, VT_BSTR), S_OK);
    EXPECT_EQ(std::u16string(inPlace.bstrVal), u"12");
    VariantClear(&inPlace);

    VARIANT untouched = integer(VT_I4, 5);
    EXPECT_EQ(VariantChangeType(&untouched, &held, 0, VT_I4 | VT_BYREF), DISP_E_BADVARTYPE);
    EXPECT_EQ(untouched.lVal, 5) << "a failed conversion leaves the destination";
}

}  // namespace
