// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/frame/typeinfo.h"

#include "platform/com/bstr.h"
#include "platform/com/guid.h"
#include "platform/com/typeinfoabi.h"

#include <deque>
#include <string>
#include <vector>

namespace qfc
{

namespace
{

using mrb::platform::allocBstr;

constexpr IID IID_ITypeInfo = MRB_IID_ITYPEINFO_INIT;
constexpr int standardSlots = 7; // IUnknown and IDispatch

extern const ITypeInfoVtbl typeInfoTable;

class TypeInfoObject final : public ObjectBase
{
public:
    TypeInfoObject(const char *name, const IID &iid, std::span<const Operation> operations);
    ~TypeInfoObject() override;

    ITypeInfo *iface() { return &m_face.iface; }
    HRESULT queryInterface(const IID &iid, void **out) override;

    static TypeInfoObject *of(ITypeInfo *p)
    {
        return static_cast<TypeInfoObject *>(reinterpret_cast<Face *>(p)->owner);
    }

    const Operation *find(MEMBERID memid) const
    {
        for (const Operation &op : m_operations) {
            if (op.dispid == memid)
                return &op;
        }
        return nullptr;
    }

    std::string m_name;
    std::span<const Operation> m_operations;
    TYPEATTR m_attr {};
    std::vector<FUNCDESC> m_funcs;

private:
    ELEMDESC describe(TypeCode type);
    PARAMDESCEX *defaultOf(const Param &param, TypeCode type);

