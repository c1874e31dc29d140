// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "lib/frame/classdefinition.h"

namespace qfc
{

// The class APIFuns: thin operating-system helpers (dialogs, shell actions,
// profile files, special folders, the trash). Its operations are
// QFC_APIFUNS_OPERATIONS, with their published names.
// A value of an INI file as ReadIni reads it: at most 65,534 bytes, leading
// blanks dropped, "" when missing. GenFuns' language files are read so too.
std::string readIniValue(const std::string &file, const std::string &section, const std::string &key);

class ApiFuns final : public DispatchObject<ApiFuns, QfcAPIFuns>
{
    QFC_CLASS_OPERATIONS(ApiFuns, QFC_APIFUNS_OPERATIONS)
};

} // namespace qfc
