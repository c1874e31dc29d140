// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/fs/eightbittext.h"

namespace mrb::platform
{

std::unique_ptr<TextWriter> inEightBitText(std::unique_ptr<TextWriter> writer)
{
    return writer;
}

} // namespace mrb::platform
