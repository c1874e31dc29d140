// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "lib/frame/object.h"
#include "platform/com/bstr.h"
#include "platform/com/guid.h"
#include "platform/com/variant.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

// How an operation written as a plain C++ member function becomes both a slot
// of its interface table (early binding) and an entry of its dispatch table
// (late binding through Invoke). An operation's C++ signature names the kinds
// of its arguments and result:
//
//   C++ parameter   argument kind     ABI type
//   std::string     string            BSTR
//   std::int32_t    int32             int32_t
//   std::int16_t    int16             int16_t
//   bool            bool              VARIANT_BOOL
//   StrRef          string, by ref    BSTR *
//   Int32Ref        int32, by ref     int32_t *
//   BoolRef         bool, by ref      VARIANT_BOOL *
//   VariantArg      variant           VARIANT *
//   ArrayRef        array, by ref     SAFEARRAY **
//   ObjectRef       object, by ref    IDispatch **
//
//   C++ result      ABI result pointer
//   void            none
//   std::string     BSTR *
//   std::int32_t    int32_t *
//   std::int16_t    int16_t *
//   bool            VARIANT_BOOL *
//   StringArray     SAFEARRAY ** (strings, lower bound 0)
//
// Every call takes a reference on the object, converts the arguments, runs the
// operation and stores the result. An exception other than Failure is the
// continue-on-error convention's failure: the status stays S_OK and the result
// is the empty value. Failure sets a failing status and the object's error
// record.

