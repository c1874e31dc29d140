// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/com/abi.h"

#include <QList>
#include <QMetaType>
#include <QPointer>
#include <QVariant>

#include <memory>
#include <optional>

namespace mrb::platform
{

// A collection of objects as an automation object: Count, and Item(i) (also
// the default member) for i from firstIndex on. With count set and no items
// it only tells how many there are.
struct ObjectCollection {
    QList<QPointer<QObject>> items;
    int firstIndex = 1;
    int count = -1; // items.size() when -1
};

// The members an object shows beyond its Qt properties, by name (compared
// without regard to case by the caller's spelling).
class ObjectMembers
{
public:
    virtual ~ObjectMembers() = default;
    // The member's value; nothing when the object has no such member (a
    // QObject* value becomes an automation object, an ObjectCollection a
    // collection).
    virtual std::optional<QVariant> get(QObject *object, const QString &name, const QVariantList &arguments) const = 0;
    // Assigns the member; false when the object has no such member to assign.
    virtual bool set(QObject *object, const QString &name, const QVariant &value) const = 0;
    // Whether the object answers QueryInterface for iid (controlkinds.h).
    virtual bool implements(QObject *object, const IID &iid) const = 0;
};

// An automation object (IDispatch, one reference for the caller) over a live
// QObject: each member is read with DISPATCH_PROPERTYGET or DISPATCH_METHOD and
// assigned with DISPATCH_PROPERTYPUT; members first, then the object's Qt
// properties (declared and dynamic). Names are matched without regard to
// case. Once the object is destroyed every call fails with E_FAIL. Use it on
// the object's own thread.
IDispatch *newObjectDispatch(QObject *object, std::shared_ptr<const ObjectMembers> members);

} // namespace mrb::platform

Q_DECLARE_METATYPE(mrb::platform::ObjectCollection)
