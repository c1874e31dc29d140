// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// Strings, values and arrays of the component runtime (see abi.h for the
// memory contract every module of the process shares).
#include "platform/com/abi.h"
#include "platform/com/bstr.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace
{

constexpr std::size_t prefixBytes = sizeof(std::uint32_t);

std::uint32_t byteLengthOf(BSTR s)
{
    std::uint32_t bytes = 0;
    std::memcpy(&bytes, reinterpret_cast<const char *>(s) - prefixBytes, sizeof bytes);
    return bytes;
}

std::size_t elementSize(VARTYPE vt)
{
    switch (vt) {
    case VT_UI1:
    case VT_I1:
        return 1;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL:
        return 2;
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_ERROR:
        return 4;
    case VT_R8:
    case VT_I8:
    case VT_UI8:
    case VT_CY:
    case VT_DATE:
        return 8;
    case VT_BSTR:
        return sizeof(BSTR);
    case VT_DISPATCH:
    case VT_UNKNOWN:
        return sizeof(void *);
    case VT_VARIANT:
        return sizeof(VARIANT);
    default:
        return 0;
    }
}

std::uint16_t featuresOf(VARTYPE vt)
{
    switch (vt) {
    case VT_BSTR:
        return FADF_BSTR;
    case VT_VARIANT:
        return FADF_VARIANT;
    case VT_DISPATCH:
        return FADF_DISPATCH;
    case VT_UNKNOWN:
        return FADF_UNKNOWN;
    default:
        return 0;
    }
}

const SAFEARRAYBOUND *boundOf(const SAFEARRAY *array, std::uint32_t index)
{
    // The descriptor holds cDims bounds although the type declares one.
    const char *first = reinterpret_cast<const char *>(array) + offsetof(SAFEARRAY, rgsabound);
    return reinterpret_cast<const SAFEARRAYBOUND *>(first + index * sizeof(SAFEARRAYBOUND));
}

bool elementCount(const SAFEARRAY *array, std::size_t *count)
{
    std::size_t total = 1;
    for (std::uint32_t i = 0; i < array->cDims; ++i) {
        const std::size_t n = boundOf(array, i)->cElements;
        if (n != 0 && total > SIZE_MAX / n)
            return false;
        total *= n;
    }
    *count = array->cDims == 0 ? 0 : total;
    return true;
}

void releaseUnknown(IUnknown *p)
{
    if (p)
        p->lpVtbl->Release(p);
}

void clearElements(SAFEARRAY *array)
{
    std::size_t count = 0;
    if (!array->pvData || !elementCount(array, &count))
        return;
    if (array->fFeatures & FADF_BSTR) {
        auto *items = static_cast<BSTR *>(array->pvData);
        for (std::size_t i = 0; i < count; ++i)
            SysFreeString(items[i]);
    } else if (array->fFeatures & FADF_VARIANT) {
        auto *items = static_cast<VARIANT *>(array->pvData);
        for (std::size_t i = 0; i < count; ++i)
            VariantClear(&items[i]);
    } else if (array->fFeatures & (FADF_UNKNOWN | FADF_DISPATCH)) {
        auto *items = static_cast<IUnknown **>(array->pvData);
        for (std::size_t i = 0; i < count; ++i)
            releaseUnknown(items[i]);
    }
}

} // namespace

BSTR mrb::platform::allocBstrUnits(std::uint32_t len)
{
    if (len > (UINT32_MAX - prefixBytes - sizeof(OLECHAR)) / sizeof(OLECHAR))
        return nullptr;
    const std::uint32_t bytes = len * static_cast<std::uint32_t>(sizeof(OLECHAR));
    auto *block = static_cast<char *>(std::malloc(prefixBytes + bytes + sizeof(OLECHAR)));
    if (!block)
        return nullptr;
    std::memcpy(block, &bytes, sizeof bytes);
    auto *units = reinterpret_cast<OLECHAR *>(block + prefixBytes);
    units[len] = 0;
    return units;
}

