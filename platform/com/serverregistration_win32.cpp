// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/serverregistration.h"
#include "platform/com/widestring_p.h"

#include <windows.h>
// after windows.h, whose types it uses
#include <oleauto.h>

namespace mrb::platform
{

namespace
{

class TypeLibrary
{
public:
    explicit TypeLibrary(const std::string &file, REGKIND kind)
    {
        m_status = LoadTypeLibEx(toWide(file).c_str(), kind, &m_lib);
    }
    ~TypeLibrary()
    {
        if (m_lib)
            m_lib->Release();
    }
    TypeLibrary(const TypeLibrary &) = delete;
    TypeLibrary &operator=(const TypeLibrary &) = delete;

    HRESULT status() const { return m_status; }
    ITypeLib *get() const { return m_lib; }

private:
    ITypeLib *m_lib = nullptr;
    HRESULT m_status = E_FAIL;
};

} // namespace

bool setClassesValue(const std::string &key, const std::string &name, const std::string &value)
{
    HKEY handle = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT,
            toWide(key).c_str(),
            0,
            nullptr,
            REG_OPTION_NON_VOLATILE,
            KEY_SET_VALUE,
            nullptr,
            &handle,
            nullptr)
        != ERROR_SUCCESS)
        return false;
    const std::wstring text = toWide(value);
    const LSTATUS status = RegSetValueExW(handle,
        name.empty() ? nullptr : toWide(name).c_str(),
        0,
        REG_SZ,
        reinterpret_cast<const BYTE *>(text.c_str()),
        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
    return status == ERROR_SUCCESS;
}

void removeClassesValue(const std::string &key, const std::string &name)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, toWide(key).c_str(), 0, KEY_SET_VALUE, &handle) != ERROR_SUCCESS)
        return;
    // a value already gone is what we wanted
    RegDeleteValueW(handle, name.empty() ? nullptr : toWide(name).c_str());
    RegCloseKey(handle);
}

void removeClassesKeyIfEmpty(const std::string &key)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, toWide(key).c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return;
    DWORD subKeys = 0;
    DWORD values = 0;
    const LSTATUS status = RegQueryInfoKeyW(
        handle, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(handle);
    if (status == ERROR_SUCCESS && subKeys == 0 && values == 0)
        RegDeleteKeyW(HKEY_CLASSES_ROOT, toWide(key).c_str());
}

std::int32_t registerTypeLibrary(const std::string &file)
{
    return TypeLibrary(file, REGKIND_REGISTER).status();
}

std::int32_t unregisterTypeLibrary(const std::string &file)
{
    const TypeLibrary library(file, REGKIND_NONE);
    if (FAILED(library.status()))
        return library.status();
    TLIBATTR *attributes = nullptr;
    HRESULT status = library.get()->GetLibAttr(&attributes);
    if (FAILED(status))
        return status;
    status = UnRegisterTypeLib(
        attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum, attributes->lcid, attributes->syskind);
    library.get()->ReleaseTLibAttr(attributes);
    // a record that is already gone is what we wanted
    return status == TYPE_E_REGISTRYACCESS ? S_OK : status;
}

} // namespace mrb::platform
