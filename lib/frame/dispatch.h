// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "lib/frame/argholders_p.h"
#include "lib/frame/arguments.h"
#include "lib/frame/operation.h"
#include "lib/frame/typeinfo.h"
#include "platform/com/guid.h"
#include "platform/com/threaderror.h"

#include <cstdint>
#include <optional>
#include <span>
#include <tuple>
#include <type_traits>
#include <utility>

// The machinery that makes an operation, written as a plain C++ member
// function (see arguments.h for its types), both a slot of its interface
// table (early binding) and an entry of its dispatch table (late binding
// through Invoke). Every call takes a reference on the object, converts the
// arguments, runs the operation and stores the result; Failure sets a failing
// status and the object's error record, any other exception leaves S_OK and
// the empty result. Classes are put together from their lists by the macros
// of classdefinition.h.

namespace qfc
{

// ---- argument and result kinds ---------------------------------------------------

template <class P> struct Arg;

template <> struct Arg<std::string> {
    using Abi = BSTR;
    using Holder = detail::StringHolder;
    static constexpr TypeCode type {VT_BSTR, false};
    static std::string fromAbi(BSTR b) { return mrb::platform::toUtf8(b); }
};
template <> struct Arg<std::int32_t> {
    using Abi = std::int32_t;
    using Holder = detail::IntegerHolder<std::int32_t>;
    static constexpr TypeCode type {VT_I4, false};
    static std::int32_t fromAbi(std::int32_t v) { return v; }
};
template <> struct Arg<std::int16_t> {
    using Abi = std::int16_t;
    using Holder = detail::IntegerHolder<std::int16_t>;
    static constexpr TypeCode type {VT_I2, false};
    static std::int16_t fromAbi(std::int16_t v) { return v; }
};
template <> struct Arg<bool> {
    using Abi = VARIANT_BOOL;
    using Holder = detail::BoolHolder;
    static constexpr TypeCode type {VT_BOOL, false};
    static bool fromAbi(VARIANT_BOOL v) { return v != 0; }
};
template <> struct Arg<VariantArg> {
    using Abi = VARIANT *;
    using Holder = detail::VariantHolder;
    static constexpr TypeCode type {VT_VARIANT, false};
    static VariantArg fromAbi(VARIANT *p) { return VariantArg(p); }
};
template <class T> struct Arg<ByRef<T>> {
    using Abi = T *;
    using Holder = detail::RefHolder<T>;
    static constexpr TypeCode type {detail::RefSlot<T>::vt, true};
    static ByRef<T> fromAbi(T *p) { return ByRef<T>(p); }
};

template <class R> struct Res;

template <> struct Res<std::string> {
    static constexpr TypeCode type {VT_BSTR, false};
    using Abi = BSTR;
    static BSTR toAbi(const std::string &s) { return mrb::platform::allocBstr(s); }
    static BSTR empty() { return mrb::platform::allocBstr({}); }
    static void toVariant(BSTR v, VARIANT *out)
    {
        out->vt = VT_BSTR;
        out->bstrVal = v;
    }
    static void dispose(BSTR v) { SysFreeString(v); }
};
// A string the operation built itself (a long one, made without a copy).
template <> struct Res<mrb::platform::Bstr> {
    static constexpr TypeCode type {VT_BSTR, false};
    using Abi = BSTR;
    static BSTR toAbi(mrb::platform::Bstr &v) { return v.get() ? v.release() : empty(); }
    static BSTR empty() { return mrb::platform::allocBstr({}); }
    static void toVariant(BSTR v, VARIANT *out)
    {
        out->vt = VT_BSTR;
        out->bstrVal = v;
    }
    static void dispose(BSTR v) { SysFreeString(v); }
};
template <> struct Res<std::int32_t> {
    static constexpr TypeCode type {VT_I4, false};
    using Abi = std::int32_t;
    static std::int32_t toAbi(std::int32_t v) { return v; }
    static std::int32_t empty() { return 0; }
    static void toVariant(std::int32_t v, VARIANT *out)
    {
        out->vt = VT_I4;
        out->lVal = v;
    }
    static void dispose(std::int32_t) { }
};
template <> struct Res<std::int16_t> {
    static constexpr TypeCode type {VT_I2, false};
    using Abi = std::int16_t;
    static std::int16_t toAbi(std::int16_t v) { return v; }
    static std::int16_t empty() { return 0; }
    static void toVariant(std::int16_t v, VARIANT *out)
    {
        out->vt = VT_I2;
        out->iVal = v;
    }
    static void dispose(std::int16_t) { }
};
template <> struct Res<bool> {
    static constexpr TypeCode type {VT_BOOL, false};
    using Abi = VARIANT_BOOL;
    static VARIANT_BOOL toAbi(bool v) { return v ? VARIANT_TRUE : VARIANT_FALSE; }
    static VARIANT_BOOL empty() { return VARIANT_FALSE; }
    static void toVariant(VARIANT_BOOL v, VARIANT *out)
    {
        out->vt = VT_BOOL;
        out->boolVal = v;
    }
    static void dispose(VARIANT_BOOL) { }
};
template <> struct Res<StringArray> {
    static constexpr TypeCode type {VT_ARRAY | VT_BSTR, false};
    using Abi = SAFEARRAY *;
    static SAFEARRAY *toAbi(const StringArray &v) { return mrb::platform::makeStringArray(v).release(); }
    static SAFEARRAY *empty() { return SafeArrayCreateVector(VT_BSTR, 0, 0); }
    static void toVariant(SAFEARRAY *v, VARIANT *out)
    {
        out->vt = VT_ARRAY | VT_BSTR;
        out->parray = v;
    }
    static void dispose(SAFEARRAY *v) { SafeArrayDestroy(v); }
};

// ---- calls -------------------------------------------------------------------

template <class T> struct MethodTraits;
template <class C, class R, class... P> struct MethodTraits<R (C::*)(P...)> {
    using Object = C;
    using Result = R;
    static constexpr std::size_t arity = sizeof...(P);
    static constexpr TypeCode args[sizeof...(P) + 1] = {Arg<P>::type..., TypeCode {}};
    static constexpr TypeCode result = [] {
        if constexpr (std::is_void_v<R>)
            return TypeCode {};
        else
            return Res<R>::type;
    }();
};

// Runs one operation under the error convention: a reference on the object
// for the call, the last failure cleared first, Failure recorded and turned
// into its status, any other exception turned into S_OK.
template <class F> HRESULT guardedCall(ObjectBase *object, F &&run)
{
    CallGuard guard(object);
    object->clearError();
    try {
        run();
    } catch (const Failure &failure) {
        object->setError(failure.info());
        mrb::platform::setThreadError(failure.info().source, failure.info().description);
        return FAILED(failure.info().number) ? failure.info().number : E_FAIL;
    } catch (...) {
    }
    return S_OK;
}

template <auto M, class = decltype(M)> struct Call;

template <auto M, class C, class R, class... P> struct Call<M, R (C::*)(P...)> {
    static HRESULT run(C *object, typename Arg<P>::Abi... args, typename Res<R>::Abi *out)
    {
        if (!out)
            return E_POINTER;
        std::optional<R> value;
        const HRESULT status = guardedCall(object, [&] { value.emplace((object->*M)(Arg<P>::fromAbi(args)...)); });
        *out = value ? Res<R>::toAbi(*value) : Res<R>::empty();
        return status;
    }
};

template <auto M, class C, class... P> struct Call<M, void (C::*)(P...)> {
    static HRESULT run(C *object, typename Arg<P>::Abi... args)
    {
        return guardedCall(object, [&] { (object->*M)(Arg<P>::fromAbi(args)...); });
    }
};

// Where an interface pointer lives inside its object.
template <class Iface> struct Face {
    Iface iface;
    ObjectBase *owner;
};

template <class C, class Iface> C *objectOf(Iface *self)
{
    return static_cast<C *>(reinterpret_cast<Face<Iface> *>(self)->owner);
}

// The function that fills an operation's slot of the interface table.
template <class Iface, auto M, class = decltype(M)> struct Slot;

template <class Iface, auto M, class C, class R, class... P> struct Slot<Iface, M, R (C::*)(P...)> {
    static HRESULT call(Iface *self, typename Arg<P>::Abi... args, typename Res<R>::Abi *out)
    {
        if (!self)
            return E_POINTER;
        return Call<M>::run(objectOf<C>(self), args..., out);
    }
};

template <class Iface, auto M, class C, class... P> struct Slot<Iface, M, void (C::*)(P...)> {
    static HRESULT call(Iface *self, typename Arg<P>::Abi... args)
    {
        if (!self)
            return E_POINTER;
        return Call<M>::run(objectOf<C>(self), args...);
    }
};

// The late-bound call of an operation.
template <auto M, class = decltype(M)> struct LateCall;

template <auto M, class C, class R, class... P> struct LateCall<M, R (C::*)(P...)> {
    static HRESULT run(
        ObjectBase *object, std::span<const Param> params, VARIANT *const *args, VARIANT *result, std::uint32_t *badArg)
    {
        return runWith(static_cast<C *>(object), params, args, result, badArg, std::index_sequence_for<P...> {});
    }

private:
    template <std::size_t... I>
    static HRESULT runWith(C *object,
        [[maybe_unused]] std::span<const Param> params,
        [[maybe_unused]] VARIANT *const *args,
        VARIANT *result,
        [[maybe_unused]] std::uint32_t *badArg,
        std::index_sequence<I...>)
    {
        [[maybe_unused]] auto holders =
            std::tuple<typename Arg<P>::Holder...>(typename Arg<P>::Holder(args[I], params[I])...);
        HRESULT status = S_OK;
        ((status == S_OK && FAILED(std::get<I>(holders).status())
                 ? (status = std::get<I>(holders).status(), *badArg = static_cast<std::uint32_t>(I), 0)
                 : 0),
            ...);
        if (FAILED(status))
            return status;
        if constexpr (std::is_void_v<R>) {
            status = Call<M>::run(object, std::get<I>(holders).abi()...);
        } else {
            typename Res<R>::Abi value {};
            status = Call<M>::run(object, std::get<I>(holders).abi()..., &value);
            if (result)
                Res<R>::toVariant(value, result);
            else
                Res<R>::dispose(value);
        }
        return status;
    }
};

// One entry of a class's dispatch table; params names every argument.
template <auto M> constexpr Operation buildOperation(const char *name, DISPID dispid, const Param *params)
{
    using Traits = MethodTraits<decltype(M)>;
    static_assert(Traits::arity <= maxParams, "at most maxParams arguments");
    Operation op {name, dispid, &LateCall<M>::run, Traits::result, Traits::arity};
    for (std::size_t i = 0; i < Traits::arity; ++i) {
        op.paramList[i] = params[i];
        op.typeList[i] = Traits::args[i];
    }
    return op;
}
template <auto M, std::size_t N>
constexpr Operation operation(const char *name, DISPID dispid, const Param (&params)[N])
{
    static_assert(N == MethodTraits<decltype(M)>::arity, "one Param per argument");
    return buildOperation<M>(name, dispid, params);
}
template <auto M, class... P>
requires(std::is_same_v<P, Param> &&...) constexpr Operation operation(const char *name, DISPID dispid, P... params)
{
    static_assert(sizeof...(P) == MethodTraits<decltype(M)>::arity, "one Param per argument");
    const Param list[] = {params..., Param {}};
    return buildOperation<M>(name, dispid, list);
}

// ---- the object ----------------------------------------------------------------------

// A class object with one dual interface Iface (a C struct holding lpVtbl).
// Derived provides static const IID &interfaceId(), static const char
// *interfaceName() ("_TxtFile"), static std::span<const Operation>
// operations() and its interface table, whose first seven slots are the
// static members below (QFC_DISPATCH_SLOTS).
template <class Derived, class Iface> class DispatchObject : public ObjectBase
{
public:
    Iface *iface() { return &m_face.iface; }

    HRESULT queryInterface(const IID &iid, void **out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (iid == mrb::platform::IID_IUnknown || iid == mrb::platform::IID_IDispatch
            || iid == Derived::interfaceId()) {
            addRef();
            *out = iface();
            return S_OK;
        }
        if (iid == mrb::platform::IID_ISupportErrorInfo) {
            addRef();
            *out = &m_errorFace.iface;
            return S_OK;
        }
        if (iid == mrb::platform::IID_IErrorInfo && lastError()) {
            *out = mrb::platform::makeErrorInfo(*lastError());
            return *out ? S_OK : E_OUTOFMEMORY;
        }
        return E_NOINTERFACE;
    }

    // The three IUnknown slots of every face of the object (its interface
    // and ISupportErrorInfo).
    template <class F> static HRESULT QueryInterface(F *self, const IID *iid, void **out)
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (!self || !iid)
            return E_POINTER;
        return objectOf<Derived>(self)->queryInterface(*iid, out);
    }
    template <class F> static std::uint32_t AddRef(F *self) { return self ? objectOf<Derived>(self)->addRef() : 0; }
    template <class F> static std::uint32_t Release(F *self) { return self ? objectOf<Derived>(self)->release() : 0; }
    static HRESULT GetTypeInfoCount(Iface *, std::uint32_t *count)
    {
        if (!count)
            return E_POINTER;
        *count = 1;
        return S_OK;
    }
    static HRESULT GetTypeInfo(Iface *, std::uint32_t index, LCID, void **typeInfo)
    {
        if (!typeInfo)
            return E_POINTER;
        *typeInfo = nullptr;
        if (index != 0)
            return DISP_E_BADINDEX;
        *typeInfo = makeTypeInfo(Derived::interfaceName(), Derived::interfaceId(), Derived::operations());
        return *typeInfo ? S_OK : E_OUTOFMEMORY;
    }
    static HRESULT GetIDsOfNames(Iface *, const IID *iid, OLECHAR **names, std::uint32_t count, LCID, DISPID *ids)
    {
        return dispatchIdsOfNames(Derived::operations(), iid, names, count, ids);
    }
    static HRESULT Invoke(Iface *self,
        DISPID member,
        const IID *iid,
        LCID,
        std::uint16_t flags,
        DISPPARAMS *params,
        VARIANT *result,
        EXCEPINFO *exception,
        std::uint32_t *argError)
    {
        if (!self)
            return E_POINTER;
        return dispatchInvoke(
            objectOf<Derived>(self), Derived::operations(), member, iid, flags, params, result, exception, argError);
    }

protected:
    template <class Vtbl>
    explicit DispatchObject(const Vtbl *table)
        : m_face {Iface {table}, this}
        , m_errorFace {ISupportErrorInfo {&errorSupportTable}, this}
    {
    }

private:
    // ISupportErrorInfo: a failed operation of the object's own interface
    // leaves an error record (the object's, and the thread's where the system
    // keeps one).
    static HRESULT InterfaceSupportsErrorInfo(ISupportErrorInfo *, const IID *iid)
    {
        return iid && *iid == Derived::interfaceId() ? S_OK : S_FALSE;
    }
    static constexpr ISupportErrorInfoVtbl errorSupportTable = {&QueryInterface<ISupportErrorInfo>,
        &AddRef<ISupportErrorInfo>,
        &Release<ISupportErrorInfo>,
        &InterfaceSupportsErrorInfo};

    Face<Iface> m_face;
    Face<ISupportErrorInfo> m_errorFace;
};

// The seven standard slots of a class's interface table.
#define QFC_DISPATCH_SLOTS(Class)                                                                                      \
    &Class::QueryInterface, &Class::AddRef, &Class::Release, &Class::GetTypeInfoCount, &Class::GetTypeInfo,            \
        &Class::GetIDsOfNames, &Class::Invoke

// The slot of one operation.
#define QFC_SLOT(Iface, Method) &::qfc::Slot<Iface, &Method>::call

} // namespace qfc