    struct Face {
        ITypeInfo iface;
        ObjectBase *owner;
    };
    Face m_face;
    std::deque<TYPEDESC> m_pointees; // what VT_PTR and VT_SAFEARRAY descriptions point to
    std::deque<std::vector<ELEMDESC>> m_params;
    std::deque<PARAMDESCEX> m_defaults;
};

ELEMDESC TypeInfoObject::describe(TypeCode type)
{
    ELEMDESC elem {};
    if (type.vt == VT_EMPTY) {
        elem.tdesc.vt = VT_VOID;
        return elem;
    }
    TYPEDESC base {};
    if (type.vt & VT_ARRAY) {
        TYPEDESC &element = m_pointees.emplace_back();
        element.vt = static_cast<VARTYPE>(type.vt & VT_TYPEMASK);
        base.vt = VT_SAFEARRAY;
        base.lptdesc = &element;
    } else {
        base.vt = type.vt;
    }
    if (type.byRef) {
        m_pointees.push_back(base);
        elem.tdesc.vt = VT_PTR;
        elem.tdesc.lptdesc = &m_pointees.back();
    } else {
        elem.tdesc = base;
    }
    return elem;
}

// The value a left-out optional argument gets, where its type has one.
PARAMDESCEX *TypeInfoObject::defaultOf(const Param &param, TypeCode type)
{
    VARIANT value {};
    switch (type.vt) {
    case VT_BSTR:
        value.vt = VT_BSTR;
        value.bstrVal = allocBstr(param.text);
        break;
    case VT_I4:
        value.vt = VT_I4;
        value.lVal = param.number;
        break;
    case VT_I2:
        value.vt = VT_I2;
        value.iVal = static_cast<std::int16_t>(param.number);
        break;
    case VT_BOOL:
        value.vt = VT_BOOL;
        value.boolVal = param.number ? VARIANT_TRUE : VARIANT_FALSE;
        break;
    default:
        return nullptr;
    }
    PARAMDESCEX &ex = m_defaults.emplace_back();
    ex.cBytes = sizeof(PARAMDESCEX);
    ex.varDefaultValue = value;
    return &ex;
}

TypeInfoObject::TypeInfoObject(const char *name, const IID &iid, std::span<const Operation> operations)
    : m_name(name)
    , m_operations(operations)
    , m_face {ITypeInfo {&typeInfoTable}, this}
{
    m_attr.guid = iid;
    m_attr.memidConstructor = MEMBERID_NIL;
    m_attr.memidDestructor = MEMBERID_NIL;
    m_attr.cbSizeInstance = sizeof(void *);
    m_attr.typekind = TKIND_DISPATCH;
    m_attr.cFuncs = static_cast<std::uint16_t>(operations.size());
    m_attr.cbSizeVft = static_cast<std::uint16_t>((standardSlots + operations.size()) * sizeof(void *));
    m_attr.cbAlignment = alignof(void *);
    m_attr.wTypeFlags =
        TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE;
    m_attr.wMajorVerNum = 1;
    m_attr.tdescAlias.vt = VT_EMPTY;

    for (std::size_t i = 0; i < operations.size(); ++i) {
        const Operation &op = operations[i];
        std::vector<ELEMDESC> &params = m_params.emplace_back();
        std::int16_t optionals = 0;
        for (std::size_t p = 0; p < op.paramCount; ++p) {
            const TypeCode type = op.typeList[p];
            ELEMDESC elem = describe(type);
            std::uint16_t flags = PARAMFLAG_FIN | (type.byRef ? PARAMFLAG_FOUT : 0);
            if (op.paramList[p].optional) {
                ++optionals;
                flags |= PARAMFLAG_FOPT;
                if ((elem.paramdesc.pparamdescex = defaultOf(op.paramList[p], type)))
                    flags |= PARAMFLAG_FHASDEFAULT;
            }
            elem.paramdesc.wParamFlags = flags;
            params.push_back(elem);
        }
        FUNCDESC func {};
        func.memid = op.dispid;
        func.lprgelemdescParam = params.empty() ? nullptr : params.data();
        func.funckind = FUNC_DISPATCH;
        func.invkind = INVOKE_FUNC;
        func.callconv = CC_STDCALL;
        func.cParams = static_cast<std::int16_t>(params.size());
        func.cParamsOpt = optionals;
        func.oVft = static_cast<std::int16_t>((standardSlots + i) * sizeof(void *));
        func.elemdescFunc = describe(op.result);
        m_funcs.push_back(func);
    }
}

TypeInfoObject::~TypeInfoObject()
{
    for (PARAMDESCEX &ex : m_defaults)
        VariantClear(&ex.varDefaultValue);
}

HRESULT TypeInfoObject::queryInterface(const IID &iid, void **out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (iid == mrb::platform::IID_IUnknown || iid == IID_ITypeInfo) {
        addRef();
        *out = iface();
        return S_OK;
    }
    return E_NOINTERFACE;
}

// ---- the interface table ---------------------------------------------------------

HRESULT queryInterface(ITypeInfo *self, const IID *iid, void **out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (!self || !iid)
        return E_POINTER;
    return TypeInfoObject::of(self)->queryInterface(*iid, out);
}

std::uint32_t addRef(ITypeInfo *self)
{
    return self ? TypeInfoObject::of(self)->addRef() : 0;
}

std::uint32_t release(ITypeInfo *self)
{
    return self ? TypeInfoObject::of(self)->release() : 0;
}

HRESULT getTypeAttr(ITypeInfo *self, TYPEATTR **attr)
{
    if (!self || !attr)
        return E_POINTER;
    *attr = &TypeInfoObject::of(self)->m_attr;
    return S_OK;
}

HRESULT getFuncDesc(ITypeInfo *self, std::uint32_t index, FUNCDESC **desc)
{
    if (!self || !desc)
        return E_POINTER;
    *desc = nullptr;
    TypeInfoObject *info = TypeInfoObject::of(self);
    if (index >= info->m_funcs.size())
        return TYPE_E_ELEMENTNOTFOUND;
    *desc = &info->m_funcs[index];
    return S_OK;
}

HRESULT getNames(ITypeInfo *self, MEMBERID memid, BSTR *names, std::uint32_t maxNames, std::uint32_t *count)
{
    if (!self || !names || !count)
        return E_POINTER;
    *count = 0;
    const Operation *op = TypeInfoObject::of(self)->find(memid);
    if (!op)
        return TYPE_E_ELEMENTNOTFOUND;
    if (maxNames > 0)
        names[(*count)++] = allocBstr(op->name);
    for (const Param &param : op->params()) {
        if (*count >= maxNames)
            break;
        names[(*count)++] = allocBstr(param.name);
    }
    return S_OK;
}

HRESULT getIdsOfNames(ITypeInfo *self, OLECHAR **names, std::uint32_t count, MEMBERID *ids)
{
    if (!self)
        return E_POINTER;
    return dispatchIdsOfNames(TypeInfoObject::of(self)->m_operations, nullptr, names, count, ids);
}

HRESULT invoke(ITypeInfo *self,
    void *instance,
    MEMBERID memid,
    std::uint16_t flags,
    DISPPARAMS *params,
    VARIANT *result,
    EXCEPINFO *exception,
    std::uint32_t *argError)
{
    if (!self || !instance)
        return E_POINTER;
    auto *object = static_cast<IDispatch *>(instance);
    return object->lpVtbl->Invoke(
        object, memid, &mrb::platform::IID_NULL, 0, flags, params, result, exception, argError);
}

// MEMBERID_NIL names the interface itself.
HRESULT getDocumentation(
    ITypeInfo *self, MEMBERID memid, BSTR *name, BSTR *docString, std::uint32_t *helpContext, BSTR *helpFile)
{
    if (!self)
        return E_POINTER;
    TypeInfoObject *info = TypeInfoObject::of(self);
    const Operation *op = memid == MEMBERID_NIL ? nullptr : info->find(memid);
    if (memid != MEMBERID_NIL && !op)
        return TYPE_E_ELEMENTNOTFOUND;
    if (name)
        *name = allocBstr(op ? std::string(op->name) : info->m_name);
    if (docString)
        *docString = nullptr;
    if (helpContext)
        *helpContext = 0;
    if (helpFile)
        *helpFile = nullptr;
    return S_OK;
}

// No variables and no implemented types are described.
template <class T> HRESULT noElement(ITypeInfo *, std::uint32_t, T *)
{
    return TYPE_E_ELEMENTNOTFOUND;
}

template <class... A> HRESULT notImplemented(ITypeInfo *, A...)
{
    return E_NOTIMPL;
}

template <class T> void giveBack(ITypeInfo *, T *)
{
    // Descriptions live as long as the object: nothing to free.
}

const ITypeInfoVtbl typeInfoTable = {
    &queryInterface,
    &addRef,
    &release,
    &getTypeAttr,
    &notImplemented<ITypeComp **>,
    &getFuncDesc,
    &noElement<VARDESC *>,
    &getNames,
    &noElement<HREFTYPE>,
    &noElement<std::int32_t>,
    &getIdsOfNames,
    &invoke,
    &getDocumentation,
    &notImplemented<MEMBERID, INVOKEKIND, BSTR *, BSTR *, std::uint16_t *>,
    &notImplemented<HREFTYPE, ITypeInfo **>,
    &notImplemented<MEMBERID, INVOKEKIND, void **>,
    &notImplemented<IUnknown *, const IID *, void **>,
    &notImplemented<MEMBERID, BSTR *>,
    &notImplemented<ITypeLib **, std::uint32_t *>,
    &giveBack<TYPEATTR>,
    &giveBack<FUNCDESC>,
    &giveBack<VARDESC>,
};

} // namespace

void *makeTypeInfo(const char *name, const IID &iid, std::span<const Operation> operations)
{
    try {
        return (new TypeInfoObject(name, iid, operations))->iface();
    } catch (...) {
        return nullptr;
    }
}

} // namespace qfc
