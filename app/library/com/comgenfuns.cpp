// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/library/com/comgenfuns.h"

#include "platform/com/variant.h"

namespace mrb::core
{

ComGenFuns::ComGenFuns(platform::ComPtr<QfcGenFuns> object)
    : m_object(std::move(object))
{
}

bool ComGenFuns::inVar(const platform::Value &target, const std::vector<platform::Value> &list)
{
    platform::Variant targetValue = platform::Variant::fromValue(target);
    platform::SafeArrayPtr array = platform::makeValueArray(list);
    // The list goes by reference: whatever array the slot leaves there is ours.
    SAFEARRAY *passed = array.release();
    VARIANT_BOOL answer = VARIANT_FALSE;
    const HRESULT hr = m_object->lpVtbl->InVar(m_object.get(), targetValue.get(), &passed, &answer);
    array = platform::SafeArrayPtr(passed);
    return SUCCEEDED(hr) && answer != VARIANT_FALSE;
}

} // namespace mrb::core
