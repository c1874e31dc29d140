// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// QFC_MRB.dll as an early-bound client on Windows meets it: the class
// factory from DllGetClassObject, the slots of the default interface, the
// error record a failed call leaves for GetErrorInfo, and when the library
// may be unloaded.
#include "lib/frame/identities.h"
#include "platform/com/bstr.h"
#include "platform/com/comptr.h"
#include "platform/com/guid.h"
#include "tests/windows/win32client.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace
{

using mrb::platform::ComPtr;

class EarlyBound : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const char *library = std::getenv("MRB_LIBRARY");
        ASSERT_NE(library, nullptr) << "MRB_LIBRARY names the built QFC_MRB.dll";
        getClassObject = reinterpret_cast<DllGetClassObjectFn>(win32client::exportOf(library, "DllGetClassObject"));
        canUnloadNow = reinterpret_cast<DllCanUnloadNowFn>(win32client::exportOf(library, "DllCanUnloadNow"));
        ASSERT_NE(getClassObject, nullptr);
        ASSERT_NE(canUnloadNow, nullptr);
    }

    ComPtr<QfcGenFuns> makeGenFuns()
    {
        ComPtr<IClassFactory> factory;
        EXPECT_EQ(getClassObject(&qfc::CLSID_GenFuns, &mrb::platform::IID_IClassFactory, factory.put()), S_OK);
        ComPtr<QfcGenFuns> object;
        if (factory) {
            EXPECT_EQ(factory->lpVtbl->CreateInstance(factory.get(), nullptr, &qfc::IID_GenFuns, object.put()), S_OK);
        }
        return object;
    }

    DllGetClassObjectFn getClassObject = nullptr;
    DllCanUnloadNowFn canUnloadNow = nullptr;
};

TEST_F(EarlyBound, AFailedCallLeavesItsRecordForGetErrorInfo)
{
    ComPtr<QfcGenFuns> genFuns = makeGenFuns();
    ASSERT_TRUE(genFuns);
    mrb::platform::Bstr text;
    EXPECT_EQ(genFuns->lpVtbl->LongToHTMLColor(genFuns.get(), 255, text.out()), E_NOTIMPL);

    std::string source;
    std::string description;
    ASSERT_TRUE(win32client::takeThreadError(&source, &description));
    EXPECT_EQ(source, "GenFuns.LongToHTMLColor");
    EXPECT_EQ(description, "Not available in the Windows build yet.");
}

TEST_F(EarlyBound, SaysWhichInterfaceLeavesErrorRecords)
{
    ComPtr<QfcGenFuns> genFuns = makeGenFuns();
    ASSERT_TRUE(genFuns);
    ComPtr<ISupportErrorInfo> support;
    ASSERT_EQ(
        genFuns->lpVtbl->QueryInterface(genFuns.get(), &mrb::platform::IID_ISupportErrorInfo, support.put()), S_OK);
    EXPECT_EQ(support->lpVtbl->InterfaceSupportsErrorInfo(support.get(), &qfc::IID_GenFuns), S_OK);
    EXPECT_EQ(support->lpVtbl->InterfaceSupportsErrorInfo(support.get(), &qfc::IID_APIFuns), S_FALSE);
}

TEST_F(EarlyBound, TheLibraryMayGoOnlyWhenNoObjectIsLeft)
{
    {
        ComPtr<QfcGenFuns> genFuns = makeGenFuns();
        ASSERT_TRUE(genFuns);
        EXPECT_EQ(canUnloadNow(), S_FALSE);
    }
    EXPECT_EQ(canUnloadNow(), S_OK);
}

} // namespace
