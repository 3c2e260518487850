// Late binding on either face, and the type library's description of both interfaces.
#include "component_fixture.h"

#include <comrt/faults.h>

#include <charconv>

namespace component_test {
namespace {

class LateBound : public ComponentTest {
protected:
    void SetUp() override {
        ComponentTest::SetUp();
        ASSERT_EQ(create(IID_IMorvane, morvane), S_OK);
        ASSERT_EQ(morvane->QueryInterface(IID_IUnitDatabase, database.putVoid()), S_OK);
    }
    // The two IDispatch faces: IMorvane's and IUnitDatabase's.
    std::vector<IDispatch*> faces() { return {morvane.get(), database.get()}; }

    HRESULT idOf(IDispatch* face, const char16_t* name, DISPID& id) {
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        return face->GetIDsOfNames(IID_NULL, names, 1, 0x409, &id);
    }

    Ref<IMorvane> morvane;
    Ref<IUnitDatabase> database;
};

TEST_F(LateBound, TypeInformationIsOneEntryOnEitherFace) {
    for (IDispatch* face : faces()) {
        UINT count = 0;
        EXPECT_EQ(face->GetTypeInfoCount(&count), S_OK);
        EXPECT_EQ(count, 1u);
        Ref<ITypeInfo> info;
        EXPECT_EQ(face->GetTypeInfo(1, 0, info.put()), DISP_E_BADINDEX);
        ASSERT_EQ(face->GetTypeInfo(0, 0, info.put()), S_OK);
        TYPEATTR* attr = nullptr;
        ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
        EXPECT_TRUE(attr->guid == IID_IMorvane) << "the dispatch implementation knows IMorvane only";
        info->ReleaseTypeAttr(attr);
    }
}

TEST_F(LateBound, NamesOfIMorvaneResolveOnEitherFaceAndOthersDoNot) {
    for (IDispatch* face : faces()) {
        DISPID id = 0;
        EXPECT_EQ(idOf(face, u"EnableDimensionalAnalysis", id), S_OK);
        EXPECT_EQ(id, 11);
        EXPECT_EQ(idOf(face, u"initialize", id), S_OK);
        EXPECT_EQ(id, 10);
        EXPECT_EQ(idOf(face, u"Unit_Set", id), DISP_E_UNKNOWNNAME);
        EXPECT_EQ(id, DISPID_UNKNOWN);
    }
}

TEST_F(LateBound, InitializeByDispatchIdTenWorksOnEitherFace) {
    for (IDispatch* face : faces()) {
        Ref<IMorvane> fresh;
        ASSERT_EQ(create(IID_IMorvane, fresh), S_OK);
        IDispatch* target = face == morvane.get() ? static_cast<IDispatch*>(fresh.get()) : nullptr;
        Ref<IUnitDatabase> freshDatabase;
        if (target == nullptr) {
            ASSERT_EQ(fresh->QueryInterface(IID_IUnitDatabase, freshDatabase.putVoid()), S_OK);
            target = freshDatabase.get();
        }
        Bstr path(u16(databasePath).c_str());
        VARIANT arg;
        VariantInit(&arg);
        arg.vt = VT_BSTR;
        arg.bstrVal = path.get();
        DISPPARAMS params{&arg, nullptr, 1, 0};
        VARIANT result;
        VariantInit(&result);
        ASSERT_EQ(target->Invoke(10, IID_NULL, 0x409, DISPATCH_METHOD, &params, &result, nullptr, nullptr), S_OK);
        EXPECT_EQ(result.vt, VT_EMPTY);
        double factor = 0;
        Ref<IUnitDatabase> check;
        ASSERT_EQ(fresh->QueryInterface(IID_IUnitDatabase, check.putVoid()), S_OK);
        EXPECT_EQ(check->Unit_ConversionFactor(Bstr(u"km").get(), &factor), S_OK) << "the database was loaded";
        EXPECT_EQ(factor, 1000.0);
    }
}

TEST_F(LateBound, ConversionsReturnTheirResultAndUpdateTheAddTerm) {
    ASSERT_EQ(morvane->Initialize(Bstr(u16(databasePath).c_str()).get()), S_OK);
    Bstr from(u"km/h");
    Bstr to(u"m/s");
    double add = 99;
    VARIANT args[4];
    for (VARIANT& v : args) VariantInit(&v);
    args[2].vt = VT_BSTR;  // last argument first: (from, to, &add)
    args[2].bstrVal = from.get();
    args[1].vt = VT_BSTR;
    args[1].bstrVal = to.get();
    args[0].vt = VT_R8 | VT_BYREF;
    args[0].pdblVal = &add;
    DISPPARAMS params{args, nullptr, 3, 0};
    VARIANT result;
    VariantInit(&result);
    ASSERT_EQ(morvane->Invoke(12, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr), S_OK);
    ASSERT_EQ(result.vt, VT_R8);
    EXPECT_DOUBLE_EQ(result.dblVal, 1000.0 / 3600.0);
    EXPECT_EQ(add, 0.0);

    params.cArgs = 2;
    params.rgvarg = args + 1;
    EXPECT_EQ(morvane->Invoke(12, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr),
              DISP_E_BADPARAMCOUNT);
}

// A script client's True switches dimensional analysis on: a boolean, or any number or
// numeric text, reaches bEnable as automation converts it.
TEST_F(LateBound, ScriptBooleansAndNumbersSwitchDimensionalAnalysis) {
    ASSERT_EQ(morvane->Initialize(Bstr(u16(databasePath).c_str()).get()), S_OK);
    auto enable = [&](VARIANT arg) {
        DISPPARAMS params{&arg, nullptr, 1, 0};
        return morvane->Invoke(11, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    };
    auto analysing = [&] {
        double add = 0;
        double multiplyBy = 0;
        return morvane->UnitExpression_Convert(Bstr(u"m").get(), Bstr(u"s").get(), &add, &multiplyBy) ==
               static_cast<HRESULT>(0x80040211);
    };
    VARIANT truth;
    VariantInit(&truth);
    truth.vt = VT_BOOL;
    truth.boolVal = VARIANT_TRUE;
    ASSERT_EQ(enable(truth), S_OK);
    EXPECT_TRUE(analysing());
    truth.boolVal = VARIANT_FALSE;
    ASSERT_EQ(enable(truth), S_OK);
    EXPECT_FALSE(analysing());

    Bstr one(u"1");
    VARIANT text;
    VariantInit(&text);
    text.vt = VT_BSTR;
    text.bstrVal = one.get();
    ASSERT_EQ(enable(text), S_OK);
    EXPECT_TRUE(analysing());
    VARIANT number;
    VariantInit(&number);
    number.vt = VT_R8;
    number.dblVal = 0.4;  // rounds to 0
    ASSERT_EQ(enable(number), S_OK);
    EXPECT_FALSE(analysing());
    VARIANT variable = truth;
    variable.boolVal = VARIANT_TRUE;
    VARIANT reference;
    VariantInit(&reference);
    reference.vt = VT_VARIANT | VT_BYREF;
    reference.pvarVal = &variable;
    ASSERT_EQ(enable(reference), S_OK) << "a script variable passed by reference";
    EXPECT_TRUE(analysing());

    number.dblVal = 256;
    EXPECT_EQ(enable(number), DISP_E_OVERFLOW);
    Bstr word(u"on");
    text.bstrVal = word.get();
    EXPECT_EQ(enable(text), DISP_E_TYPEMISMATCH);
    VARIANT null;
    VariantInit(&null);
    null.vt = VT_NULL;
    EXPECT_EQ(enable(null), DISP_E_TYPEMISMATCH);
    EXPECT_TRUE(analysing()) << "a refused call changes nothing";
}

// A script's add term is a variable holding whatever it was given (an integer 0): it reaches
// pdAdd as a double and takes the result back; a failed conversion leaves it as it was.
TEST_F(LateBound, AScriptVariableTakesTheAddTermBackAsADouble) {
    ASSERT_EQ(morvane->Initialize(Bstr(u16(databasePath).c_str()).get()), S_OK);
    Bstr from(u"km");
    Bstr to(u"ft");
    VARIANT add;
    VariantInit(&add);
    add.vt = VT_I2;
    add.iVal = 0;
    VARIANT args[3];
    for (VARIANT& v : args) VariantInit(&v);
    args[2].vt = VT_BSTR | VT_BYREF;  // a string variable by reference too
    BSTR fromText = from.get();
    args[2].pbstrVal = &fromText;
    args[1].vt = VT_BSTR;
    args[1].bstrVal = to.get();
    args[0].vt = VT_VARIANT | VT_BYREF;
    args[0].pvarVal = &add;
    DISPPARAMS params{args, nullptr, 3, 0};
    VARIANT result;
    VariantInit(&result);
    ASSERT_EQ(morvane->Invoke(12, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr), S_OK);
    EXPECT_NEAR(result.dblVal, 1000 / 0.3048, 1e-9);
    EXPECT_EQ(add.vt, VT_R8);
    EXPECT_EQ(add.dblVal, 0.0);

    add.vt = VT_I2;
    add.iVal = 5;
    Bstr unknown(u"furlong");
    args[1].bstrVal = unknown.get();
    EXCEPINFO info{};
    EXPECT_EQ(morvane->Invoke(12, IID_NULL, 0, DISPATCH_METHOD, &params, &result, &info, nullptr), DISP_E_EXCEPTION);
    EXPECT_EQ(info.scode, static_cast<SCODE>(0x8004020C));
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    EXPECT_EQ(add.vt, VT_I2) << "a failed operation gives nothing back";
    EXPECT_EQ(add.iVal, 5);
}

// EXCEPINFO describes the failing call, never an error an earlier call left on the thread.
TEST_F(LateBound, TheExceptionDescribesOnlyTheFailingCall) {
    ASSERT_EQ(morvane->Initialize(Bstr(u16(databasePath).c_str()).get()), S_OK);
    Bstr symbol;
    ASSERT_EQ(database->Unit_Symbol(Bstr(u"furlong").get(), symbol.put()), static_cast<HRESULT>(0x8004020C))
        << "posts \"Unit Not Found\", which nobody fetches";
    Bstr metre(u"m");
    VARIANT arg;
    VariantInit(&arg);
    arg.vt = VT_BSTR;
    arg.bstrVal = metre.get();
    DISPPARAMS params{&arg, nullptr, 1, 0};
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO info{};
    comrt::FailAllocationAfter(0);  // the symbol's string: a failure that posts nothing
    const HRESULT hr = morvane->Invoke(13, IID_NULL, 0, DISPATCH_METHOD, &params, &result, &info, nullptr);
    comrt::FailAllocationAfter(-1);
    EXPECT_EQ(hr, DISP_E_EXCEPTION);
    EXPECT_EQ(info.scode, E_OUTOFMEMORY);
    EXPECT_EQ(info.bstrDescription, nullptr) << "not the earlier \"Unit Not Found\"";
    EXPECT_EQ(info.bstrSource, nullptr);
    EXPECT_EQ(result.vt, VT_EMPTY);
}

// Every string and array result is null after a failure, whatever the place held before.
TEST_F(LateBound, ResultPlacesAreNullAfterEveryFailure) {
    ASSERT_EQ(morvane->Initialize(Bstr(u16(databasePath).c_str()).get()), S_OK);
    const auto junk = reinterpret_cast<BSTR>(0x1);
    BSTR text = junk;
    EXPECT_EQ(database->Unit_Symbol(Bstr(u"furlong").get(), &text), static_cast<HRESULT>(0x8004020C));
    EXPECT_EQ(text, nullptr);
    text = junk;
    EXPECT_EQ(morvane->UnitExpression_Symbol(Bstr(u"furlong").get(), &text), static_cast<HRESULT>(0x8004020E));
    EXPECT_EQ(text, nullptr);
    text = junk;
    EXPECT_EQ(morvane->QuantityExpression_Symbol(Bstr(u"Nowhere").get(), Bstr(u"Length").get(), &text),
              static_cast<HRESULT>(0x80040213));
    EXPECT_EQ(text, nullptr);
    auto* array = reinterpret_cast<SAFEARRAY*>(0x1);
    EXPECT_EQ(database->Quantity_Synonym_Set(Bstr(u"Nothing").get(), &array), static_cast<HRESULT>(0x80040212));
    EXPECT_EQ(array, nullptr);
    array = reinterpret_cast<SAFEARRAY*>(0x1);
    EXPECT_EQ(database->Quantity_DimVector(Bstr(u"Nothing").get(), &array), static_cast<HRESULT>(0x80040212));
    EXPECT_EQ(array, nullptr);
    Ref<ITypeInfo> info;
    ASSERT_EQ(morvane->GetTypeInfo(0, 0, info.put()), S_OK);
    BSTR name = junk;
    EXPECT_EQ(info->GetDocumentation(999, &name, nullptr, nullptr, nullptr), TYPE_E_ELEMENTNOTFOUND);
    EXPECT_EQ(name, nullptr);
    FUNCDESC* function = reinterpret_cast<FUNCDESC*>(0x1);
    EXPECT_EQ(info->GetFuncDesc(99, &function), TYPE_E_ELEMENTNOTFOUND);
    EXPECT_EQ(function, nullptr);
}

TEST_F(LateBound, AFailingOperationFillsTheExceptionInformation) {
    Bstr missing(u16(registry.dir() + "/missing.xml").c_str());
    VARIANT arg;
    VariantInit(&arg);
    arg.vt = VT_BSTR;
    arg.bstrVal = missing.get();
    DISPPARAMS params{&arg, nullptr, 1, 0};
    EXCEPINFO info{};
    UINT argErr = 0;
    EXPECT_EQ(database->Invoke(10, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, &info, &argErr), DISP_E_EXCEPTION);
    EXPECT_EQ(info.scode, static_cast<SCODE>(0x8004020A));
    EXPECT_EQ(std::u16string(info.bstrSource), u"KestrumLib.Morvane");
    EXPECT_EQ(std::u16string(info.bstrDescription), u"Unit Database File Not Found");
    EXPECT_EQ(info.bstrHelpFile, nullptr);
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);

    EXPECT_EQ(morvane->Invoke(10, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr),
              static_cast<HRESULT>(0x8004020A))
        << "without a place for the exception, the operation's own code";
    EXPECT_EQ(takePosted().description, u"Unit Database File Not Found");
}

// ---- The type library ----

std::u16string typeName(ITypeInfo* info, const TYPEDESC& t) {
    switch (t.vt) {
        case VT_BSTR: return u"BSTR";
        case VT_UI1: return u"UI1";
        case VT_R8: return u"R8";
        case VT_I2: return u"I2";
        case VT_PTR: return typeName(info, *t.lptdesc) + u"*";
        case VT_SAFEARRAY: return u"SAFEARRAY(" + typeName(info, *t.lptdesc) + u")";
        case VT_USERDEFINED: {
            Ref<ITypeInfo> referenced;
            if (info->GetRefTypeInfo(t.hreftype, referenced.put()) != S_OK) return u"?";
            Bstr name;
            referenced->GetDocumentation(MEMBERID_NIL, name.put(), nullptr, nullptr, nullptr);
            return name.str();
        }
        default: return u"?";
    }
}

std::u16string decimal(int value) {
    char digits[16];
    return comrt::ToUtf16(std::string(digits, std::to_chars(digits, digits + sizeof digits, value).ptr));
}

std::u16string direction(USHORT flags) {
    if (flags == PARAMFLAG_FIN) return u"in";
    if (flags == (PARAMFLAG_FIN | PARAMFLAG_FOUT)) return u"in-out";
    if (flags == (PARAMFLAG_FOUT | PARAMFLAG_FRETVAL)) return u"retval";
    return u"?";
}

// "dispid Name(direction type name, ...) help string", read back through ITypeInfo.
std::vector<std::u16string> describe(ITypeInfo* info) {
    std::vector<std::u16string> lines;
    TYPEATTR* attr = nullptr;
    if (info->GetTypeAttr(&attr) != S_OK) return lines;
    for (UINT i = 0; i < attr->cFuncs; ++i) {
        FUNCDESC* f = nullptr;
        info->GetFuncDesc(i, &f);
        BSTR names[8] = {};
        UINT count = 0;
        info->GetNames(f->memid, names, 8, &count);
        Bstr help;
        info->GetDocumentation(f->memid, nullptr, help.put(), nullptr, nullptr);
        std::u16string line = decimal(f->memid) + u" " + names[0] + u"(";
        for (SHORT p = 0; p < f->cParams; ++p) {
            const ELEMDESC& e = f->lprgelemdescParam[p];
            if (p > 0) line += u", ";
            line += direction(e.paramdesc.wParamFlags) + u" " + typeName(info, e.tdesc) + u" " + names[p + 1];
        }
        line += u") " + help.str();
        lines.push_back(line);
        for (BSTR n : names) SysFreeString(n);
        info->ReleaseFuncDesc(f);
    }
    info->ReleaseTypeAttr(attr);
    return lines;
}

class TypeLibrary : public ComponentTest {
protected:
    void SetUp() override {
        ComponentTest::SetUp();
        ASSERT_EQ(LoadRegTypeLib(LIBID_KestrumLib, 1, 0, 0x409, library.put()), S_OK);
    }
    Ref<ITypeLib> library;
};

TEST_F(TypeLibrary, DescribesIMorvaneAsDocumented) {
    Ref<ITypeInfo> info;
    ASSERT_EQ(library->GetTypeInfoOfGuid(IID_IMorvane, info.put()), S_OK);
    const std::vector<std::u16string> expected = {
        u"10 Initialize(in BSTR sUnitDatabaseLocation) Initializes the unit converter with a Unit Database in XML "
        u"format.  Call before any other function",
        u"11 EnableDimensionalAnalysis(in UI1 bEnable) Performs dimensional analysis while converting unit expressions",
        u"12 UnitExpression_Convert(in BSTR sUnitExpressionFrom, in BSTR sUnitExpressionTo, in-out R8* pdAdd, retval "
        u"R8* pdMultiplyBy) Converts an arbitrary unit expression to another",
        u"13 UnitExpression_Symbol(in BSTR sUnitExpression, retval BSTR* psSymbol) Returns the symbol for a unit "
        u"expression",
        u"14 QuantityExpression_Convert(in BSTR sUnitSystemFrom, in BSTR sUnitSystemTo, in BSTR sQuantityExpression, "
        u"in-out R8* pdAdd, retval R8* pdMultiplyBy) Converts unit of a given quantity expression from one unit "
        u"system to another",
        u"15 QuantityExpression_Symbol(in BSTR sUnitSystem, in BSTR sQuantityExpression, retval BSTR* psSymbol) "
        u"Returns the symbol for a unit of a given quantity expression of a unit system",
    };
    EXPECT_EQ(describe(info.get()), expected);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->wTypeFlags & (TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FNONEXTENSIBLE),
              TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FNONEXTENSIBLE);
    info->ReleaseTypeAttr(attr);
    Bstr help;
    info->GetDocumentation(MEMBERID_NIL, nullptr, help.put(), nullptr, nullptr);
    EXPECT_EQ(help.str(), u"Morvane Interface");
}

TEST_F(TypeLibrary, DescribesIUnitDatabaseAsDocumented) {
    Ref<ITypeInfo> info;
    ASSERT_EQ(library->GetTypeInfoOfGuid(IID_IUnitDatabase, info.put()), S_OK);
    const std::vector<std::u16string> expected = {
        u"10 ReadUnitDatabase(in BSTR sUnitDatabaseLocation, in tagREAD_FLAG eReadFlag) Reads a Unit Database in XML "
        u"format with Overwrite/Append Option",
        u"11 WriteUnitDatabase(in BSTR sUnitDatabaseLocation) Writes a Unit Database in XML format",
        u"12 Quantity_Set(retval SAFEARRAY(BSTR)* ppQtyArray) Returns an array containing all the quantities in the "
        u"unit database",
        u"13 Quantity_Synonym_Set(in BSTR sQuantity, retval SAFEARRAY(BSTR)* ppQtySynonymArray) Returns an array "
        u"containing all the synonyms for a quantity",
        u"14 Quantity_DimVector(in BSTR sQuantity, retval SAFEARRAY(I2)* ppDimVector) Returns an array containing the "
        u"dimensional vector",
        u"15 Quantity_Expression(in BSTR sQuantity, retval BSTR* psExpression) Returns the expression for a quantity",
        u"16 Quantity_Unit_Set(in BSTR sQuantity, retval SAFEARRAY(BSTR)* ppUnitArray) Returns an array containing  "
        u"units for a quantity",
        u"17 Unit_Set(retval SAFEARRAY(BSTR)* ppUnitArray) Returns an array containing all the units in the unit "
        u"database",
        u"18 Unit_Synonym_Set(in BSTR sUnit, retval SAFEARRAY(BSTR)* ppUnitSynonymArray) Returns an array containing "
        u"all the synonyms for a unit",
        u"19 Unit_Quantity(in BSTR sUnit, retval BSTR* psQuantity) Returns the quantity of a unit",
        u"20 Unit_ConversionFactor(in BSTR sUnit, retval R8* pdConvFactor) Returns the conversion factor for a unit",
        u"21 Unit_ConversionOffset(in BSTR sUnit, retval R8* pdConvOffset) Returns the conversion offset for a unit",
        u"22 Unit_Expression(in BSTR sUnit, retval BSTR* psExpression) Returns the expression for a unit",
        u"23 Unit_Symbol(in BSTR sUnit, retval BSTR* psSymbol) Returns the symbol for a unit",
        u"24 UnitSystem_Set(retval SAFEARRAY(BSTR)* ppUnitSystemArray) Returns an array containing all the unit "
        u"systems in the unit database",
        u"25 UnitSystem_PrefUnit(in BSTR sUnitSystem, in BSTR sQuantity, retval BSTR* psPreferredUnit) Returns the "
        u"preferred unit for a unit system",
        u"26 Quantity_Remove(in BSTR sQuantity) Removes a quantity from the unit database",
        u"27 Quantity_Rename(in BSTR sCurrentName, in BSTR sNewName) Renames a quantity",
        u"28 Quantity_Add(in BSTR sQuantity) Add a quantity",
        u"29 Quantity_Synonym_Remove(in BSTR sQuantity, in BSTR sSynonym) Remove a quantity synonym",
        u"30 Quantity_Synonym_Add(in BSTR sQuantity, in BSTR sSynonym) Add a quantity synonym",
        u"31 Quantity_DimVector_Replace(in BSTR sQuantity, in SAFEARRAY(I2) pDimVector) Replaces the quantity "
        u"dimension vector",
        u"32 Quantity_Expression_Replace(in BSTR sQuantity, in BSTR sExpression) Replaces the expression of a quantity",
        u"33 Unit_Remove(in BSTR sUnit) Removes a unit from the unit database",
        u"34 Unit_Rename(in BSTR sCurrentName, in BSTR sNewName) Renames a unit",
        u"35 Unit_Add(in BSTR sUnit, in BSTR sQuantity) Add a unit",
        u"36 Unit_Synonym_Remove(in BSTR sUnit, in BSTR sSynonym) Remove a unit synonym",
        u"37 Unit_Synonym_Add(in BSTR sUnit, in BSTR sSynonym) Add a unit synonym",
        u"38 Unit_Quantity_Replace(in BSTR sUnit, in BSTR sQuantity) Replaces the quantity of a unit",
        u"39 Unit_ConversionFactor_Replace(in BSTR sUnit, in R8 dConvFactor) Replaces the conversion factor of a unit",
        u"40 Unit_ConversionOffset_Replace(in BSTR sUnit, in R8 dConvOffset) Replaces the conversion offset of a unit",
        u"41 Unit_Expression_Replace(in BSTR sUnit, in BSTR sExpression) Replaces the expression of a unit",
        u"42 Unit_Symbol_Replace(in BSTR sUnit, in BSTR sSymbol) Replaces the symbol of a unit",
        u"43 UnitSystem_Remove(in BSTR sUnitSystem) Removes a unit system from the unit database",
        u"44 UnitSystem_Rename(in BSTR sCurrentName, in BSTR sNewName) Renames a unit system",
        u"45 UnitSystem_Add(in BSTR sUnitSystem) Add a unit system",
        u"46 UnitSystem_PrefUnit_Replace(in BSTR sUnitSystem, in BSTR sQuantity, in BSTR sUnit) Set the preferred unit "
        u"for a quantity in a unit system",
    };
    EXPECT_EQ(describe(info.get()), expected);
}

TEST_F(TypeLibrary, ListsTheClassTheInterfacesAndTheReadFlagInOrder) {
    Bstr name;
    Bstr help;
    ASSERT_EQ(library->GetDocumentation(-1, name.put(), help.put(), nullptr, nullptr), S_OK);
    EXPECT_EQ(name.str(), u"KestrumLib");
    EXPECT_EQ(help.str(), u"Kestrum Type Library");
    const TYPEKIND kinds[] = {TKIND_COCLASS, TKIND_DISPATCH, TKIND_DISPATCH, TKIND_ENUM, TKIND_INTERFACE};
    const char16_t* names[] = {u"Morvane", u"IMorvane", u"IUnitDatabase", u"tagREAD_FLAG", u"ISupportErrorInfo"};
    ASSERT_EQ(library->GetTypeInfoCount(), 5u);
    for (UINT i = 0; i < 5; ++i) {
        TYPEKIND kind = TKIND_MAX;
        library->GetTypeInfoType(i, &kind);
        EXPECT_EQ(kind, kinds[i]) << i;
        library->GetDocumentation(static_cast<INT>(i), name.put(), nullptr, nullptr, nullptr);
        EXPECT_EQ(name.str(), names[i]);
    }

    Ref<ITypeInfo> coclass;
    ASSERT_EQ(library->GetTypeInfoOfGuid(CLSID_Morvane, coclass.put()), S_OK);
    coclass->GetDocumentation(MEMBERID_NIL, nullptr, help.put(), nullptr, nullptr);
    EXPECT_EQ(help.str(), u"Morvane Implementation");
    const IID* implemented[] = {&IID_IMorvane, &IID_IUnitDatabase, &IID_ISupportErrorInfo};
    for (UINT i = 0; i < 3; ++i) {
        HREFTYPE ref = 0;
        ASSERT_EQ(coclass->GetRefTypeOfImplType(i, &ref), S_OK);
        Ref<ITypeInfo> face;
        ASSERT_EQ(coclass->GetRefTypeInfo(ref, face.put()), S_OK);
        TYPEATTR* attr = nullptr;
        face->GetTypeAttr(&attr);
        EXPECT_TRUE(attr->guid == *implemented[i]) << i;
        face->ReleaseTypeAttr(attr);
        INT flags = 0;
        coclass->GetImplTypeFlags(i, &flags);
        EXPECT_EQ(flags, i == 0 ? IMPLTYPEFLAG_FDEFAULT : 0) << "IMorvane is the default";
    }

    Ref<ITypeInfo> readFlag;
    ASSERT_EQ(library->GetTypeInfo(3, readFlag.put()), S_OK);
    for (UINT i = 0; i < 2; ++i) {
        VARDESC* constant = nullptr;
        ASSERT_EQ(readFlag->GetVarDesc(i, &constant), S_OK);
        BSTR constantName = nullptr;
        UINT count = 0;
        readFlag->GetNames(constant->memid, &constantName, 1, &count);
        EXPECT_EQ(std::u16string(constantName), i == 0 ? u"OVERWRITE" : u"APPEND");
        EXPECT_EQ(constant->lpvarValue->lVal, i == 0 ? OVERWRITE : APPEND);
        SysFreeString(constantName);
        readFlag->ReleaseVarDesc(constant);
    }
}

}  // namespace
}  // namespace component_test
