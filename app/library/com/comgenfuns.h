// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/library/librarygenfuns.h"
#include "lib/public/interfaces.h"
#include "platform/com/comptr.h"

namespace mrb::core
{

// LibraryGenFuns on a GenFuns object of the component library, called through its
// interface slots. A failing call answers false.
class ComGenFuns final : public LibraryGenFuns
{
public:
    explicit ComGenFuns(platform::ComPtr<QfcGenFuns> object);

    bool inVar(const platform::Value &target, const std::vector<platform::Value> &list) override;

private:
    platform::ComPtr<QfcGenFuns> m_object;
};

} // namespace mrb::core
