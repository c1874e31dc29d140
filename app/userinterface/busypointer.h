// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/userinterface/userinterface.h"

namespace mrb::core
{

// Shows the busy pointer for the life of the object.
class BusyPointer
{
public:
    explicit BusyPointer(UserInterface &ui)
        : m_ui(ui)
    {
        m_ui.setBusy(true);
    }
    ~BusyPointer() { m_ui.setBusy(false); }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;

private:
    UserInterface &m_ui;
};

} // namespace mrb::core
