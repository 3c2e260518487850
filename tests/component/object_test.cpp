// The component object: its faces, its independence from other objects, and the error
// descriptions its operations post.
#include "component_fixture.h"

#include <functional>

namespace component_test {
namespace {

using ObjectFaces = ComponentTest;

TEST_F(ObjectFaces, AFreshObjectAnswersEveryFaceAndIUnknownIsIMorvane) {
    Ref<IMorvane> morvane;
    ASSERT_EQ(create(IID_IMorvane, morvane), S_OK);
    Ref<IUnknown> unknown;
    Ref<IDispatch> dispatch;
    Ref<IUnitDatabase> database;
    Ref<ISupportErrorInfo> support;
    ASSERT_EQ(morvane->QueryInterface(IID_IUnknown, unknown.putVoid()), S_OK);
    ASSERT_EQ(morvane->QueryInterface(IID_IDispatch, dispatch.putVoid()), S_OK);
    ASSERT_EQ(morvane->QueryInterface(IID_IUnitDatabase, database.putVoid()), S_OK);
    ASSERT_EQ(morvane->QueryInterface(IID_ISupportErrorInfo, support.putVoid()), S_OK);
    EXPECT_EQ(static_cast<void*>(unknown.get()), static_cast<void*>(morvane.get()));
    EXPECT_EQ(static_cast<void*>(dispatch.get()), static_cast<void*>(morvane.get()));
    EXPECT_NE(static_cast<void*>(database.get()), static_cast<void*>(morvane.get()));

    // Every face answers the same way and leads back to the same identity.
    Ref<IUnknown> fromDatabase;
    Ref<IUnknown> fromSupport;
    ASSERT_EQ(database->QueryInterface(IID_IUnknown, fromDatabase.putVoid()), S_OK);
    ASSERT_EQ(support->QueryInterface(IID_IUnknown, fromSupport.putVoid()), S_OK);
    EXPECT_EQ(fromDatabase.get(), unknown.get());
    EXPECT_EQ(fromSupport.get(), unknown.get());
    Ref<IUnknown> none;
    EXPECT_EQ(support->QueryInterface(IID_IClassFactory, none.putVoid()), E_NOINTERFACE);
    EXPECT_EQ(none.get(), nullptr);
    EXPECT_EQ(morvane->QueryInterface(IID_IUnknown, nullptr), E_POINTER);

    for (const IID* iid : {&IID_IMorvane, &IID_IUnitDatabase, &IID_ITypeLib}) {
        EXPECT_EQ(support->InterfaceSupportsErrorInfo(*iid), S_OK);
    }
}

TEST_F(ObjectFaces, WithoutTheTypeLibraryOnlyIUnknownAndISupportErrorInfoAreAnswered) {
    ASSERT_EQ(UnRegisterTypeLib(LIBID_KestrumLib, 1, 0, 0x409, SYS_WIN32), S_OK);
    Ref<IUnknown> unknown;
    ASSERT_EQ(create(IID_IUnknown, unknown), S_OK);
    Ref<IUnknown> face;
    EXPECT_EQ(unknown->QueryInterface(IID_ISupportErrorInfo, face.putVoid()), S_OK);
    for (const IID* iid : {&IID_IMorvane, &IID_IUnitDatabase, &IID_IDispatch}) {
        EXPECT_EQ(unknown->QueryInterface(*iid, face.putVoid()), E_NOINTERFACE);
    }
    unknown.reset();
    Ref<IMorvane> morvane;
    EXPECT_EQ(create(IID_IMorvane, morvane), E_NOINTERFACE) << "creation asking for a dual face fails";
    EXPECT_EQ(DllCanUnloadNow(), S_OK) << "and leaves nothing alive";
}

TEST_F(ObjectFaces, TwoObjectsHoldSeparateDatabases) {
    Ref<IMorvane> first;
    Ref<IUnitDatabase> firstDatabase;
    createLoaded(first, firstDatabase);
    Ref<IUnitDatabase> second;
    ASSERT_EQ(create(IID_IUnitDatabase, second), S_OK);
    SAFEARRAY* units = nullptr;
    ASSERT_EQ(second->Unit_Set(&units), S_OK);
    EXPECT_TRUE(takeStrings(units).empty());
    ASSERT_EQ(firstDatabase->Unit_Set(&units), S_OK);
    EXPECT_EQ(takeStrings(units).size(), 5u);
    ASSERT_EQ(second->Quantity_Add(Bstr(u"Mass").get()), S_OK);
    ASSERT_EQ(firstDatabase->Quantity_Set(&units), S_OK);
    EXPECT_EQ(takeStrings(units), (std::vector<std::u16string>{u"Angle", u"Length", u"Time", u"Velocity"}));
}

// One failing call per row: its code, the posted message, and the interface it is posted under.
struct FailureRow {
    const char* label;
    std::function<HRESULT(IMorvane*, IUnitDatabase*, const std::string& dir)> call;
    HRESULT code;
    const char16_t* message;
    const IID* iid;
};

const FailureRow kFailures[] = {
    {"convert unknown unit",
     [](IMorvane* m, IUnitDatabase*, const std::string&) {
         double a = 0, f = 0;
         return m->UnitExpression_Convert(Bstr(u"m").get(), Bstr(u"furlong").get(), &a, &f);
     },
     static_cast<HRESULT>(0x8004020C), u"Unit Not Found", &IID_IMorvane},
    {"invalid expression",
     [](IMorvane* m, IUnitDatabase*, const std::string&) {
         double a = 0, f = 0;
         return m->UnitExpression_Convert(Bstr(u"m^*s").get(), Bstr(u"m").get(), &a, &f);
     },
     static_cast<HRESULT>(0x8004020E), u"An Input Expression is Invalid", &IID_IMorvane},
    {"dimensions differ",
     [](IMorvane* m, IUnitDatabase*, const std::string&) {
         m->EnableDimensionalAnalysis(1);
         double a = 0, f = 0;
         return m->UnitExpression_Convert(Bstr(u"m").get(), Bstr(u"s").get(), &a, &f);
     },
     static_cast<HRESULT>(0x80040211), u"Dimensional Analysis of the Two Units is Different", &IID_IMorvane},
    {"divide by zero",
     [](IMorvane* m, IUnitDatabase*, const std::string&) {
         double a = 0, f = 0;  // the "to" factor underflows to 0
         return m->UnitExpression_Convert(Bstr(u"m").get(), Bstr(u"m/1e300/1e300").get(), &a, &f);
     },
     static_cast<HRESULT>(0x80040210), u"Divide by Zero Error, Notify Tech Support", &IID_IMorvane},
    {"unknown unit system",
     [](IMorvane* m, IUnitDatabase*, const std::string&) {
         Bstr symbol;
         return m->QuantityExpression_Symbol(Bstr(u"Metric").get(), Bstr(u"Length").get(), symbol.put());
     },
     static_cast<HRESULT>(0x80040213), u"Unit System Not Found", &IID_IMorvane},
    {"no preferred unit",
     [](IMorvane* m, IUnitDatabase*, const std::string&) {
         Bstr symbol;
         return m->QuantityExpression_Symbol(Bstr(u"SI").get(), Bstr(u"Angle").get(), symbol.put());
     },
     static_cast<HRESULT>(0x80040219), u"The preferred unit for a basic quantity was not found in the given unit system",
     &IID_IMorvane},
    {"read a corrupt file",
     [](IMorvane*, IUnitDatabase* d, const std::string& dir) {
         const std::string path = dir + "/corrupt.xml";
         std::ofstream(path) << "<UNITS_DATABASE><QUANTITIES>";
         return d->ReadUnitDatabase(Bstr(u16(path).c_str()).get(), APPEND);
     },
     static_cast<HRESULT>(0x8004020B), u"Unit Database is Corrupt", &IID_IMorvane},
    {"write into a missing folder",
     [](IMorvane*, IUnitDatabase* d, const std::string& dir) {
         return d->WriteUnitDatabase(Bstr(u16(dir + "/missing/out.xml").c_str()).get());
     },
     static_cast<HRESULT>(0x80040214), u"No Write Permissions for this File", &IID_IMorvane},
    {"unknown unit's symbol",
     [](IMorvane*, IUnitDatabase* d, const std::string&) {
         Bstr symbol;
         return d->Unit_Symbol(Bstr(u"furlong").get(), symbol.put());
     },
     static_cast<HRESULT>(0x8004020C), u"Unit Not Found", &IID_IUnitDatabase},
    {"unknown quantity",
     [](IMorvane*, IUnitDatabase* d, const std::string&) {
         Bstr expression;
         return d->Quantity_Expression(Bstr(u"Mass").get(), expression.put());
     },
     static_cast<HRESULT>(0x80040212), u"Quantity Not Found", &IID_IUnitDatabase},
    {"name taken",
     [](IMorvane*, IUnitDatabase* d, const std::string&) { return d->Quantity_Add(Bstr(u"LENGTH").get()); },
     static_cast<HRESULT>(0x80040217),
     u"A Quantity, Unit, UnitSystem or Synonym With the Same Name Already Exists", &IID_IUnitDatabase},
    {"name refused",
     [](IMorvane*, IUnitDatabase* d, const std::string&) { return d->Unit_Add(Bstr(u"bad\nname").get(), Bstr(u"Length").get()); },
     static_cast<HRESULT>(0x80040218), u"The name or expression specified is not acceptable", &IID_IUnitDatabase},
    {"unknown synonym",
     [](IMorvane*, IUnitDatabase* d, const std::string&) {
         return d->Unit_Synonym_Remove(Bstr(u"metre").get(), Bstr(u"mtr").get());
     },
     static_cast<HRESULT>(0x80040216), u"Synonym Not Found", &IID_IUnitDatabase},
    {"expression determines",
     [](IMorvane*, IUnitDatabase* d, const std::string&) {
         SAFEARRAY* vector = SafeArrayCreateVector(VT_I2, 0, 10);
         const HRESULT hr = d->Quantity_DimVector_Replace(Bstr(u"Velocity").get(), vector);
         SafeArrayDestroy(vector);
         return hr;
     },
     static_cast<HRESULT>(0x80040215), u"An expression determines the unit or quantity parameters",
     &IID_IUnitDatabase},
    {"no vector given",
     [](IMorvane*, IUnitDatabase* d, const std::string&) {
         return d->Quantity_DimVector_Replace(Bstr(u"Length").get(), nullptr);
     },
     static_cast<HRESULT>(0x8004020F), u"Internal Error, Notify Tech Support", &IID_IUnitDatabase},
    {"remove unknown unit system",
     [](IMorvane*, IUnitDatabase* d, const std::string&) { return d->UnitSystem_Remove(Bstr(u"Metric").get()); },
     static_cast<HRESULT>(0x80040213), u"Unit System Not Found", &IID_IUnitDatabase},
};

using PostedErrors = ComponentTest;

TEST_F(PostedErrors, EveryEngineFailureIsPostedUnderItsInterface) {
    for (const FailureRow& row : kFailures) {
        Ref<IMorvane> morvane;
        Ref<IUnitDatabase> database;
        createLoaded(morvane, database);
        SetErrorInfo(0, nullptr);
        EXPECT_EQ(row.call(morvane.get(), database.get(), registry.dir()), row.code) << row.label;
        const Posted posted = takePosted();
        ASSERT_TRUE(posted.present) << row.label;
        EXPECT_TRUE(posted.iid == *row.iid) << row.label;
        EXPECT_EQ(posted.source, u"KestrumLib.Morvane") << row.label;
        EXPECT_EQ(posted.description, row.message) << row.label;
        EXPECT_FALSE(posted.hasHelpFile) << row.label;
        EXPECT_EQ(posted.helpContext, 0u) << row.label;
    }
}

TEST_F(PostedErrors, InitializeAndUninitialisedConversionsPostUnderIMorvane) {
    Ref<IMorvane> morvane;
    ASSERT_EQ(create(IID_IMorvane, morvane), S_OK);
    double add = 0;
    double multiplyBy = 0;
    EXPECT_EQ(morvane->UnitExpression_Convert(Bstr(u"m").get(), Bstr(u"m").get(), &add, &multiplyBy),
              static_cast<HRESULT>(0x8004020D));
    EXPECT_EQ(takePosted().description, u"Initialize the Unit System First");
    EXPECT_EQ(morvane->Initialize(Bstr(u16(registry.dir() + "/none.xml").c_str()).get()),
              static_cast<HRESULT>(0x8004020A));
    const Posted posted = takePosted();
    EXPECT_TRUE(posted.iid == IID_IMorvane);
    EXPECT_EQ(posted.description, u"Unit Database File Not Found");
}

TEST_F(PostedErrors, AMissingPlaceIsReportedWithoutTouchingThePostedError) {
    Ref<IMorvane> morvane;
    Ref<IUnitDatabase> database;
    createLoaded(morvane, database);
    Bstr symbol;
    ASSERT_NE(database->Unit_Symbol(Bstr(u"furlong").get(), symbol.put()), S_OK);  // posts "Unit Not Found"
    double value = 0;
    EXPECT_EQ(database->Quantity_Set(nullptr), E_POINTER);
    EXPECT_EQ(database->Quantity_Unit_Set(Bstr(u"nothing").get(), nullptr), E_POINTER) << "checked before the lookup";
    EXPECT_EQ(database->Quantity_DimVector(Bstr(u"Length").get(), nullptr), E_POINTER);
    EXPECT_EQ(database->Unit_Quantity(Bstr(u"metre").get(), nullptr), E_POINTER);
    EXPECT_EQ(database->Unit_ConversionFactor(Bstr(u"metre").get(), nullptr), E_POINTER);
    EXPECT_EQ(morvane->UnitExpression_Convert(Bstr(u"m").get(), Bstr(u"km").get(), nullptr, &value), E_POINTER);
    EXPECT_EQ(morvane->UnitExpression_Symbol(Bstr(u"m").get(), nullptr), E_POINTER);
    // A successful operation neither posts nor clears.
    EXPECT_EQ(database->Unit_ConversionFactor(Bstr(u"km").get(), &value), S_OK);
    const Posted posted = takePosted();
    EXPECT_EQ(posted.description, u"Unit Not Found");
    EXPECT_TRUE(posted.iid == IID_IUnitDatabase);
}

}  // namespace
}  // namespace component_test
