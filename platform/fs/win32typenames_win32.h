// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

namespace mrb::platform
{

// The shell's type description of a file, from its name alone ("Text
// Document"; "XYZ File" for an extension nobody registered), cached per
// lower-case extension; "Folder" for folders. Safe from several threads.
class Win32TypeNames
{
public:
    const std::string &describe(std::string_view fileName);
    const std::string &folder();

private:
    std::mutex m_mutex;
    std::unordered_map<std::string, std::string> m_byExtension;
    std::string m_folder;
};

} // namespace mrb::platform
