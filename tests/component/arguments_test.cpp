// Arguments and results at the interface: wide strings in, strings and arrays out.
#include "component_fixture.h"

#include <comrt/faults.h>

#include <cmath>

namespace component_test {
namespace {

class Arguments : public ComponentTest {
protected:
    void SetUp() override {
        ComponentTest::SetUp();
        createLoaded(morvane, database);
    }
    std::vector<std::int16_t> dimensions(const char16_t* quantity) {
        SAFEARRAY* vector = nullptr;
        EXPECT_EQ(database->Quantity_DimVector(Bstr(quantity).get(), &vector), S_OK);
        std::vector<std::int16_t> values;
        if (vector == nullptr) return values;
        VARTYPE vt = VT_EMPTY;
        SafeArrayGetVartype(vector, &vt);
        EXPECT_EQ(vt, VT_I2);
        const auto* data = static_cast<const std::int16_t*>(vector->pvData);
        values.assign(data, data + vector->rgsabound[0].cElements);
        SafeArrayDestroy(vector);
        return values;
    }
    std::u16string symbolOf(const OLECHAR* unit) {
        Bstr symbol;
        EXPECT_EQ(database->Unit_Symbol(const_cast<OLECHAR*>(unit), symbol.put()), S_OK);
        return symbol.str();
    }

