// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/errorinfo.h"

#include "platform/com/bstr.h"
#include "platform/com/comptr.h"
#include "platform/com/guid.h"

#include <atomic>
#include <cstdio>
#include <new>

namespace mrb::platform
{

namespace
{

// A small immutable IErrorInfo object, created with one reference.
struct ErrorInfoObject {
    ErrorInfoObject(const IErrorInfoVtbl *table, ErrorInfo record)
        : iface {table}
        , info(std::move(record))
    {
    }
    IErrorInfo iface;
    std::atomic<std::uint32_t> refs {1};
    ErrorInfo info;
};

ErrorInfoObject *self(IErrorInfo *p)
{
    return reinterpret_cast<ErrorInfoObject *>(p);
}

HRESULT queryInterface(IErrorInfo *p, const IID *iid, void **out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (!iid)
        return E_POINTER;
    if (*iid == IID_IUnknown || *iid == IID_IErrorInfo) {
        self(p)->refs.fetch_add(1);
        *out = p;
        return S_OK;
    }
    return E_NOINTERFACE;
}

std::uint32_t addRef(IErrorInfo *p)
{
    return self(p)->refs.fetch_add(1) + 1;
}

std::uint32_t release(IErrorInfo *p)
{
    const std::uint32_t left = self(p)->refs.fetch_sub(1) - 1;
    if (left == 0)
        delete self(p);
    return left;
}

HRESULT getGuid(IErrorInfo *, GUID *guid)
{
    if (!guid)
        return E_POINTER;
    *guid = IID_NULL;
    return S_OK;
}

HRESULT getSource(IErrorInfo *p, BSTR *out)
{
    if (!out)
        return E_POINTER;
    *out = allocBstr(self(p)->info.source);
    return S_OK;
}

HRESULT getDescription(IErrorInfo *p, BSTR *out)
{
    if (!out)
        return E_POINTER;
    *out = allocBstr(self(p)->info.description);
    return S_OK;
}

HRESULT getHelpFile(IErrorInfo *, BSTR *out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    return S_OK;
}

HRESULT getHelpContext(IErrorInfo *, std::uint32_t *out)
{
    if (!out)
        return E_POINTER;
    *out = 0;
    return S_OK;
}

const IErrorInfoVtbl errorInfoTable = {
    queryInterface,
    addRef,
    release,
    getGuid,
    getSource,
    getDescription,
    getHelpFile,
    getHelpContext,
};

} // namespace

void fillExcepInfo(const ErrorInfo &info, EXCEPINFO *out)
{
    if (!out)
        return;
    *out = EXCEPINFO {};
    out->bstrSource = allocBstr(info.source);
    out->bstrDescription = allocBstr(info.description);
    out->scode = info.number;
}

ErrorInfo takeExcepInfo(EXCEPINFO *record)
{
    ErrorInfo info;
    if (!record)
        return info;
    if (record->pfnDeferredFillIn)
        record->pfnDeferredFillIn(record);
    info.number = record->scode != 0 ? record->scode : static_cast<HRESULT>(record->wCode);
    info.source = toUtf8(record->bstrSource);
    info.description = toUtf8(record->bstrDescription);
    SysFreeString(record->bstrSource);
    SysFreeString(record->bstrDescription);
    SysFreeString(record->bstrHelpFile);
    *record = EXCEPINFO {};
    return info;
}

IErrorInfo *makeErrorInfo(const ErrorInfo &info)
{
    auto *object = new (std::nothrow) ErrorInfoObject(&errorInfoTable, info);
    return object ? &object->iface : nullptr;
}

std::optional<ErrorInfo> lastErrorOf(IUnknown *object, HRESULT status)
{
    if (!object)
        return std::nullopt;
    ComPtr<IErrorInfo> record;
    if (FAILED(object->lpVtbl->QueryInterface(object, &IID_IErrorInfo, record.put())) || !record)
        return std::nullopt;
    ErrorInfo info;
    info.number = status;
    Bstr source;
    Bstr description;
    record->lpVtbl->GetSource(record.get(), source.out());
    record->lpVtbl->GetDescription(record.get(), description.out());
    info.source = source.utf8();
    info.description = description.utf8();
    return info;
}

std::string describeStatus(HRESULT status)
{
    const char *text = nullptr;
    switch (status) {
    case S_OK:
        text = "success";
        break;
    case S_FALSE:
        text = "success (false)";
        break;
    case E_NOTIMPL:
        text = "not implemented";
        break;
    case E_NOINTERFACE:
        text = "interface not supported";
        break;
    case E_POINTER:
        text = "invalid pointer";
        break;
    case E_FAIL:
        text = "unspecified failure";
        break;
    case E_UNEXPECTED:
        text = "unexpected failure";
        break;
    case E_OUTOFMEMORY:
        text = "out of memory";
        break;
    case E_INVALIDARG:
        text = "invalid argument";
        break;
    case CLASS_E_NOAGGREGATION:
        text = "aggregation not supported";
        break;
    case CLASS_E_CLASSNOTAVAILABLE:
        text = "class not available from this library";
        break;
    case REGDB_E_CLASSNOTREG:
        text = "class not registered";
        break;
    case CO_E_DLLNOTFOUND:
        text = "library not found or not loadable";
        break;
    case CO_E_ERRORINDLL:
        text = "library lacks the component entry points";
        break;
    case SELFREG_E_CLASS:
        text = "class registration failed";
        break;
    case SELFREG_E_TYPELIB:
        text = "type library registration failed";
        break;
    case DISP_E_MEMBERNOTFOUND:
        text = "member not found";
        break;
    case DISP_E_TYPEMISMATCH:
        text = "type mismatch";
        break;
    case DISP_E_UNKNOWNNAME:
        text = "unknown name";
        break;
    case DISP_E_EXCEPTION:
        text = "exception raised by the operation";
        break;
    case DISP_E_BADPARAMCOUNT:
        text = "wrong number of arguments";
        break;
    default:
        text = "failure";
        break;
    }
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(status));
    return std::string(text) + " (" + code + ")";
}

} // namespace mrb::platform