extern "C" {

BSTR SysAllocStringLen(const OLECHAR *text, std::uint32_t len)
{
    BSTR units = mrb::platform::allocBstrUnits(len);
    if (!units)
        return nullptr;
    if (text)
        std::memcpy(units, text, len * sizeof(OLECHAR));
    else
        std::memset(units, 0, len * sizeof(OLECHAR));
    return units;
}

BSTR SysAllocString(const OLECHAR *text)
{
    if (!text)
        return nullptr;
    std::uint32_t len = 0;
    while (text[len] != 0)
        ++len;
    return SysAllocStringLen(text, len);
}

void SysFreeString(BSTR s)
{
    if (s)
        std::free(reinterpret_cast<char *>(s) - prefixBytes);
}

std::uint32_t SysStringLen(BSTR s)
{
    return s ? byteLengthOf(s) / sizeof(OLECHAR) : 0;
}

std::uint32_t SysStringByteLen(BSTR s)
{
    return s ? byteLengthOf(s) : 0;
}

void VariantInit(VARIANT *v)
{
    if (v)
        std::memset(v, 0, sizeof *v);
}

HRESULT VariantClear(VARIANT *v)
{
    if (!v)
        return E_INVALIDARG;
    if (!(v->vt & VT_BYREF)) {
        if (v->vt & VT_ARRAY) {
            if (v->parray) {
                const HRESULT hr = SafeArrayDestroy(v->parray);
                if (FAILED(hr))
                    return hr;
            }
        } else {
            switch (v->vt) {
            case VT_BSTR:
                SysFreeString(v->bstrVal);
                break;
            case VT_DISPATCH:
            case VT_UNKNOWN:
                releaseUnknown(v->punkVal);
                break;
            default:
                break;
            }
        }
    }
    std::memset(v, 0, sizeof *v);
    return S_OK;
}

HRESULT VariantCopy(VARIANT *dest, const VARIANT *src)
{
    if (!dest || !src)
        return E_INVALIDARG;
    if (dest == src)
        return S_OK;
    VARIANT copy = *src;
    if (!(src->vt & VT_BYREF)) {
        if (src->vt & VT_ARRAY) {
            copy.parray = nullptr;
            if (src->parray) {
                const HRESULT hr = SafeArrayCopy(src->parray, &copy.parray);
                if (FAILED(hr))
                    return hr;
            }
        } else if (src->vt == VT_BSTR && src->bstrVal) {
            copy.bstrVal = SysAllocStringLen(src->bstrVal, SysStringLen(src->bstrVal));
            if (!copy.bstrVal)
                return E_OUTOFMEMORY;
        } else if ((src->vt == VT_DISPATCH || src->vt == VT_UNKNOWN) && src->punkVal) {
            src->punkVal->lpVtbl->AddRef(src->punkVal);
        }
    }
    VariantClear(dest);
    *dest = copy;
    return S_OK;
}

SAFEARRAY *SafeArrayCreateVector(VARTYPE vt, std::int32_t lowerBound, std::uint32_t count)
{
    const std::size_t size = elementSize(vt);
    if (size == 0 || count > SIZE_MAX / size)
        return nullptr;
    auto *array = static_cast<SAFEARRAY *>(std::calloc(1, sizeof(SAFEARRAY)));
    if (!array)
        return nullptr;
    array->cDims = 1;
    array->fFeatures = featuresOf(vt);
    array->cbElements = static_cast<std::uint32_t>(size);
    array->rgsabound[0].cElements = count;
    array->rgsabound[0].lLbound = lowerBound;
    if (count > 0) {
        array->pvData = std::calloc(count, size);
        if (!array->pvData) {
            std::free(array);
            return nullptr;
        }
    }
    return array;
}

HRESULT SafeArrayDestroy(SAFEARRAY *array)
{
    if (!array)
        return S_OK;
    if (array->cLocks > 0)
        return static_cast<HRESULT>(0x8002000D); // DISP_E_ARRAYISLOCKED
    clearElements(array);
    std::free(array->pvData);
    std::free(array);
    return S_OK;
}

HRESULT SafeArrayGetLBound(SAFEARRAY *array, std::uint32_t dim, std::int32_t *bound)
{
    if (!array || !bound)
        return E_INVALIDARG;
    if (dim < 1 || dim > array->cDims)
        return DISP_E_BADINDEX;
    // Bounds are stored with the last dimension first.
    *bound = boundOf(array, array->cDims - dim)->lLbound;
    return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY *array, std::uint32_t dim, std::int32_t *bound)
{
    if (!array || !bound)
        return E_INVALIDARG;
    if (dim < 1 || dim > array->cDims)
        return DISP_E_BADINDEX;
    const SAFEARRAYBOUND *b = boundOf(array, array->cDims - dim);
    *bound = static_cast<std::int32_t>(static_cast<std::int64_t>(b->lLbound) + b->cElements - 1);
    return S_OK;
}

HRESULT SafeArrayGetVartype(SAFEARRAY *array, VARTYPE *vt)
{
    if (!array || !vt)
        return E_INVALIDARG;
    if (array->fFeatures & FADF_BSTR)
        *vt = VT_BSTR;
    else if (array->fFeatures & FADF_VARIANT)
        *vt = VT_VARIANT;
    else if (array->fFeatures & FADF_DISPATCH)
        *vt = VT_DISPATCH;
    else if (array->fFeatures & FADF_UNKNOWN)
        *vt = VT_UNKNOWN;
    else if (array->cbElements == 1)
        *vt = VT_UI1;
    else if (array->cbElements == 2)
        *vt = VT_I2;
    else if (array->cbElements == 4)
        *vt = VT_I4;
    else if (array->cbElements == 8)
        *vt = VT_R8;
    else
        return DISP_E_BADVARTYPE;
    return S_OK;
}

HRESULT SafeArrayCopy(SAFEARRAY *array, SAFEARRAY **out)
{
    if (!array || !out)
        return E_INVALIDARG;
    *out = nullptr;
    std::size_t count = 0;
    if (array->cDims == 0 || !elementCount(array, &count)
        || (array->cbElements && count > SIZE_MAX / array->cbElements))
        return E_INVALIDARG;
    const std::size_t descriptorBytes = offsetof(SAFEARRAY, rgsabound) + array->cDims * sizeof(SAFEARRAYBOUND);
    auto *copy = static_cast<SAFEARRAY *>(
        std::calloc(1, descriptorBytes < sizeof(SAFEARRAY) ? sizeof(SAFEARRAY) : descriptorBytes));
    if (!copy)
        return E_OUTOFMEMORY;
    std::memcpy(copy, array, descriptorBytes);
    copy->cLocks = 0;
    copy->pvData = nullptr;
    const std::size_t bytes = count * array->cbElements;
    if (bytes > 0 && array->pvData) {
        copy->pvData = std::calloc(1, bytes);
        if (!copy->pvData) {
            std::free(copy);
            return E_OUTOFMEMORY;
        }
        if (array->fFeatures & FADF_BSTR) {
            const auto *from = static_cast<const BSTR *>(array->pvData);
            auto *to = static_cast<BSTR *>(copy->pvData);
            for (std::size_t i = 0; i < count; ++i) {
                if (from[i] && !(to[i] = SysAllocStringLen(from[i], SysStringLen(from[i])))) {
                    SafeArrayDestroy(copy);
                    return E_OUTOFMEMORY;
                }
            }
        } else if (array->fFeatures & FADF_VARIANT) {
            const auto *from = static_cast<const VARIANT *>(array->pvData);
            auto *to = static_cast<VARIANT *>(copy->pvData);
            for (std::size_t i = 0; i < count; ++i) {
                const HRESULT hr = VariantCopy(&to[i], &from[i]);
                if (FAILED(hr)) {
                    SafeArrayDestroy(copy);
                    return hr;
                }
            }
        } else {
            std::memcpy(copy->pvData, array->pvData, bytes);
            if (array->fFeatures & (FADF_UNKNOWN | FADF_DISPATCH)) {
                auto *items = static_cast<IUnknown **>(copy->pvData);
                for (std::size_t i = 0; i < count; ++i) {
                    if (items[i])
                        items[i]->lpVtbl->AddRef(items[i]);
                }
            }
        }
    }
    *out = copy;
    return S_OK;
}

} // extern "C"
