// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/os/privatefolder.h"

#include <cerrno>
#include <sys/stat.h>

namespace mrb::platform
{

Result<> makePrivateFolder(const std::string &path)
{
    for (std::size_t at = 1; at <= path.size(); ++at) {
        if (at == path.size() || path[at] == '/') {
            const std::string prefix = path.substr(0, at);
            if (::mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST)
                return systemProblem(prefix, errno);
        }
    }
    return {};
}

} // namespace mrb::platform
