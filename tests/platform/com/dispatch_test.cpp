// Type libraries read from a module, their registration, and late-bound calls.
#include "calculator.h"
#include "scoped_registry.h"

#include <comrt/faults.h>

#include <gtest/gtest.h>

#include <filesystem>

using comrt_test::Bstr;
using comrt_test::Ref;
using comrt_test::ScopedRegistry;

namespace {

const std::u16string kServer = comrt_test::wide(COMRT_TEST_SERVER);
const std::string kLibKey = "TypeLib\\{4D4EEB16-9D19-4802-B986-0E863FEAC0EF}";
const std::string kInterfaceKey = "Interface\\{C9BDC9E0-D59C-4DE7-9C20-65605917F201}";

VARIANT longArg(LONG value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

VARIANT stringArg(BSTR value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = value;
    return v;
}

TEST(TypeLibrary, IsReadFromTheServerModule) {
    Ref<ITypeLib> library;
    ASSERT_EQ(LoadTypeLib(kServer.c_str(), library.put()), S_OK);
    EXPECT_EQ(library->GetTypeInfoCount(), 3u);
    Bstr name;
    Bstr help;
    ASSERT_EQ(library->GetDocumentation(-1, name.put(), help.put(), nullptr, nullptr), S_OK);
    EXPECT_EQ(name.str(), u"CalculatorLib");
    EXPECT_EQ(help.str(), u"Calculator Type Library");

    Ref<ITypeInfo> info;
    ASSERT_EQ(library->GetTypeInfoOfGuid(IID_ICalculator, info.put()), S_OK);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
    EXPECT_EQ(attr->cFuncs, 8);
    EXPECT_NE(attr->wTypeFlags & TYPEFLAG_FDUAL, 0);
    info->ReleaseTypeAttr(attr);
    Ref<ITypeInfo> missing;
    EXPECT_EQ(library->GetTypeInfoOfGuid(IID_IDispatch, missing.put()), TYPE_E_ELEMENTNOTFOUND);
}

TEST(TypeLibrary, TheLibraryAndItsTypesEachHandOutOnlyTheirOwnInterface) {
    Ref<ITypeLib> library;
    ASSERT_EQ(LoadTypeLib(kServer.c_str(), library.put()), S_OK);
    Ref<ITypeInfo> info;
    ASSERT_EQ(library->GetTypeInfoOfGuid(IID_ICalculator, info.put()), S_OK);

    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(library->QueryInterface(IID_ITypeInfo, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr) << "a refused interface leaves null";
    out = reinterpret_cast<void*>(1);
    EXPECT_EQ(info->QueryInterface(IID_ITypeLib, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(library->QueryInterface(IID_ITypeLib, nullptr), E_POINTER);
    EXPECT_EQ(info->QueryInterface(IID_ITypeInfo, nullptr), E_POINTER);

    // Asked for itself or IUnknown, each gives the same object and one more reference.
    for (const IID* iid : {&IID_IUnknown, &IID_ITypeLib}) {
        void* same = nullptr;
        ASSERT_EQ(library->QueryInterface(*iid, &same), S_OK);
        EXPECT_EQ(same, static_cast<void*>(library.get()));
        EXPECT_EQ(library->Release(), 2u) << "the type info holds the library too";
    }
    for (const IID* iid : {&IID_IUnknown, &IID_ITypeInfo}) {
        void* same = nullptr;
        ASSERT_EQ(info->QueryInterface(*iid, &same), S_OK);
        EXPECT_EQ(same, static_cast<void*>(info.get()));
        EXPECT_EQ(info->Release(), 1u);
    }
    // The type info keeps its library alive after the caller lets the library go.
    library.reset();
    ITypeLib* containing = nullptr;
    UINT index = 99;
    ASSERT_EQ(info->GetContainingTypeLib(&containing, &index), S_OK);
    ASSERT_NE(containing, nullptr);
    EXPECT_EQ(containing->GetTypeInfoCount(), 3u);
    EXPECT_EQ(containing->Release(), 1u);
}

TEST(TypeLibrary, DescribesParameterTypesAndDirections) {
    Ref<ITypeLib> library;
    ASSERT_EQ(LoadTypeLib(kServer.c_str(), library.put()), S_OK);
    Ref<ITypeInfo> info;
    ASSERT_EQ(library->GetTypeInfoOfGuid(IID_ICalculator, info.put()), S_OK);

    FUNCDESC* join = nullptr;
    ASSERT_EQ(info->GetFuncDesc(1, &join), S_OK);
    EXPECT_EQ(join->memid, 2);
    ASSERT_EQ(join->cParams, 3);
    EXPECT_EQ(join->lprgelemdescParam[0].tdesc.vt, VT_BSTR);
    EXPECT_EQ(join->lprgelemdescParam[0].paramdesc.wParamFlags, PARAMFLAG_FIN);
    EXPECT_EQ(join->lprgelemdescParam[2].tdesc.vt, VT_PTR);
    EXPECT_EQ(join->lprgelemdescParam[2].tdesc.lptdesc->vt, VT_BSTR);
    EXPECT_EQ(join->lprgelemdescParam[2].paramdesc.wParamFlags, PARAMFLAG_FOUT | PARAMFLAG_FRETVAL);
    EXPECT_EQ(join->oVft, 8 * static_cast<SHORT>(sizeof(void*))) << "after IUnknown's and IDispatch's seven";
    info->ReleaseFuncDesc(join);

    FUNCDESC* names = nullptr;
    ASSERT_EQ(info->GetFuncDesc(7, &names), S_OK);
    const TYPEDESC& array = *names->lprgelemdescParam[0].tdesc.lptdesc;
    EXPECT_EQ(array.vt, VT_SAFEARRAY);
    EXPECT_EQ(array.lptdesc->vt, VT_BSTR);
    info->ReleaseFuncDesc(names);

    FUNCDESC* setFlag = nullptr;
    ASSERT_EQ(info->GetFuncDesc(4, &setFlag), S_OK);
    ASSERT_EQ(setFlag->lprgelemdescParam[1].tdesc.vt, VT_USERDEFINED);
    Ref<ITypeInfo> colors;
    ASSERT_EQ(info->GetRefTypeInfo(setFlag->lprgelemdescParam[1].tdesc.hreftype, colors.put()), S_OK);
    info->ReleaseFuncDesc(setFlag);
    VARDESC* green = nullptr;
    ASSERT_EQ(colors->GetVarDesc(1, &green), S_OK);
    EXPECT_EQ(green->lpvarValue->lVal, GREEN);
    BSTR greenName = nullptr;
    UINT count = 0;
    ASSERT_EQ(colors->GetNames(green->memid, &greenName, 1, &count), S_OK);
    EXPECT_EQ(std::u16string(greenName), u"GREEN");
    SysFreeString(greenName);
    colors->ReleaseVarDesc(green);

    BSTR namesOfAdd[4] = {};
    ASSERT_EQ(info->GetNames(1, namesOfAdd, 4, &count), S_OK);
    ASSERT_EQ(count, 4u);
    EXPECT_EQ(std::u16string(namesOfAdd[0]), u"Add");
    EXPECT_EQ(std::u16string(namesOfAdd[3]), u"pSum");
    for (BSTR n : namesOfAdd) SysFreeString(n);
}

TEST(TypeLibrary, AModuleWithoutATableIsNoLibrary) {
    Ref<ITypeLib> library;
    EXPECT_EQ(LoadTypeLib(u"/nonexistent/module.so", library.put()), TYPE_E_CANTLOADLIBRARY);
    EXPECT_FALSE(library);
}

TEST(TypeLibraryRegistration, WritesItsKeysFindsTheModuleAndRemovesThemAgain) {
    ScopedRegistry registry;
    ASSERT_TRUE(comrt_test::setDefault("Unrelated\\Key", "stays"));
    Ref<ITypeLib> library;
    ASSERT_EQ(LoadTypeLib(kServer.c_str(), library.put()), S_OK);
    ASSERT_EQ(RegisterTypeLib(library.get(), kServer.c_str(), nullptr), S_OK);
    const std::set<std::string> expected = {
        "Unrelated\\Key",         kLibKey + "\\1.0",         kLibKey + "\\1.0\\FLAGS", kLibKey + "\\1.0\\HELPDIR",
        kLibKey + "\\1.0\\409\\win32", kInterfaceKey,        kInterfaceKey + "\\TypeLib"};
    EXPECT_EQ(registry.keys(), expected) << "only dispatch interfaces get Interface keys";
    EXPECT_EQ(comrt_test::queryDefault(kLibKey + "\\1.0\\409\\win32"), COMRT_TEST_SERVER);
    EXPECT_EQ(comrt_test::queryDefault(kLibKey + "\\1.0"), "Calculator Type Library");
    EXPECT_EQ(comrt_test::queryDefault(kInterfaceKey), "ICalculator");

    Ref<ITypeLib> found;
    EXPECT_EQ(LoadRegTypeLib(LIBID_CalculatorLib, 1, 0, 0x409, found.put()), S_OK);
    EXPECT_EQ(LoadRegTypeLib(LIBID_CalculatorLib, 1, 1, 0x409, found.put()), TYPE_E_LIBNOTREGISTERED);
    EXPECT_EQ(LoadRegTypeLib(LIBID_CalculatorLib, 2, 0, 0x409, found.put()), TYPE_E_LIBNOTREGISTERED);

    EXPECT_EQ(UnRegisterTypeLib(LIBID_CalculatorLib, 1, 0, 0x409, SYS_WIN32), S_OK);
    EXPECT_EQ(registry.keys(), std::set<std::string>{"Unrelated\\Key"});
    EXPECT_EQ(LoadRegTypeLib(LIBID_CalculatorLib, 1, 0, 0x409, found.put()), TYPE_E_LIBNOTREGISTERED);
    EXPECT_EQ(UnRegisterTypeLib(LIBID_CalculatorLib, 1, 0, 0x409, SYS_WIN32), TYPE_E_REGISTRYACCESS);
}

// A module in a folder whose name is not UTF-8 is loaded, registered and found again by its bytes.
TEST(TypeLibraryRegistration, KeepsAModulePathThatIsNotUtf8AsItsBytes) {
    ScopedRegistry registry;
    const std::string folder = registry.dir() + "/caf\xE9";
    std::filesystem::create_directory(folder);
    const std::string copy = folder + "/calculator.so";
    std::filesystem::copy_file(COMRT_TEST_SERVER, copy);
    const std::u16string wide = comrt::PathToWide(copy);
    Ref<ITypeLib> library;
    ASSERT_EQ(LoadTypeLib(wide.c_str(), library.put()), S_OK);
    ASSERT_EQ(RegisterTypeLib(library.get(), wide.c_str(), nullptr), S_OK);
    EXPECT_EQ(comrt_test::queryDefault(kLibKey + "\\1.0\\409\\win32"), copy);
    EXPECT_EQ(comrt_test::queryDefault(kLibKey + "\\1.0\\HELPDIR"), folder);
    Ref<ITypeLib> found;
    EXPECT_EQ(LoadRegTypeLib(LIBID_CalculatorLib, 1, 0, 0x409, found.put()), S_OK);
}

TEST(TypeLibraryRegistration, IsAllOrNothing) {
    ScopedRegistry registry;
    Ref<ITypeLib> library;
    ASSERT_EQ(LoadTypeLib(kServer.c_str(), library.put()), S_OK);
    comrt::SetRegistryFault([](comrt::RegistryOperation, std::string_view path) {
        return path.substr(0, 9) == "Interface" ? ERROR_ACCESS_DENIED : ERROR_SUCCESS;
    });
    EXPECT_EQ(RegisterTypeLib(library.get(), kServer.c_str(), nullptr), TYPE_E_REGISTRYACCESS);
    comrt::SetRegistryFault({});
    EXPECT_TRUE(registry.keys().empty());
}

class LateBinding : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
        Ref<ITypeLib> library;
        ASSERT_EQ(LoadTypeLib(kServer.c_str(), library.put()), S_OK);
        ASSERT_EQ(RegisterTypeLib(library.get(), kServer.c_str(), nullptr), S_OK);
        ASSERT_TRUE(comrt_test::setDefault("CLSID\\{33AB4C05-C9F6-47CB-B148-1D4AE800DB5A}\\InprocServer32",
                                           COMRT_TEST_SERVER));
        ASSERT_EQ(CoCreateInstance(CLSID_Calculator, nullptr, 7, IID_IDispatch, object.putVoid()), S_OK);
    }
    void TearDown() override {
        object.reset();
        CoUninitialize();
    }
    DISPID idOf(const char16_t* name) {
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        DISPID id = 0;
        EXPECT_EQ(object->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK) << "name lookup";
        return id;
    }
    HRESULT call(DISPID id, std::vector<VARIANT> args, VARIANT* result, EXCEPINFO* info = nullptr,
                 UINT* argErr = nullptr) {
        DISPPARAMS params{args.data(), nullptr, static_cast<UINT>(args.size()), 0};
        return object->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, result, info, argErr);
    }

    ScopedRegistry registry;
    Ref<IDispatch> object;
};

TEST_F(LateBinding, NamesMatchWithoutRegardToCase) {
    EXPECT_EQ(idOf(u"add"), 1);
    EXPECT_EQ(idOf(u"JOIN"), 2);
    LPOLESTR names[] = {const_cast<LPOLESTR>(u"Join"), const_cast<LPOLESTR>(u"ssecond"),
                        const_cast<LPOLESTR>(u"nothing")};
    DISPID ids[3] = {};
    EXPECT_EQ(object->GetIDsOfNames(IID_NULL, names, 3, 0, ids), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(ids[0], 2);
    EXPECT_EQ(ids[1], 1) << "parameter names give their positions";
    EXPECT_EQ(ids[2], DISPID_UNKNOWN);
    LPOLESTR unknown[] = {const_cast<LPOLESTR>(u"Subtract")};
    EXPECT_EQ(object->GetIDsOfNames(IID_NULL, unknown, 1, 0, ids), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(ids[0], DISPID_UNKNOWN);
}

TEST_F(LateBinding, ArgumentsArriveLastFirstAndTheResultComesBack) {
    Bstr first(u"first-");
    Bstr second(u"second");
    VARIANT result;
    VariantInit(&result);
    ASSERT_EQ(call(2, {stringArg(second.get()), stringArg(first.get())}, &result), S_OK);
    ASSERT_EQ(result.vt, VT_BSTR);
    EXPECT_EQ(std::u16string(result.bstrVal), u"first-second");
    VariantClear(&result);

    ASSERT_EQ(call(1, {longArg(40), longArg(2)}, nullptr), S_OK) << "no result place: the result is freed";

    SAFEARRAY* values = SafeArrayCreateVector(VT_I2, 0, 3);
    static_cast<SHORT*>(values->pvData)[0] = 1;
    static_cast<SHORT*>(values->pvData)[2] = -5;
    VARIANT array;
    VariantInit(&array);
    array.vt = VT_ARRAY | VT_I2;
    array.parray = values;
    ASSERT_EQ(call(7, {array}, &result), S_OK);
    EXPECT_EQ(result.vt, VT_I4);
    EXPECT_EQ(result.lVal, -4);
    SafeArrayDestroy(values);

    ASSERT_EQ(call(8, {}, &result), S_OK);
    ASSERT_EQ(result.vt, VT_ARRAY | VT_BSTR);
    EXPECT_EQ(std::u16string(static_cast<BSTR*>(result.parray->pvData)[1]), u"two");
    VariantClear(&result);
}

TEST_F(LateBinding, ByReferenceArgumentsAreUpdatedInPlace) {
    double value = 2.5;
    VARIANT ref;
    VariantInit(&ref);
    ref.vt = VT_R8 | VT_BYREF;
    ref.pdblVal = &value;
    ASSERT_EQ(call(3, {ref, longArg(4)}, nullptr), S_OK) << "an integer widens to the double factor";
    EXPECT_EQ(value, 10.0);

    VARIANT holder;
    VariantInit(&holder);
    holder.vt = VT_R8;
    holder.dblVal = 3.0;
    VARIANT throughVariant;
    VariantInit(&throughVariant);
    throughVariant.vt = VT_VARIANT | VT_BYREF;
    throughVariant.pvarVal = &holder;
    ASSERT_EQ(call(3, {throughVariant, longArg(2)}, nullptr), S_OK);
    EXPECT_EQ(holder.dblVal, 6.0);

    VARIANT byValue;
    VariantInit(&byValue);
    byValue.vt = VT_R8;
    byValue.dblVal = 1.0;
    UINT argErr = 99;
    EXPECT_EQ(call(3, {byValue, longArg(2)}, nullptr, nullptr, &argErr), DISP_E_TYPEMISMATCH)
        << "an in-out place must be a reference";
    EXPECT_EQ(argErr, 0u);
}

TEST_F(LateBinding, NamedArgumentsGoToTheirParameters) {
    Bstr a(u"A");
    Bstr b(u"B");
    VARIANT args[2] = {stringArg(a.get()), stringArg(b.get())};
    DISPID named[2] = {0, 1};  // rgvarg[0] is sFirst, rgvarg[1] is sSecond
    DISPPARAMS params{args, named, 2, 2};
    VARIANT result;
    VariantInit(&result);
    ASSERT_EQ(object->Invoke(2, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr), S_OK);
    EXPECT_EQ(std::u16string(result.bstrVal), u"AB");
    VariantClear(&result);
    DISPID twice[2] = {0, 0};
    params.rgdispidNamedArgs = twice;
    EXPECT_EQ(object->Invoke(2, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr),
              DISP_E_PARAMNOTFOUND);
}

TEST_F(LateBinding, BadCallsAreRefusedBeforeTheOperationRuns) {
    VARIANT result;
    VariantInit(&result);
    Bstr text(u"x");
    UINT argErr = 99;
    EXPECT_EQ(call(1, {longArg(1)}, &result), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(call(1, {longArg(1), longArg(2), longArg(3)}, &result), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(call(1, {longArg(1), stringArg(text.get())}, &result, nullptr, &argErr), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 1u) << "the index in rgvarg of the first argument, a";
    EXPECT_EQ(call(5, {longArg(RED), longArg(300)}, &result, nullptr, &argErr), DISP_E_OVERFLOW);
    EXPECT_EQ(call(99, {}, &result), DISP_E_MEMBERNOTFOUND);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(object->Invoke(6, IID_NULL, 0, DISPATCH_PROPERTYPUT, &none, &result, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);

    SAFEARRAY* strings = SafeArrayCreateVector(VT_BSTR, 0, 1);
    VARIANT wrongArray;
    VariantInit(&wrongArray);
    wrongArray.vt = VT_ARRAY | VT_I2;  // claims shorts, holds strings
    wrongArray.parray = strings;
    EXPECT_EQ(call(7, {wrongArray}, &result), DISP_E_TYPEMISMATCH);
    SafeArrayDestroy(strings);
    EXPECT_EQ(result.vt, VT_EMPTY);
}

TEST_F(LateBinding, EnumerationsAndSmallIntegersConvert) {
    VARIANT flag;
    VariantInit(&flag);
    flag.vt = VT_I2;
    flag.iVal = 3;
    ASSERT_EQ(call(5, {longArg(GREEN), flag}, nullptr), S_OK);
    VARIANT result;
    VariantInit(&result);
    ASSERT_EQ(call(6, {}, &result), S_OK);
    EXPECT_EQ(result.lVal, 302);
}

TEST_F(LateBinding, AFailingOperationFillsTheExceptionFromItsErrorObject) {
    EXCEPINFO info{};
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(call(4, {longArg(E_FAIL)}, &result, &info), DISP_E_EXCEPTION);
    EXPECT_EQ(info.scode, E_FAIL);
    EXPECT_EQ(std::u16string(info.bstrSource), u"Calculator");
    EXPECT_EQ(std::u16string(info.bstrDescription), u"Failure requested");
    EXPECT_EQ(info.bstrHelpFile, nullptr);
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    Ref<IErrorInfo> left;
    EXPECT_EQ(GetErrorInfo(0, left.put()), S_FALSE) << "the exception took the error object over";

    EXPECT_EQ(call(4, {longArg(E_FAIL)}, &result, nullptr), E_FAIL) << "without a place, the code itself";
    EXPECT_EQ(GetErrorInfo(0, left.put()), S_OK) << "and the error object stays for the caller";
}

// A script passes its booleans, its integers of any width, its numbers as text and its
// variables by reference; each converts as automation converts it.
TEST_F(LateBinding, ArgumentsConvertAsAutomationConvertsThem) {
    VARIANT truth;
    VariantInit(&truth);
    truth.vt = VT_BOOL;
    truth.boolVal = VARIANT_TRUE;
    VARIANT result;
    VariantInit(&result);
    ASSERT_EQ(call(5, {longArg(GREEN), truth}, nullptr), S_OK) << "VARIANT_TRUE into an unsigned byte";
    ASSERT_EQ(call(6, {}, &result), S_OK);
    EXPECT_EQ(result.lVal, 255 * 100 + GREEN);

    Bstr forty(u"40");
    VARIANT big;
    VariantInit(&big);
    big.vt = VT_I8;
    big.llVal = 2;
    ASSERT_EQ(call(1, {big, stringArg(forty.get())}, &result), S_OK) << "text and a 64-bit integer into LONGs";
    EXPECT_EQ(result.lVal, 42);
    big.llVal = 1LL << 40;
    UINT argErr = 99;
    EXPECT_EQ(call(1, {big, longArg(0)}, &result, nullptr, &argErr), DISP_E_OVERFLOW);
    EXPECT_EQ(argErr, 0u);

    VARIANT missing;
    VariantInit(&missing);
    missing.vt = VT_ERROR;
    missing.scode = DISP_E_PARAMNOTFOUND;
    EXPECT_EQ(call(1, {missing, longArg(0)}, &result), DISP_E_PARAMNOTOPTIONAL) << "an omitted argument";

    // A script variable holding an integer, passed by reference where a double is declared,
    // takes the double back.
    VARIANT variable;
    VariantInit(&variable);
    variable.vt = VT_I2;
    variable.iVal = 3;
    VARIANT reference;
    VariantInit(&reference);
    reference.vt = VT_VARIANT | VT_BYREF;
    reference.pvarVal = &variable;
    Bstr half(u"0.5");
    ASSERT_EQ(call(3, {reference, stringArg(half.get())}, nullptr), S_OK);
    EXPECT_EQ(variable.vt, VT_R8);
    EXPECT_EQ(variable.dblVal, 1.5);
    Bstr word(u"three");
    variable.vt = VT_BSTR;
    variable.bstrVal = word.get();
    EXPECT_EQ(call(3, {reference, longArg(2)}, nullptr, nullptr, &argErr), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 0u);
    EXPECT_EQ(variable.bstrVal, word.get()) << "a refused variable is left as it was";
}

// An error object left on the thread by an earlier call describes nothing the next call does.
TEST_F(LateBinding, TheExceptionComesOnlyFromTheFailingCallsOwnErrorObject) {
    ASSERT_EQ(call(4, {longArg(E_FAIL)}, nullptr, nullptr), E_FAIL) << "posts, and nobody fetches it";
    EXCEPINFO info{};
    info.bstrDescription = reinterpret_cast<BSTR>(1);
    EXPECT_EQ(call(4, {longArg(E_ABORT)}, nullptr, &info), DISP_E_EXCEPTION);
    EXPECT_EQ(info.scode, E_ABORT);
    EXPECT_EQ(info.bstrSource, nullptr);
    EXPECT_EQ(info.bstrDescription, nullptr) << "not the earlier call's \"Failure requested\"";
    Ref<IErrorInfo> left;
    ASSERT_EQ(GetErrorInfo(0, left.put()), S_OK) << "the earlier object stays as it was";
    Bstr description;
    left->GetDescription(description.put());
    EXPECT_EQ(description.str(), u"Failure requested");
}

}  // namespace
