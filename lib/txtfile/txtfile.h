// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "lib/frame/classdefinition.h"

namespace qfc
{

// The class TxtFile: line operations on text files and text in named character sets. Its operations are
// QFC_TXTFILE_OPERATIONS.
class TxtFile final : public DispatchObject<TxtFile, QfcTxtFile>
{
    QFC_CLASS_OPERATIONS(TxtFile, QFC_TXTFILE_OPERATIONS)
};

} // namespace qfc
