// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/frame/object.h"

#include "lib/frame/module.h"

namespace qfc
{

ObjectBase::ObjectBase()
{
    objectCreated();
}

ObjectBase::~ObjectBase()
{
    objectDestroyed();
}

std::uint32_t ObjectBase::release()
{
    const std::uint32_t left = m_refs.fetch_sub(1) - 1;
    if (left == 0)
        delete this;
    return left;
}

} // namespace qfc
