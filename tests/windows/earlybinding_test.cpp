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
#include "tests/windows/earlybound.h"
#include "tests/windows/win32client.h"
#include "tests/windows/win32windows.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace
{

using mrb::platform::ComPtr;
using win32client::EarlyBound;

TEST_F(EarlyBound, AFailedCallLeavesItsRecordForGetErrorInfo)
{
    ComPtr<QfcBase64> base64 = make<QfcBase64>(qfc::CLSID_Base64, qfc::IID_Base64);
    ASSERT_TRUE(base64);
    // Decoding onto a file that exists (the library itself) fails.
    mrb::platform::Bstr text("YWJj");
    mrb::platform::Bstr file(std::getenv("MRB_LIBRARY"));
    BSTR textArg = text.get();
    BSTR fileArg = file.get();
    EXPECT_EQ(base64->lpVtbl->DecodeToFile(base64.get(), &textArg, &fileArg), static_cast<HRESULT>(0x800403E8));

    std::string source;
    std::string description;
    ASSERT_TRUE(win32client::takeThreadError(&source, &description));
    EXPECT_EQ(source, "Base64.DecodeToFile");
    EXPECT_EQ(description, "File already exists.");
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

TEST_F(EarlyBound, HeaderColoursAnswerTheHeadersCustomDrawUntilRemoved)
{
    constexpr std::uint32_t prepaint = 0x1;
    constexpr std::uint32_t itemPrepaint = 0x10001;
    const std::int32_t listView = win32client::makeListView();
    const win32client::CustomDraw before = win32client::headerCustomDraw(listView, itemPrepaint);
    {
        ComPtr<QfcAPIFuns> apiFuns = makeApiFuns();
        ASSERT_TRUE(apiFuns);
        EXPECT_EQ(
            apiFuns->lpVtbl->SetLVHeaderColor(apiFuns.get(), listView, VARIANT_TRUE, 0x00FFFF00, 0x000000FF), S_OK);
    }
    EXPECT_EQ(canUnloadNow(), S_FALSE) << "the library stays while a list view calls into it";
    EXPECT_EQ(win32client::headerCustomDraw(listView, prepaint).answer, 0x20);
    const win32client::CustomDraw item = win32client::headerCustomDraw(listView, itemPrepaint);
    EXPECT_EQ(item.answer, 0);
    EXPECT_EQ(item.textColour, 0x000000FFu);
    EXPECT_EQ(item.backgroundColour, 0x00FFFF00u);

    ComPtr<QfcAPIFuns> apiFuns = makeApiFuns();
    EXPECT_EQ(apiFuns->lpVtbl->SetLVHeaderColor(apiFuns.get(), listView, VARIANT_FALSE, 0, 0), S_OK);
    const win32client::CustomDraw after = win32client::headerCustomDraw(listView, itemPrepaint);
    EXPECT_EQ(after.answer, before.answer);
    EXPECT_EQ(after.textColour, before.textColour);
}

TEST_F(EarlyBound, GetFileIconDrawsIntoBothPictures)
{
    ComPtr<QfcAPIFuns> apiFuns = makeApiFuns();
    ASSERT_TRUE(apiFuns);
    const std::int32_t small = win32client::makeWhitePicture();
    const std::int32_t large = win32client::makeWhitePicture();
    mrb::platform::Bstr file(std::getenv("MRB_LIBRARY"));
    EXPECT_EQ(apiFuns->lpVtbl->GetFileIcon(apiFuns.get(), file.get(), small, large), S_OK);
    EXPECT_GT(win32client::pixelsDrawn(small), 0);
    EXPECT_GT(win32client::pixelsDrawn(large), 0);
}

} // namespace
