// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/serverobject.h"
#include "platform/com/widestring_p.h"

#include <windows.h>
// after windows.h, whose types they use
#include <objbase.h>
#include <oleauto.h>

namespace mrb::platform
{

ComApartment::ComApartment()
    // RPC_E_CHANGED_MODE: the thread is in another kind of apartment, which
    // serves as well and is not ours to end.
    : m_made(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
{
}

ComApartment::~ComApartment()
{
    if (m_made)
        CoUninitialize();
}

void *createAutomationObject(const std::string &progId, std::int32_t *status)
{
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(toWide(progId).c_str(), &clsid);
    IDispatch *object = nullptr;
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch, reinterpret_cast<void **>(&object));
    *status = SUCCEEDED(hr) && !object ? E_NOINTERFACE : hr;
    return SUCCEEDED(hr) ? object : nullptr;
}

} // namespace mrb::platform
