// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/latebound.h"

#include "platform/com/bstr.h"

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

} // namespace

std::optional<Variant> getMember(IDispatch *object, std::string_view name, std::optional<std::int32_t> index)
{
    const auto id = idOf(object, name);
    if (!id)
        return std::nullopt;
    Variant argument = Variant::fromInt32(index.value_or(0));
    DISPPARAMS params {index ? argument.get() : nullptr, nullptr, index ? 1u : 0u, 0};
    const IID none = MRB_IID_NULL_INIT;
    const auto invoke = [&](unsigned short flags) -> std::optional<Variant> {
        Variant result;
        if (object->lpVtbl->Invoke(object, *id, &none, 1033, flags, &params, result.get(), nullptr, nullptr) != S_OK)
            return std::nullopt;
        return result;
    };
    // A property is read as one first: some script engines take the two
    // flags together for a call, and a property holding a plain value then
    // fails as no function.
    if (!index) {
        if (auto value = invoke(DISPATCH_PROPERTYGET))
            return value;
    }
    return invoke(DISPATCH_METHOD | DISPATCH_PROPERTYGET);
}

bool putMember(IDispatch *object, std::string_view name, const Variant &value)
{
    const auto id = idOf(object, name);
    if (!id)
        return false;
    VARIANT argument = *value.get(); // borrowed for the call
    DISPID named = -3; // DISPID_PROPERTYPUT
    DISPPARAMS params {&argument, &named, 1, 1};
    const IID none = MRB_IID_NULL_INIT;
    return object->lpVtbl->Invoke(object, *id, &none, 1033, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr)
        == S_OK;
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
