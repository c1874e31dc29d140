// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

// Every web address the program opens, in one place. The query parts tell the
// site where a visit came from and are fixed.
namespace mrb::ui::weblinks
{

inline constexpr std::string_view site = "https://marrowby.org/";

inline constexpr std::string_view productHomepage = "https://marrowby.org/?source=ui";
inline constexpr std::string_view recommendPage = "https://marrowby.org/?selectedTab=recommend";
inline constexpr std::string_view freewareList = "https://marrowby.org/software/?source=mrb-ui";
inline constexpr std::string_view makerHomepage = "https://marrowby.org/developers/?source=mrb-ui";
// our own address that forwards to the project's page on the social network
inline constexpr std::string_view facebookPage = "https://marrowby.org/facebook/";
// one donation address for the Help menu, the toolbar and the About box
inline constexpr std::string_view donationPage = "https://marrowby.org/donate/?source=mrb-ui";

} // namespace mrb::ui::weblinks
