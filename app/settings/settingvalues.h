// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

// The texts that settings are compared with, each spelt once. A value is
// compared exactly as it was read: "playlist" is none of these.

namespace mrb::core::settingvalue
{

// Switches (Common.Path, Output.Standard, System.Dialog ...).
inline constexpr const char *on = "True";
inline constexpr const char *off = "False";

// Output.FileType
inline constexpr const char *playlist = "Playlist";
inline constexpr const char *pbr = "PBR";
inline constexpr const char *customize = "Customize";

// Common.Unit
inline constexpr const char *bytes = "Bytes";
inline constexpr const char *kilobytes = "KB";
inline constexpr const char *megabytes = "MB";
inline constexpr const char *gigabytes = "GB";

// Common.Item
inline constexpr const char *files = "Files";
inline constexpr const char *folders = "Folders";
inline constexpr const char *filesAndFolders = "FF";

} // namespace mrb::core::settingvalue
