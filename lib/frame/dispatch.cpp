// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/frame/operation.h"
#include "platform/com/errorinfo.h"
#include "platform/com/guid.h"

#include <vector>

namespace qfc
{

namespace
{

char16_t foldAscii(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

// A NUL-terminated UTF-16 name equals an ASCII name, ignoring ASCII case.
bool sameName(const OLECHAR *name, const char *ascii)
{
    if (!name)
        return false;
    std::size_t i = 0;
    for (; ascii[i] != '\0'; ++i) {
        if (name[i] == 0 || foldAscii(name[i]) != foldAscii(static_cast<char16_t>(ascii[i])))
            return false;
    }
    return name[i] == 0;
}

const Operation *findOperation(std::span<const Operation> operations, DISPID id)
{
    for (const Operation &op : operations) {
        if (op.dispid == id)
            return &op;
    }
    return nullptr;
}

} // namespace

HRESULT dispatchInvoke(ObjectBase *object,
    std::span<const Operation> operations,
    DISPID member,
    const IID *iid,
    std::uint16_t flags,
    DISPPARAMS *params,
    VARIANT *result,
    EXCEPINFO *exception,
    std::uint32_t *argError)
{
    if (iid && !(*iid == mrb::platform::IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    const Operation *op = findOperation(operations, member);
    if (!op || !(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)))
        return DISP_E_MEMBERNOTFOUND;
    DISPPARAMS none {};
    if (!params)
        params = &none;
    if ((params->cArgs > 0 && !params->rgvarg) || params->cNamedArgs > params->cArgs
        || (params->cNamedArgs > 0 && !params->rgdispidNamedArgs))
        return E_INVALIDARG;

    const std::size_t count = op->params().size();
    const std::uint32_t positional = params->cArgs - params->cNamedArgs;
    if (positional > count)
        return DISP_E_BADPARAMCOUNT;
    std::vector<VARIANT *> byPosition(count, nullptr);
    std::vector<std::uint32_t> slotOf(count, 0); // index into rgvarg, for argError
    for (std::uint32_t i = 0; i < positional; ++i) {
        byPosition[i] = &params->rgvarg[params->cArgs - 1 - i];
        slotOf[i] = params->cArgs - 1 - i;
    }
    for (std::uint32_t k = 0; k < params->cNamedArgs; ++k) {
        const DISPID position = params->rgdispidNamedArgs[k];
        if (position < 0 || static_cast<std::size_t>(position) >= count || byPosition[position]) {
            if (argError)
                *argError = k;
            return DISP_E_PARAMNOTFOUND;
        }
        byPosition[position] = &params->rgvarg[k];
        slotOf[position] = k;
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (!op->params()[i].optional && !byPosition[i])
            return DISP_E_BADPARAMCOUNT;
    }

    if (result)
        VariantInit(result);
    object->clearError();
    std::uint32_t bad = 0;
    const HRESULT status = op->invoke(object, op->params(), byPosition.data(), result, &bad);
    if (SUCCEEDED(status))
        return status;
    if (object->lastError()) {
        mrb::platform::fillExcepInfo(*object->lastError(), exception);
        return DISP_E_EXCEPTION;
    }
    if (argError && bad < count)
        *argError = slotOf[bad];
    return status;
}

HRESULT dispatchIdsOfNames(
    std::span<const Operation> operations, const IID *iid, OLECHAR **names, std::uint32_t count, DISPID *ids)
{
    if (!names || !ids)
        return E_POINTER;
    if (iid && !(*iid == mrb::platform::IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    for (std::uint32_t i = 0; i < count; ++i)
        ids[i] = DISPID_UNKNOWN;
    if (count == 0)
        return S_OK;
    const Operation *found = nullptr;
    for (const Operation &op : operations) {
        if (sameName(names[0], op.name)) {
            found = &op;
            break;
        }
    }
    if (!found)
        return DISP_E_UNKNOWNNAME;
    ids[0] = found->dispid;
    HRESULT status = S_OK;
    for (std::uint32_t i = 1; i < count; ++i) {
        for (std::size_t p = 0; p < found->params().size(); ++p) {
            if (sameName(names[i], found->params()[p].name))
                ids[i] = static_cast<DISPID>(p);
        }
        if (ids[i] == DISPID_UNKNOWN)
            status = DISP_E_UNKNOWNNAME;
    }
    return status;
}

} // namespace qfc