    Ref<IMorvane> morvane;
    Ref<IUnitDatabase> database;
};

TEST_F(Arguments, PlainTerminatedBuffersAreReadUpToTheirZero) {
    // No length prefix in front: reading one would run off the start of the buffer.
    OLECHAR from[] = {u'k', u'm', 0};
    OLECHAR to[] = u"metre";
    double add = 1;
    double multiplyBy = 0;
    ASSERT_EQ(morvane->UnitExpression_Convert(from, to, &add, &multiplyBy), S_OK);
    EXPECT_EQ(multiplyBy, 1000.0);
    EXPECT_EQ(add, 0.0);
    EXPECT_EQ(symbolOf(u"hour"), u"h");

    // A counted string with a zero inside is read up to that zero too.
    const OLECHAR withZero[] = {u'm', 0, u'x'};
    BSTR counted = SysAllocStringLen(withZero, 3);
    Bstr symbol;
    EXPECT_EQ(database->Unit_Symbol(counted, symbol.put()), S_OK);
    EXPECT_EQ(symbol.str(), u"m");
    SysFreeString(counted);
}

TEST_F(Arguments, ANullStringIsTheEmptyString) {
    Bstr quantity;
    EXPECT_EQ(database->Unit_Quantity(nullptr, quantity.put()), static_cast<HRESULT>(0x8004020C));
    EXPECT_EQ(database->Unit_Add(nullptr, Bstr(u"Length").get()), static_cast<HRESULT>(0x80040218))
        << "an empty name is refused like any unacceptable one";
    ASSERT_EQ(database->Unit_Symbol_Replace(Bstr(u"metre").get(), nullptr), S_OK);
    EXPECT_EQ(symbolOf(u"metre"), u"");
}

TEST_F(Arguments, TextOutsideAsciiAndLoneSurrogatesSurvive) {
    const OLECHAR degree[] = u"Grad°Ω\U0001D11E";
    ASSERT_EQ(database->Unit_Add(const_cast<OLECHAR*>(degree), Bstr(u"Angle").get()), S_OK);
    EXPECT_EQ(symbolOf(degree), u"");
    ASSERT_EQ(database->Unit_Symbol_Replace(const_cast<OLECHAR*>(degree), const_cast<OLECHAR*>(u"°")), S_OK);
    EXPECT_EQ(symbolOf(u"GRAD°Ω\U0001D11E"), u"°") << "ASCII letters fold, the rest stays";

    const OLECHAR lone[] = {u'x', 0xD800, u'y', 0};
    ASSERT_EQ(database->Unit_Add(const_cast<OLECHAR*>(lone), Bstr(u"Angle").get()), S_OK);
    SAFEARRAY* units = nullptr;
    ASSERT_EQ(database->Quantity_Unit_Set(Bstr(u"Angle").get(), &units), S_OK);
    EXPECT_EQ(takeStrings(units), (std::vector<std::u16string>{u"Grad°Ω\U0001D11E", u"x\uFFFDy"}))
        << "a lone surrogate becomes U+FFFD";
}

TEST_F(Arguments, ListsComeBackAsStringArraysFromIndexZeroInKeyOrder) {
    SAFEARRAY* array = nullptr;
    ASSERT_EQ(database->Unit_Set(&array), S_OK);
    VARTYPE vt = VT_EMPTY;
    ASSERT_EQ(SafeArrayGetVartype(array, &vt), S_OK);
    EXPECT_EQ(vt, VT_BSTR);
    EXPECT_EQ(takeStrings(array),
              (std::vector<std::u16string>{u"foot", u"hour", u"kilometre", u"metre", u"second"}));
    ASSERT_EQ(database->Unit_Synonym_Set(Bstr(u"M").get(), &array), S_OK);
    EXPECT_EQ(takeStrings(array), (std::vector<std::u16string>{u"m", u"Meter"}));
    ASSERT_EQ(database->UnitSystem_Set(&array), S_OK);
    EXPECT_EQ(takeStrings(array), (std::vector<std::u16string>{u"English", u"SI"}));
    ASSERT_EQ(database->Quantity_Synonym_Set(Bstr(u"Time").get(), &array), S_OK);
    EXPECT_TRUE(takeStrings(array).empty()) << "an empty list is an array of 0 elements";
    EXPECT_EQ(dimensions(u"Velocity"), (std::vector<std::int16_t>{0, 1, -1, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(Arguments, ScalarAndStringResultsReadBack) {
    double factor = 0;
    ASSERT_EQ(database->Unit_ConversionFactor(Bstr(u"ft").get(), &factor), S_OK);
    EXPECT_EQ(factor, 0.3048);
    Bstr text;
    ASSERT_EQ(database->Unit_Quantity(Bstr(u"KM").get(), text.put()), S_OK);
    EXPECT_EQ(text.str(), u"Length");
    ASSERT_EQ(database->UnitSystem_PrefUnit(Bstr(u"english").get(), Bstr(u"Time").get(), text.put()), S_OK);
    EXPECT_EQ(text.str(), u"hour");
    ASSERT_EQ(database->Quantity_Expression(Bstr(u"velocity").get(), text.put()), S_OK);
    EXPECT_EQ(text.str(), u"Length/Time");
    double add = 0;
    double multiplyBy = 0;
    ASSERT_EQ(morvane->QuantityExpression_Convert(Bstr(u"SI").get(), Bstr(u"English").get(),
                                                  Bstr(u"Velocity").get(), &add, &multiplyBy),
              S_OK);
    EXPECT_NEAR(multiplyBy, 3600 / 0.3048, 1e-9 * multiplyBy);
    ASSERT_EQ(morvane->QuantityExpression_Symbol(Bstr(u"English").get(), Bstr(u"Velocity").get(), text.put()), S_OK);
    EXPECT_EQ(text.str(), u"ft/h");
}

TEST_F(Arguments, ADimensionVectorReplacesAsManyExponentsAsItHas) {
    SAFEARRAY* three = SafeArrayCreateVector(VT_I2, 0, 3);
    auto* data = static_cast<SHORT*>(three->pvData);
    data[0] = 2;
    data[1] = -1;
    data[2] = 3;
    ASSERT_EQ(database->Quantity_DimVector_Replace(Bstr(u"Angle").get(), three), S_OK);
    EXPECT_EQ(dimensions(u"Angle"), (std::vector<std::int16_t>{2, -1, 3, 0, 0, 0, 0, 1, 0, 0}));
    SafeArrayDestroy(three);

    SAFEARRAY* twelve = SafeArrayCreateVector(VT_I2, 5, 12);  // lower bound 5: still the first ten
    for (int i = 0; i < 12; ++i) static_cast<SHORT*>(twelve->pvData)[i] = static_cast<SHORT>(i + 1);
    ASSERT_EQ(database->Quantity_DimVector_Replace(Bstr(u"Angle").get(), twelve), S_OK);
    EXPECT_EQ(dimensions(u"Angle"), (std::vector<std::int16_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    SafeArrayDestroy(twelve);
}

TEST_F(Arguments, AnArrayOfTheWrongElementTypeIsRefusedUnread) {
    SAFEARRAY* strings = SafeArrayCreateVector(VT_BSTR, 0, 10);
    SetErrorInfo(0, nullptr);
    EXPECT_EQ(database->Quantity_DimVector_Replace(Bstr(u"Length").get(), strings), E_INVALIDARG);
    EXPECT_FALSE(takePosted().present) << "not an engine failure: nothing to describe";
    EXPECT_EQ(dimensions(u"Length"), (std::vector<std::int16_t>{0, 1, 0, 0, 0, 0, 0, 0, 0, 0}));
    // The lookup still comes first.
    EXPECT_EQ(database->Quantity_DimVector_Replace(Bstr(u"Mass").get(), strings), static_cast<HRESULT>(0x80040212));
    EXPECT_EQ(database->Quantity_DimVector_Replace(Bstr(u"Velocity").get(), strings),
              static_cast<HRESULT>(0x80040215));
    SafeArrayDestroy(strings);
}

TEST_F(Arguments, RunningOutOfMemoryForAResultIsReportedWithoutADescription) {
    SetErrorInfo(0, nullptr);
    SAFEARRAY* array = nullptr;
    comrt::FailAllocationAfter(0);
    EXPECT_EQ(database->Unit_Set(&array), E_OUTOFMEMORY) << "the array";
    comrt::FailAllocationAfter(3);  // the array, its data and the first string are made
    EXPECT_EQ(database->Unit_Set(&array), E_OUTOFMEMORY) << "the second string";
    Bstr unit(u"m");
    Bstr text;
    comrt::FailAllocationAfter(0);
    EXPECT_EQ(database->Unit_Quantity(unit.get(), text.put()), E_OUTOFMEMORY);
    comrt::FailAllocationAfter(-1);
    EXPECT_EQ(array, nullptr);
    EXPECT_EQ(text.get(), nullptr);
    EXPECT_FALSE(takePosted().present);
    ASSERT_EQ(database->Unit_Set(&array), S_OK);
    EXPECT_EQ(takeStrings(array).size(), 5u);
}

TEST_F(Arguments, WithoutMemoryForTheDescriptionTheCodeStillComesBack) {
    Bstr unit(u"furlong");
    Bstr text;
    comrt::FailAllocationAfter(0);  // the message string
    EXPECT_EQ(database->Unit_Quantity(unit.get(), text.put()), static_cast<HRESULT>(0x8004020C));
    comrt::FailAllocationAfter(-1);
    const Posted posted = takePosted();
    EXPECT_TRUE(posted.present);
    EXPECT_EQ(posted.description, u"") << "posted without text";
    comrt::FailAllocationAfter(1);  // the message succeeds, the error object does not
    EXPECT_EQ(database->Unit_Quantity(unit.get(), text.put()), static_cast<HRESULT>(0x8004020C));
    comrt::FailAllocationAfter(-1);
    EXPECT_FALSE(takePosted().present);
}

}  // namespace
}  // namespace component_test
