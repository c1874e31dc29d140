// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/objectdispatch.h"

#include "platform/com/bstr.h"
#include "platform/com/guid.h"

#include <QMetaProperty>
#include <QObject>

#include <atomic>
#include <vector>

namespace mrb::platform
{

namespace
{

// One automation object: over a QObject, or over a collection.
struct Bridge {
    const IDispatchVtbl *vtbl;
    std::atomic<std::uint32_t> refs {1};
    QPointer<QObject> object;
    std::optional<ObjectCollection> collection;
    std::shared_ptr<const ObjectMembers> members;
    std::vector<QString> names; // dispatch number n names names[n - 1]
};

Bridge *self(IDispatch *d)
{
    return reinterpret_cast<Bridge *>(d);
}

IDispatch *newBridge(Bridge *bridge);

QString qtString(BSTR s)
{
    return s ? QString(reinterpret_cast<const QChar *>(s), static_cast<qsizetype>(SysStringLen(s))) : QString();
}

QVariant qtValue(const VARIANT &arg)
{
    const VARIANT *v = &arg;
    while (v->vt == (VT_BYREF | VT_VARIANT) && v->pvarVal)
        v = v->pvarVal;
    const bool ref = v->vt & VT_BYREF;
    switch (v->vt & ~VT_BYREF) {
    case VT_I2:
        return ref ? *v->piVal : v->iVal;
    case VT_I4:
        return ref ? *v->plVal : v->lVal;
    case VT_R8:
        return ref ? *v->pdblVal : v->dblVal;
    case VT_BOOL:
        return (ref ? *v->pboolVal : v->boolVal) != 0;
    case VT_BSTR:
        return qtString(ref ? *v->pbstrVal : v->bstrVal);
    default:
        return {};
    }
}

// The automation value of a member's value; false for one that has none.
bool toVariant(const QVariant &value, const std::shared_ptr<const ObjectMembers> &members, VARIANT *out)
{
    VariantInit(out);
    if (value.canConvert<ObjectCollection>() && value.metaType() == QMetaType::fromType<ObjectCollection>()) {
        auto *bridge = new Bridge {nullptr, {1}, {}, value.value<ObjectCollection>(), members, {}};
        out->vt = VT_DISPATCH;
        out->pdispVal = newBridge(bridge);
        return true;
    }
    if (value.metaType().flags() & QMetaType::PointerToQObject) {
        QObject *object = value.value<QObject *>();
        out->vt = VT_DISPATCH;
        out->pdispVal = object ? newObjectDispatch(object, members) : nullptr;
        return true;
    }
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        out->vt = VT_BOOL;
        out->boolVal = value.toBool() ? VARIANT_TRUE : VARIANT_FALSE;
        return true;
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        out->vt = VT_I4;
        out->lVal = value.toInt();
        return true;
    case QMetaType::Double:
    case QMetaType::Float:
        out->vt = VT_R8;
        out->dblVal = value.toDouble();
        return true;
    default:
        if (!value.isValid() || !value.canConvert<QString>())
            return false;
        const QString text = value.toString();
        out->vt = VT_BSTR;
        out->bstrVal = allocBstr16(std::u16string_view(reinterpret_cast<const char16_t *>(text.utf16()), text.size()));
        return true;
    }
}

// The Qt property of object spelt name in any case: its exact name.
QByteArray propertyNamed(const QObject *object, const QString &name)
{
    const QMetaObject *meta = object->metaObject();
    for (int i = 0; i < meta->propertyCount(); ++i) {
        if (QString::fromLatin1(meta->property(i).name()).compare(name, Qt::CaseInsensitive) == 0)
            return meta->property(i).name();
    }
    for (const QByteArray &dynamic : object->dynamicPropertyNames()) {
        if (QString::fromUtf8(dynamic).compare(name, Qt::CaseInsensitive) == 0)
            return dynamic;
    }
    return {};
}

HRESULT queryInterface(IDispatch *d, const IID *iid, void **out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    Bridge *b = self(d);
    const bool kind = iid && b->object && b->members && b->members->implements(b->object, *iid);
    if (!iid || (!(*iid == IID_IUnknown) && !(*iid == IID_IDispatch) && !kind))
        return E_NOINTERFACE;
    ++b->refs;
    *out = d;
    return S_OK;
}

std::uint32_t addRef(IDispatch *d)
{
    return ++self(d)->refs;
}

std::uint32_t release(IDispatch *d)
{
    const std::uint32_t left = --self(d)->refs;
    if (left == 0)
        delete self(d);
    return left;
}

HRESULT typeInfoCount(IDispatch *, std::uint32_t *count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT typeInfo(IDispatch *, std::uint32_t, LCID, void **info)
{
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

HRESULT idsOfNames(IDispatch *d, const IID *, OLECHAR **names, std::uint32_t count, LCID, DISPID *ids)
{
    if (!names || !ids || count == 0)
        return E_POINTER;
    Bridge *b = self(d);
    // Any name gets a number; whether the object has such a member shows when it is called.
    const QString name = qtString(names[0]);
    DISPID id = 0;
    for (std::size_t i = 0; i < b->names.size() && id == 0; ++i) {
        if (b->names[i].compare(name, Qt::CaseInsensitive) == 0)
            id = static_cast<DISPID>(i + 1);
    }
    if (id == 0) {
        b->names.push_back(name);
        id = static_cast<DISPID>(b->names.size());
    }
    ids[0] = id;
    for (std::uint32_t i = 1; i < count; ++i)
        ids[i] = DISPID_UNKNOWN;
    return count > 1 ? DISP_E_UNKNOWNNAME : S_OK;
}

HRESULT invokeCollection(Bridge *b, const QString &name, const QVariantList &arguments, VARIANT *result)
{
    const ObjectCollection &c = *b->collection;
    const int count = c.count >= 0 ? c.count : static_cast<int>(c.items.size());
    if (name.compare(QLatin1String("Count"), Qt::CaseInsensitive) == 0)
        return toVariant(count, b->members, result) ? S_OK : E_FAIL;
    if (name.compare(QLatin1String("Item"), Qt::CaseInsensitive) != 0)
        return DISP_E_MEMBERNOTFOUND;
    if (arguments.size() != 1)
        return DISP_E_BADPARAMCOUNT;
    bool ok = false;
    const qsizetype at = arguments[0].toInt(&ok) - c.firstIndex;
    if (!ok || at < 0 || at >= c.items.size() || !c.items[at])
        return DISP_E_BADINDEX;
    return toVariant(QVariant::fromValue<QObject *>(c.items[at].data()), b->members, result) ? S_OK : E_FAIL;
}

HRESULT invoke(IDispatch *d,
    DISPID member,
    const IID *,
    LCID,
    std::uint16_t flags,
    DISPPARAMS *params,
    VARIANT *result,
    EXCEPINFO *,
    std::uint32_t *)
{
    Bridge *b = self(d);
    QString name;
    if (member == 0)
        name = QStringLiteral("Item"); // the default member
    else if (member > 0 && static_cast<std::size_t>(member) <= b->names.size())
        name = b->names[static_cast<std::size_t>(member) - 1];
    else
        return DISP_E_MEMBERNOTFOUND;
    QVariantList arguments;
    for (std::uint32_t i = params ? params->cArgs : 0; i-- > 0;)
        arguments.push_back(qtValue(params->rgvarg[i]));
    VARIANT ignored;
    if (!result)
        result = &ignored;
    VariantInit(result);
    if (b->collection)
        return invokeCollection(b, name, arguments, result);
    QObject *object = b->object.data();
    if (!object)
        return E_FAIL; // the object is gone
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        if (arguments.isEmpty())
            return DISP_E_BADPARAMCOUNT;
        const QVariant value = arguments.back();
        if (b->members && b->members->set(object, name, value))
            return S_OK;
        const QByteArray property = propertyNamed(object, name);
        return !property.isEmpty() && object->setProperty(property, value) ? S_OK : DISP_E_MEMBERNOTFOUND;
    }
    std::optional<QVariant> value = b->members ? b->members->get(object, name, arguments) : std::nullopt;
    if (!value) {
        const QByteArray property = propertyNamed(object, name);
        if (property.isEmpty())
            return DISP_E_MEMBERNOTFOUND;
        value = object->property(property);
    }
    if (result == &ignored) {
        VARIANT v;
        const bool converted = toVariant(*value, b->members, &v);
        VariantClear(&v);
        return converted ? S_OK : DISP_E_MEMBERNOTFOUND;
    }
    return toVariant(*value, b->members, result) ? S_OK : DISP_E_MEMBERNOTFOUND;
}

constexpr IDispatchVtbl bridgeTable = {queryInterface, addRef, release, typeInfoCount, typeInfo, idsOfNames, invoke};

IDispatch *newBridge(Bridge *bridge)
{
    bridge->vtbl = &bridgeTable;
    return reinterpret_cast<IDispatch *>(bridge);
}

} // namespace

IDispatch *newObjectDispatch(QObject *object, std::shared_ptr<const ObjectMembers> members)
{
    return newBridge(new Bridge {nullptr, {1}, object, std::nullopt, std::move(members), {}});
}

} // namespace mrb::platform
