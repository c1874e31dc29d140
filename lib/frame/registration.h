// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "lib/frame/classfactory.h"

#include <span>
#include <string>
#include <vector>

namespace qfc
{

// One value that registration writes under HKEY_CLASSES_ROOT ("" names a
// key's default value).
struct RegistrationEntry {
    std::string key;
    std::string name;
    std::string value;
    bool operator==(const RegistrationEntry &) const = default;
};

// The values that make each class creatable by identifier and by name, in
// order: per class
//   CLSID\{clsid}\InprocServer32   @ = the library path, ThreadingModel = Apartment
//   CLSID\{clsid}\ProgID           @ = QFC_MRB.<class>
//   QFC_MRB.<class>\CLSID          @ = {clsid}
std::vector<RegistrationEntry> classEntries(std::span<const ClassInfo> classes, const std::string &libraryPath);

// The keys unregistration removes once they hold nothing: each key of the
// entries and its parents up to the CLSID and TypeLib keys that many
// libraries share, deepest first (so a parent is empty once its children are
// gone).
std::vector<std::string> keysToPrune(std::span<const RegistrationEntry> entries);

// Everything registration writes, in order: per class
//   CLSID\{clsid}\InprocServer32   @ = the library path, ThreadingModel = Apartment
//   CLSID\{clsid}\ProgID           @ = QFC_MRB.<class>
//   QFC_MRB.<class>\CLSID          @ = {clsid}
// and for the type library
//   TypeLib\{libid}\1.0            @ = QARN Foundation Classes for Marrowby.
//   TypeLib\{libid}\1.0\409\linux64 @ = the library path (the library describes its own types)
// and then the library's own data (data: the code-page table).
std::vector<RegistrationEntry> registrationEntries(
    std::span<const ClassInfo> classes, std::span<const RegistrationEntry> data, const std::string &libraryPath);

// Writes the entries in one change of the registry store; SELFREG_E_CLASS
// when the store cannot be written.
HRESULT registerServer(
    std::span<const ClassInfo> classes, std::span<const RegistrationEntry> data, const std::string &libraryPath);

// Removes exactly those values, then each of the keys above that is left
// empty (the shared CLSID and TypeLib keys stay). Nothing registered is not a
// failure.
HRESULT unregisterServer(std::span<const ClassInfo> classes, std::span<const RegistrationEntry> data);

} // namespace qfc
