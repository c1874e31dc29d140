// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "lib/public/interfaces.h"

#include <cstdint>

namespace qfc
{

inline constexpr GUID LIBID_QFC_MRB = QFC_LIBID_INIT;
inline constexpr CLSID CLSID_GenFuns = QFC_CLSID_GENFUNS_INIT;
inline constexpr IID IID_GenFuns = QFC_IID_GENFUNS_INIT;
inline constexpr CLSID CLSID_APIFuns = QFC_CLSID_APIFUNS_INIT;
inline constexpr IID IID_APIFuns = QFC_IID_APIFUNS_INIT;
inline constexpr CLSID CLSID_TxtFile = QFC_CLSID_TXTFILE_INIT;
inline constexpr IID IID_TxtFile = QFC_IID_TXTFILE_INIT;
inline constexpr CLSID CLSID_Base64 = QFC_CLSID_BASE64_INIT;
inline constexpr IID IID_Base64 = QFC_IID_BASE64_INIT;
inline constexpr CLSID CLSID_Registry = QFC_CLSID_REGISTRY_INIT;
inline constexpr IID IID_Registry = QFC_IID_REGISTRY_INIT;

// The type library's identity.
inline constexpr const char *libraryName = "QFC_MRB";
inline constexpr const char *libraryDescription = "QARN Foundation Classes for Marrowby.";
inline constexpr const char *libraryVersion = "1.0";
inline constexpr std::uint32_t libraryLocale = 1033;

} // namespace qfc
