// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/latebound.h"

#include "platform/com/bstr.h"

#include <vector>

namespace mrb::platform
{

namespace
{

std::optional<DISPID> idOf(IDispatch *object, std::string_view name)
{
    if (!object)
        return std::nullopt;
    Bstr text(name);
    OLECHAR *names[] = {text.get()};
    DISPID id = DISPID_UNKNOWN;
    const IID none = MRB_IID_NULL_INIT;
    if (object->lpVtbl->GetIDsOfNames(object, &none, names, 1, 1033, &id) != S_OK)
        return std::nullopt;
    return id;
}

// Invoke with the arguments given in the caller's order: the call takes
// them last first, and an assignment's value (the last) as the named one.
std::optional<Variant> invoke(IDispatch *object,
    std::string_view name,
    unsigned short flags,
    std::span<const Variant> arguments,
    HRESULT *status = nullptr)
{
    const auto id = idOf(object, name);
    if (!id) {
        if (status)
            *status = DISP_E_UNKNOWNNAME;
        return std::nullopt;
    }
    std::vector<VARIANT> reversed; // borrowed for the call
    reversed.reserve(arguments.size());
    for (auto it = arguments.rbegin(); it != arguments.rend(); ++it)
        reversed.push_back(*it->get());
    DISPID named = DISPID_PROPERTYPUT;
    const bool assign = flags == DISPATCH_PROPERTYPUT;
    DISPPARAMS params {reversed.empty() ? nullptr : reversed.data(),
        assign ? &named : nullptr,
        static_cast<unsigned>(reversed.size()),
        assign ? 1u : 0u};
    const IID none = MRB_IID_NULL_INIT;
    Variant result;
    const HRESULT hr = object->lpVtbl->Invoke(
        object, *id, &none, 1033, flags, &params, assign ? nullptr : result.get(), nullptr, nullptr);
    if (status)
        *status = hr;
    if (hr != S_OK)
        return std::nullopt;
    return result;
}

} // namespace

std::optional<Variant> getMember(IDispatch *object, std::string_view name, std::optional<std::int32_t> index)
{
    const Variant argument = Variant::fromInt32(index.value_or(0));
    const std::span<const Variant> arguments(&argument, index ? 1 : 0);
    // A property is read as one first: some script engines take the two
    // flags together for a call, and a property holding a plain value then
    // fails as no function.
    if (!index) {
        if (auto value = invoke(object, name, DISPATCH_PROPERTYGET, arguments))
            return value;
    }
    return callMember(object, name, Access::Call, arguments);
}

bool putMember(IDispatch *object, std::string_view name, const Variant &value)
{
    return callMember(object, name, Access::Assign, std::span<const Variant>(&value, 1)).has_value();
}

std::optional<Variant> callMember(
    IDispatch *object, std::string_view name, Access access, std::span<const Variant> arguments, HRESULT *status)
{
    const unsigned short flags =
        access == Access::Assign ? DISPATCH_PROPERTYPUT : DISPATCH_METHOD | DISPATCH_PROPERTYGET;
    return invoke(object, name, flags, arguments, status);
}

ComPtr<IDispatch> memberObject(
    IDispatch *object, std::string_view name, std::span<const Variant> arguments, HRESULT *status)
{
    const std::optional<Variant> value = callMember(object, name, Access::Call, arguments, status);
    ComPtr<IDispatch> held(value ? objectIn(*value) : nullptr, Ref::Adopt);
    if (value && !held && status)
        *status = DISP_E_TYPEMISMATCH;
    return held;
}

bool implementsInterface(IDispatch *object, const IID &iid)
{
    void *other = nullptr;
    if (!object || object->lpVtbl->QueryInterface(object, &iid, &other) != S_OK || !other)
        return false;
    static_cast<IUnknown *>(other)->lpVtbl->Release(static_cast<IUnknown *>(other));
    return true;
}

IDispatch *objectIn(const Variant &value)
{
    const VARIANT *v = value.get();
    if (v->vt != VT_DISPATCH || !v->pdispVal)
        return nullptr;
    v->pdispVal->lpVtbl->AddRef(v->pdispVal);
    return v->pdispVal;
}

} // namespace mrb::platform
