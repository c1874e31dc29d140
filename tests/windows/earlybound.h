// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "lib/frame/identities.h"
#include "platform/com/comptr.h"
#include "platform/com/guid.h"
#include "tests/windows/win32client.h"

#include <gtest/gtest.h>

#include <cstdlib>

// The built QFC_MRB.dll (MRB_LIBRARY) as an early-bound client meets it:
// objects from its class factory, by their default interfaces.
namespace win32client
{

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

    template <class Interface> mrb::platform::ComPtr<Interface> make(const CLSID &classId, const IID &interfaceId)
    {
        mrb::platform::ComPtr<IClassFactory> factory;
        EXPECT_EQ(getClassObject(&classId, &mrb::platform::IID_IClassFactory, factory.put()), S_OK);
        mrb::platform::ComPtr<Interface> object;
        if (factory) {
            EXPECT_EQ(factory->lpVtbl->CreateInstance(factory.get(), nullptr, &interfaceId, object.put()), S_OK);
        }
        return object;
    }
    mrb::platform::ComPtr<QfcGenFuns> makeGenFuns() { return make<QfcGenFuns>(qfc::CLSID_GenFuns, qfc::IID_GenFuns); }
    mrb::platform::ComPtr<QfcAPIFuns> makeApiFuns() { return make<QfcAPIFuns>(qfc::CLSID_APIFuns, qfc::IID_APIFuns); }

    DllGetClassObjectFn getClassObject = nullptr;
    DllCanUnloadNowFn canUnloadNow = nullptr;
};

} // namespace win32client
