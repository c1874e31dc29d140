// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/library/com/comapifuns.h"

#include "platform/com/bstr.h"
#include "platform/com/errorinfo.h"
#include "platform/os/failurelog.h"

namespace mrb::core
{

using platform::Bstr;

namespace
{

std::string resultOf(HRESULT hr, const Bstr &result)
{
    return SUCCEEDED(hr) ? result.utf8() : std::string();
}

// The calls whose outcome the program does not act on: a failed one is only traced.
void traceFailure(const char *operation, HRESULT hr)
{
    if (FAILED(hr))
        platform::logIgnoredFailure(operation, platform::describeStatus(hr));
}

} // namespace

ComApiFuns::ComApiFuns(platform::ComPtr<QfcAPIFuns> object)
    : m_object(std::move(object))
{
}

std::string ComApiFuns::readIni(const std::string &file, const std::string &section, const std::string &key)
{
    Bstr fileText(file);
    Bstr sectionText(section);
    Bstr keyText(key);
    Bstr result;
    const HRESULT hr =
        m_object->lpVtbl->ReadIni(m_object.get(), fileText.get(), sectionText.get(), keyText.get(), result.out());
    return resultOf(hr, result);
}

void ComApiFuns::writeIni(
    const std::string &file, const std::string &section, const std::string &key, const std::string &value)
{
    // All four go by reference; the operation may replace them, and Bstr frees
    // whatever they hold afterwards.
    Bstr fileText(file);
    Bstr sectionText(section);
    Bstr keyText(key);
    Bstr valueText(value);
    BSTR f = fileText.release();
    BSTR s = sectionText.release();
    BSTR k = keyText.release();
    BSTR v = valueText.release();
    traceFailure("WriteIni", m_object->lpVtbl->WriteIni(m_object.get(), &f, &s, &k, &v));
    SysFreeString(f);
    SysFreeString(s);
    SysFreeString(k);
    SysFreeString(v);
}

void ComApiFuns::mapNetDrive(WinHandle owner, std::int32_t action)
{
    traceFailure("MapNetDrive", m_object->lpVtbl->MapNetDrive(m_object.get(), owner, action));
}

void ComApiFuns::disconnectNetDrive(WinHandle owner, std::int32_t action)
{
    traceFailure("DisconnectNetDrive", m_object->lpVtbl->DisconnectNetDrive(m_object.get(), owner, action));
}

std::string ComApiFuns::getFileSaveName(WinHandle owner,
    const std::string &title,
    const std::string &fileName,
    const std::string &filter,
    const std::string &defDir,
    const std::string &defExt)
{
    Bstr titleText(title);
    Bstr nameText(fileName);
    Bstr filterText(filter); // keeps the NUL separators
    Bstr dirText(defDir);
    Bstr extText(defExt);
    Bstr result;
    const HRESULT hr = m_object->lpVtbl->GetFileSaveName(m_object.get(),
        owner,
        titleText.get(),
        nameText.get(),
        filterText.get(),
        dirText.get(),
        extText.get(),
        result.out());
    return resultOf(hr, result);
}

void ComApiFuns::execFile(const std::string &path, WindowState state)
{
    Bstr pathText(path);
    traceFailure(
        "ExecFile", m_object->lpVtbl->ExecFile(m_object.get(), pathText.get(), static_cast<std::int32_t>(state)));
}

void ComApiFuns::execCmd(const std::string &command, WindowState state)
{
    Bstr commandText(command);
    traceFailure(
        "ExecCmd", m_object->lpVtbl->ExecCmd(m_object.get(), commandText.get(), static_cast<std::int32_t>(state)));
}

std::string ComApiFuns::chooseFolder(WinHandle owner, const std::string &prompt)
{
    Bstr promptText(prompt);
    Bstr result;
    const HRESULT hr = m_object->lpVtbl->ChooseFolder(m_object.get(), owner, promptText.get(), result.out());
    return resultOf(hr, result);
}

} // namespace mrb::core
