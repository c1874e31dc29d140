// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace mrb::platform
{

// Objects of the automation servers the system has registered, on Windows.
// Plain types only: the implementation sees the system's own declarations.

// The component runtime, ready on the calling thread while this lives (an
// apartment of its own, or the one the thread is in already), and taken
// down again only when this made it.
class ComApartment
{
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment &) = delete;
    ComApartment &operator=(const ComApartment &) = delete;

private:
    bool m_made = false;
};

// A new object of the class registered under progId ("Excel.Application"),
// from whatever server the system has for it, asked for IDispatch: one
// reference for the caller, or nullptr and the system's status in *status
// (the identifier is not registered, or its server did not start). Needs a
// ComApartment on the calling thread.
void *createAutomationObject(const std::string &progId, std::int32_t *status);

} // namespace mrb::platform
