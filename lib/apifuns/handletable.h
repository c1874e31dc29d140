// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

class QObject;

namespace qfc
{

// What a handle of the table stands for: things that have no native window
// id of their own.
enum class HandleKind { Menu, MenuBar, ResourceLibrary };

// Handles for menus, menu bars and resource libraries: 32-bit numbers that
// map to a live object. An entry goes stale by itself when its object is
// destroyed; a stale, unknown or zero handle, or one of another kind, finds
// nothing. Numbers are never reused within a process, so an old handle can
// never reach a newer object.
namespace handles
{

// The handle of object as kind: the same number each time it is asked for
// while the object lives; 0 for no object.
std::int32_t handleOf(QObject *object, HandleKind kind);

// The live object a handle of that kind names, or nullptr.
QObject *objectOf(std::int32_t handle, HandleKind kind);

// Forgets a handle at once (its object stays as it is).
void forget(std::int32_t handle);

} // namespace handles

} // namespace qfc