namespace qfc
{

using StringArray = std::vector<std::string>;

// A string argument passed by reference; a NULL pointer reads as "" and
// ignores assignments.
class StrRef
{
public:
    explicit StrRef(BSTR *p)
        : m_p(p)
    {
    }
    std::string get() const { return m_p ? mrb::platform::toUtf8(*m_p) : std::string(); }
    std::u16string_view view() const { return m_p ? mrb::platform::viewOf(*m_p) : std::u16string_view(); }
    void set(std::string_view utf8)
    {
        if (!m_p)
            return;
        BSTR fresh = mrb::platform::allocBstr(utf8);
        SysFreeString(*m_p);
        *m_p = fresh;
    }

private:
    BSTR *m_p;
};

template <class T> class ScalarRef
{
public:
    explicit ScalarRef(T *p)
        : m_p(p)
    {
    }
    T get() const { return m_p ? *m_p : T {}; }
    void set(T value)
    {
        if (m_p)
            *m_p = value;
    }

private:
    T *m_p;
};

using Int32Ref = ScalarRef<std::int32_t>;

class BoolRef
{
public:
    explicit BoolRef(VARIANT_BOOL *p)
        : m_p(p)
    {
    }
    bool get() const { return m_p && *m_p != 0; }
    void set(bool value)
    {
        if (m_p)
            *m_p = value ? VARIANT_TRUE : VARIANT_FALSE;
    }

private:
    VARIANT_BOOL *m_p;
};

// A variant argument; a NULL pointer reads as Empty.
class VariantArg
{
public:
    explicit VariantArg(VARIANT *p)
        : m_p(p)
    {
    }
    mrb::platform::Value value() const { return m_p ? mrb::platform::toValue(*m_p) : mrb::platform::Value {}; }
    VARIANT *get() const { return m_p; }

private:
    VARIANT *m_p;
};

// An array argument passed by reference (NULL or an empty slot: no array).
class ArrayRef
{
public:
    explicit ArrayRef(SAFEARRAY **p)
        : m_p(p)
    {
    }
    SAFEARRAY *get() const { return m_p ? *m_p : nullptr; }

private:
    SAFEARRAY **m_p;
};

// An object argument passed by reference.
class ObjectRef
{
public:
    explicit ObjectRef(IDispatch **p)
        : m_p(p)
    {
    }
    IDispatch *get() const { return m_p ? *m_p : nullptr; }

private:
    IDispatch **m_p;
};

// ---- the dispatch table ------------------------------------------------------

// One parameter as late binding sees it: its name and, for an optional one,
// the value a caller that leaves it out gets.
struct Param {
    const char *name;
    bool optional = false;
    const char *text = ""; // default of an optional string
    std::int32_t number = 0; // default of an optional number; -1 or 0 for a bool
};

constexpr Param required(const char *name)
{
    return Param {name, false, "", 0};
}
constexpr Param optional(const char *name, const char *text = "", std::int32_t number = 0)
{
    return Param {name, true, text, number};
}
constexpr Param optional(const char *name, std::int32_t number)
{
    return Param {name, true, "", number};
}

using Invoker = HRESULT (*)(
    ObjectBase *object, std::span<const Param> params, VARIANT *const *args, VARIANT *result, std::uint32_t *badArg);

struct Operation {
    const char *name;
    DISPID dispid;
    std::span<const Param> params;
    Invoker invoke;
};

inline constexpr DISPID firstDispid = 0x60030000;

// The Invoke and GetIDsOfNames of every class (see dispatch.cpp).
HRESULT dispatchInvoke(ObjectBase *object,
    std::span<const Operation> operations,
    DISPID member,
    const IID *iid,
    std::uint16_t flags,
    DISPPARAMS *params,
    VARIANT *result,
    EXCEPINFO *exception,
    std::uint32_t *argError);
HRESULT dispatchIdsOfNames(
    std::span<const Operation> operations, const IID *iid, OLECHAR **names, std::uint32_t count, DISPID *ids);

namespace detail
{

// ---- conversions of late-bound arguments (dispatch.cpp) -------------------------

// Follows by-reference variants; *viaRef says whether one was followed (the
// value then is the caller's own variable).
const VARIANT *unwrapVia(const VARIANT *v, bool *viaRef);
const VARIANT *unwrap(const VARIANT *v);
bool isMissing(const VARIANT *v);
HRESULT toBstr(const VARIANT &v, mrb::platform::Bstr *owned, BSTR *borrowed);
HRESULT toInteger(const VARIANT &v, std::int64_t low, std::int64_t high, std::int64_t *out);
HRESULT toBool(const VARIANT &v, bool *out);

// Holders turn one late-bound argument (nullptr when left out) into the ABI
// value the slot takes, keeping any temporary alive for the call.
class StringHolder
{
public:
    StringHolder(const VARIANT *arg, const Param &param);
    HRESULT status() const { return m_status; }
    BSTR abi() const { return m_borrowed ? m_borrowed : m_owned.get(); }

private:
    HRESULT m_status = S_OK;
    mrb::platform::Bstr m_owned;
    BSTR m_borrowed = nullptr;
};

template <class T> class IntegerHolder
{
public:
    IntegerHolder(const VARIANT *arg, const Param &param)
    {
        if (isMissing(arg)) {
            m_status = param.optional ? S_OK : DISP_E_PARAMNOTOPTIONAL;
            m_value = static_cast<T>(param.number);
            return;
        }
        arg = unwrap(arg);
        std::int64_t v = 0;
        m_status = toInteger(*arg, std::numeric_limits<T>::min(), std::numeric_limits<T>::max(), &v);
        m_value = static_cast<T>(v);
    }
    HRESULT status() const { return m_status; }
    T abi() const { return m_value; }

private:
    HRESULT m_status = S_OK;
    T m_value = 0;
};

class BoolHolder
{
public:
    BoolHolder(const VARIANT *arg, const Param &param);
    HRESULT status() const { return m_status; }
    VARIANT_BOOL abi() const { return m_value; }

private:
    HRESULT m_status = S_OK;
    VARIANT_BOOL m_value = VARIANT_FALSE;
};

// By-reference arguments: a by-reference variant of the same type passes its
// own storage (so the caller sees assignments); anything else passes a
// converted copy.
class StringRefHolder
{
public:
    StringRefHolder(const VARIANT *arg, const Param &param);
    HRESULT status() const { return m_status; }
    BSTR *abi() { return m_target ? m_target : &m_temp; }
    ~StringRefHolder() { SysFreeString(m_temp); }
    StringRefHolder(StringRefHolder &&other) noexcept
        : m_status(other.m_status)
        , m_target(other.m_target)
        , m_temp(std::exchange(other.m_temp, nullptr))
    {
    }
    StringRefHolder(const StringRefHolder &) = delete;
    StringRefHolder &operator=(const StringRefHolder &) = delete;
    StringRefHolder &operator=(StringRefHolder &&) = delete;

private:
    HRESULT m_status = S_OK;
    BSTR *m_target = nullptr;
    BSTR m_temp = nullptr;
};

class Int32RefHolder
{
public:
    Int32RefHolder(const VARIANT *arg, const Param &param);
    HRESULT status() const { return m_status; }
    std::int32_t *abi() { return m_target ? m_target : &m_temp; }
    Int32RefHolder(Int32RefHolder &&other) noexcept
        : m_status(other.m_status)
        , m_target(other.m_target)
        , m_temp(other.m_temp)
    {
    }

private:
    HRESULT m_status = S_OK;
    std::int32_t *m_target = nullptr;
    std::int32_t m_temp = 0;
};

class BoolRefHolder
{
public:
    BoolRefHolder(const VARIANT *arg, const Param &param);
    HRESULT status() const { return m_status; }
    VARIANT_BOOL *abi() { return m_target ? m_target : &m_temp; }
    BoolRefHolder(BoolRefHolder &&other) noexcept
        : m_status(other.m_status)
        , m_target(other.m_target)
        , m_temp(other.m_temp)
    {
    }

private:
    HRESULT m_status = S_OK;
    VARIANT_BOOL *m_target = nullptr;
    VARIANT_BOOL m_temp = VARIANT_FALSE;
};

class VariantHolder
{
public:
    VariantHolder(const VARIANT *arg, const Param &param);
    HRESULT status() const { return m_status; }
    VARIANT *abi() { return m_target ? m_target : &m_empty; }
    VariantHolder(VariantHolder &&other) noexcept
        : m_status(other.m_status)
        , m_target(other.m_target)
        , m_empty(other.m_empty)
    {
    }

private:
    HRESULT m_status = S_OK;
    VARIANT *m_target = nullptr;
    VARIANT m_empty {};
};

class ArrayHolder
{
public:
    ArrayHolder(const VARIANT *arg, const Param &param);
    HRESULT status() const { return m_status; }
    SAFEARRAY **abi() { return m_target ? m_target : &m_temp; }
    ArrayHolder(ArrayHolder &&other) noexcept
        : m_status(other.m_status)
        , m_target(other.m_target)
        , m_temp(other.m_temp)
    {
    }

private:
    HRESULT m_status = S_OK;
    SAFEARRAY **m_target = nullptr;
    SAFEARRAY *m_temp = nullptr; // borrowed from the caller's by-value array
};

class ObjectHolder
{
public:
    ObjectHolder(const VARIANT *arg, const Param &param);
    HRESULT status() const { return m_status; }
    IDispatch **abi() { return m_target ? m_target : &m_temp; }
    ObjectHolder(ObjectHolder &&other) noexcept
        : m_status(other.m_status)
        , m_target(other.m_target)
        , m_temp(other.m_temp)
    {
    }

private:
    HRESULT m_status = S_OK;
    IDispatch **m_target = nullptr;
    IDispatch *m_temp = nullptr; // borrowed
};

} // namespace detail

// ---- argument and result kinds ---------------------------------------------------

template <class P> struct Arg;

template <> struct Arg<std::string> {
    using Abi = BSTR;
    using Holder = detail::StringHolder;
    static std::string fromAbi(BSTR b) { return mrb::platform::toUtf8(b); }
};
template <> struct Arg<std::int32_t> {
    using Abi = std::int32_t;
    using Holder = detail::IntegerHolder<std::int32_t>;
    static std::int32_t fromAbi(std::int32_t v) { return v; }
};
template <> struct Arg<std::int16_t> {
    using Abi = std::int16_t;
    using Holder = detail::IntegerHolder<std::int16_t>;
    static std::int16_t fromAbi(std::int16_t v) { return v; }
};
template <> struct Arg<bool> {
    using Abi = VARIANT_BOOL;
    using Holder = detail::BoolHolder;
    static bool fromAbi(VARIANT_BOOL v) { return v != 0; }
};
template <> struct Arg<StrRef> {
    using Abi = BSTR *;
    using Holder = detail::StringRefHolder;
    static StrRef fromAbi(BSTR *p) { return StrRef(p); }
};
template <> struct Arg<Int32Ref> {
    using Abi = std::int32_t *;
    using Holder = detail::Int32RefHolder;
    static Int32Ref fromAbi(std::int32_t *p) { return Int32Ref(p); }
};
template <> struct Arg<BoolRef> {
    using Abi = VARIANT_BOOL *;
    using Holder = detail::BoolRefHolder;
    static BoolRef fromAbi(VARIANT_BOOL *p) { return BoolRef(p); }
};
template <> struct Arg<VariantArg> {
    using Abi = VARIANT *;
    using Holder = detail::VariantHolder;
    static VariantArg fromAbi(VARIANT *p) { return VariantArg(p); }
};
template <> struct Arg<ArrayRef> {
    using Abi = SAFEARRAY **;
    using Holder = detail::ArrayHolder;
    static ArrayRef fromAbi(SAFEARRAY **p) { return ArrayRef(p); }
};
template <> struct Arg<ObjectRef> {
    using Abi = IDispatch **;
    using Holder = detail::ObjectHolder;
    static ObjectRef fromAbi(IDispatch **p) { return ObjectRef(p); }
};

template <class R> struct Res;

template <> struct Res<std::string> {
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
template <> struct Res<std::int32_t> {
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
};

template <auto M, class = decltype(M)> struct Call;

template <auto M, class C, class R, class... P> struct Call<M, R (C::*)(P...)> {
    static HRESULT run(C *object, typename Arg<P>::Abi... args, typename Res<R>::Abi *out)
    {
        if (!out)
            return E_POINTER;
        CallGuard guard(object);
        object->clearError();
        HRESULT status = S_OK;
        std::optional<R> value;
        try {
            value.emplace((object->*M)(Arg<P>::fromAbi(args)...));
        } catch (const Failure &failure) {
            object->setError(failure.info());
            status = FAILED(failure.info().number) ? failure.info().number : E_FAIL;
        } catch (...) {
        }
        *out = value ? Res<R>::toAbi(*value) : Res<R>::empty();
        return status;
    }
};

template <auto M, class C, class... P> struct Call<M, void (C::*)(P...)> {
    static HRESULT run(C *object, typename Arg<P>::Abi... args)
    {
        CallGuard guard(object);
        object->clearError();
        HRESULT status = S_OK;
        try {
            (object->*M)(Arg<P>::fromAbi(args)...);
        } catch (const Failure &failure) {
            object->setError(failure.info());
            status = FAILED(failure.info().number) ? failure.info().number : E_FAIL;
        } catch (...) {
        }
        return status;
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
template <auto M, std::size_t N>
constexpr Operation operation(const char *name, DISPID dispid, const Param (&params)[N])
{
    static_assert(N == MethodTraits<decltype(M)>::arity, "one Param per argument");
    return Operation {name, dispid, std::span<const Param>(params, N), &LateCall<M>::run};
}
template <auto M> constexpr Operation operation(const char *name, DISPID dispid)
{
    static_assert(MethodTraits<decltype(M)>::arity == 0, "one Param per argument");
    return Operation {name, dispid, std::span<const Param>(), &LateCall<M>::run};
}

// ---- the object ----------------------------------------------------------------------

// A class object with one dual interface Iface (a C struct holding lpVtbl).
// Derived provides: static const IID &interfaceId(); static
// std::span<const Operation> operations(); and its interface table, whose
// first seven slots are the static members below.
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
        if (iid == mrb::platform::IID_IErrorInfo && lastError()) {
            *out = mrb::platform::makeErrorInfo(*lastError());
            return *out ? S_OK : E_OUTOFMEMORY;
        }
        return E_NOINTERFACE;
    }

    static HRESULT QueryInterface(Iface *self, const IID *iid, void **out)
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (!self || !iid)
            return E_POINTER;
        return objectOf<Derived>(self)->queryInterface(*iid, out);
    }
    static std::uint32_t AddRef(Iface *self) { return self ? objectOf<Derived>(self)->addRef() : 0; }
    static std::uint32_t Release(Iface *self) { return self ? objectOf<Derived>(self)->release() : 0; }
    static HRESULT GetTypeInfoCount(Iface *, std::uint32_t *count)
    {
        if (!count)
            return E_POINTER;
        *count = 0; // names are resolved by GetIDsOfNames alone
        return S_OK;
    }
    static HRESULT GetTypeInfo(Iface *, std::uint32_t, LCID, void **typeInfo)
    {
        if (typeInfo)
            *typeInfo = nullptr;
        return DISP_E_BADINDEX;
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
    {
    }

private:
    Face<Iface> m_face;
};

// The seven standard slots of a class's interface table.
#define QFC_DISPATCH_SLOTS(Class)                                                                                      \
    &Class::QueryInterface, &Class::AddRef, &Class::Release, &Class::GetTypeInfoCount, &Class::GetTypeInfo,            \
        &Class::GetIDsOfNames, &Class::Invoke

// The slot of one operation.
#define QFC_SLOT(Iface, Method) &::qfc::Slot<Iface, &Method>::call

} // namespace qfc
