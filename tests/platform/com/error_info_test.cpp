// The per-thread error object.
#include "scoped_registry.h"

#include <comrt/faults.h>

#include <gtest/gtest.h>

#include <thread>

using comrt_test::Bstr;
using comrt_test::Ref;

namespace {

IErrorInfo* makeError(const char16_t* source, const char16_t* description) {
    ICreateErrorInfo* create = nullptr;
    if (FAILED(CreateErrorInfo(&create))) return nullptr;
    create->SetGUID(IID_IDispatch);
    create->SetSource(const_cast<LPOLESTR>(source));
    create->SetDescription(const_cast<LPOLESTR>(description));
    IErrorInfo* info = nullptr;
    create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info));
    create->Release();
    return info;
}

void post(const char16_t* source, const char16_t* description) {
    IErrorInfo* info = makeError(source, description);
    SetErrorInfo(0, info);
    info->Release();
}

std::u16string description(IErrorInfo* info) {
    Bstr text;
    info->GetDescription(text.put());
    return text.str();
}

TEST(ErrorObject, GetHandsTheObjectOverAndClearsTheThread) {
    Ref<IErrorInfo> none;
    EXPECT_EQ(GetErrorInfo(0, none.put()), S_FALSE);
    EXPECT_FALSE(none);

    post(u"Source", u"First");
    Ref<IErrorInfo> got;
    ASSERT_EQ(GetErrorInfo(0, got.put()), S_OK);
    EXPECT_EQ(description(got.get()), u"First");
    Ref<IErrorInfo> again;
    EXPECT_EQ(GetErrorInfo(0, again.put()), S_FALSE) << "fetching clears the thread's object";
}

TEST(ErrorObject, ALaterPostReplacesTheEarlierAndNullClears) {
    post(u"Source", u"First");
    post(u"Source", u"Second");
    Ref<IErrorInfo> got;
    ASSERT_EQ(GetErrorInfo(0, got.put()), S_OK);
    EXPECT_EQ(description(got.get()), u"Second");

    post(u"Source", u"Third");
    EXPECT_EQ(SetErrorInfo(0, nullptr), S_OK);
    EXPECT_EQ(GetErrorInfo(0, got.put()), S_FALSE);
    EXPECT_EQ(SetErrorInfo(1, nullptr), E_INVALIDARG) << "the reserved argument must be 0";
}

TEST(ErrorObject, EachThreadHasItsOwn) {
    post(u"Main", u"Main thread");
    std::u16string seenByWorker = u"untouched";
    HRESULT workerFirst = E_FAIL;
    std::thread worker([&] {
        Ref<IErrorInfo> info;
        workerFirst = GetErrorInfo(0, info.put());
        post(u"Worker", u"Worker thread");  // left behind: freed when the thread ends
        Ref<IErrorInfo> own;
        if (GetErrorInfo(0, own.put()) == S_OK) seenByWorker = description(own.get());
        post(u"Worker", u"Left behind");
    });
    worker.join();
    EXPECT_EQ(workerFirst, S_FALSE) << "the main thread's object is not visible to the worker";
    EXPECT_EQ(seenByWorker, u"Worker thread");
    Ref<IErrorInfo> mine;
    ASSERT_EQ(GetErrorInfo(0, mine.put()), S_OK);
    EXPECT_EQ(description(mine.get()), u"Main thread");
}

TEST(ErrorObject, FieldsReadBackAndUnsetTextsAreNull) {
    ICreateErrorInfo* create = nullptr;
    ASSERT_EQ(CreateErrorInfo(&create), S_OK);
    create->SetGUID(IID_ITypeInfo);
    create->SetDescription(const_cast<LPOLESTR>(u"Only a description"));
    Ref<IErrorInfo> info;
    ASSERT_EQ(create->QueryInterface(IID_IErrorInfo, info.putVoid()), S_OK);
    create->Release();

    GUID guid{};
    EXPECT_EQ(info->GetGUID(&guid), S_OK);
    EXPECT_TRUE(guid == IID_ITypeInfo);
    Bstr source;
    Bstr helpFile;
    EXPECT_EQ(info->GetSource(source.put()), S_OK);
    EXPECT_EQ(source.get(), nullptr);
    EXPECT_EQ(info->GetHelpFile(helpFile.put()), S_OK);
    EXPECT_EQ(helpFile.get(), nullptr);
    DWORD context = 99;
    EXPECT_EQ(info->GetHelpContext(&context), S_OK);
    EXPECT_EQ(context, 0u);
    EXPECT_EQ(description(info.get()), u"Only a description");

    Ref<ICreateErrorInfo> back;
    EXPECT_EQ(info->QueryInterface(IID_ICreateErrorInfo, back.putVoid()), S_OK);
    Ref<IUnknown> other;
    EXPECT_EQ(info->QueryInterface(IID_IDispatch, other.putVoid()), E_NOINTERFACE);
}

TEST(ErrorObject, CreationFailsCleanlyWithoutMemory) {
    comrt::FailAllocationAfter(0);
    ICreateErrorInfo* create = reinterpret_cast<ICreateErrorInfo*>(1);
    EXPECT_EQ(CreateErrorInfo(&create), E_OUTOFMEMORY);
    EXPECT_EQ(create, nullptr);
    comrt::FailAllocationAfter(-1);
}

}  // namespace
