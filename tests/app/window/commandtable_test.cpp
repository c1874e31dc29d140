// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/window/commandtable.h"
#include "app/window/weblinks.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace mrb::ui;

TEST(CommandTable, SharedCaptionsHaveTheirOwnPrompts)
{
    ASSERT_NE(findMenuItem("mensn"), nullptr);
    ASSERT_NE(findMenuItem("mendn"), nullptr);
    EXPECT_EQ(findMenuItem("mensn")->caption, findMenuItem("mendn")->caption);
    EXPECT_EQ(findMenuItem("mensn")->prompt, " Do not select any item in the source listing <Ctrl+N>.");
    EXPECT_EQ(findMenuItem("mendn")->prompt, " Do not select any item in the destination listing.");
    EXPECT_EQ(findMenuItem("menso")->caption, findMenuItem("mendo")->caption);
    EXPECT_NE(findMenuItem("menso")->command, findMenuItem("mendo")->command);
}

TEST(CommandTable, NamesAreUniqueAndEveryCommandItemHasABlankLedPrompt)
{
    std::set<std::string_view> names;
    int separators = 0;
    for (const Menu &menu : menuTable()) {
        EXPECT_TRUE(names.insert(menu.name).second) << menu.name;
        for (const MenuItem &item : menu.items) {
            EXPECT_TRUE(names.insert(item.name).second) << item.name;
            EXPECT_EQ(item.name.substr(0, menu.name.size()), menu.name) << item.name;
            if (item.isSeparator()) {
                ++separators;
                EXPECT_TRUE(item.prompt.empty());
                EXPECT_EQ(item.command, Command::None);
            } else {
                ASSERT_FALSE(item.prompt.empty()) << item.name;
                EXPECT_EQ(item.prompt.front(), ' ') << item.name;
                EXPECT_NE(item.command, Command::None) << item.name;
            }
        }
    }
    EXPECT_EQ(separators, 8);
}

TEST(CommandTable, ShortcutsBelongToTheirItems)
{
    const std::pair<const char *, const char *> expected[] = {
        {"menss", "Ctrl+A"},
        {"mensn", "Ctrl+N"},
        {"mensa", "Ctrl+T"},
        {"mendr", "Ctrl+R"},
        {"mendc", "Ctrl+L"},
        {"mentm", "F5"},
        {"mento", "F4"},
        {"menhh", "F1"},
    };
    int withShortcut = 0;
    for (const Menu &menu : menuTable())
        for (const MenuItem &item : menu.items)
            withShortcut += item.shortcut.empty() ? 0 : 1;
    EXPECT_EQ(withShortcut, 8);
    for (const auto &[name, keys] : expected) {
        SCOPED_TRACE(name);
        ASSERT_NE(findMenuItem(name), nullptr);
        EXPECT_EQ(findMenuItem(name)->shortcut, keys);
    }
}

TEST(ToolbarDispatch, TagsRunTheirMenuItems)
{
    const std::pair<const char *, const char *> routes[] = {
        {"all", "menss"},
        {"add", "mensa"},
        {"remove", "mendr"},
        {"clear", "mendc"},
        {"make", "mentm"},
        {"options", "mento"},
        {"donate", "menhd"},
    };
    for (const auto &[tag, item] : routes) {
        SCOPED_TRACE(tag);
        ASSERT_NE(toolbarMenuItem(tag), nullptr);
        EXPECT_EQ(toolbarMenuItem(tag)->name, item);
    }
}

TEST(ToolbarDispatch, UnknownTagsRunNothing)
{
    EXPECT_EQ(toolbarMenuItem(""), nullptr);
    EXPECT_EQ(toolbarMenuItem("ALL"), nullptr); // exact comparison
    EXPECT_EQ(toolbarMenuItem("exit"), nullptr);
    // every button but the separators carries a tag that runs something
    int buttons = 0;
    for (const ToolbarButton &button : toolbarButtons()) {
        if (button.caption.empty())
            continue;
        ++buttons;
        EXPECT_NE(toolbarMenuItem(button.tag), nullptr) << button.tag;
    }
    EXPECT_EQ(buttons, 7);
}

TEST(WebLinks, FixedQueryPartsOnOurOwnSite)
{
    const std::string_view all[] = {weblinks::productHomepage,
        weblinks::recommendPage,
        weblinks::freewareList,
        weblinks::makerHomepage,
        weblinks::facebookPage,
        weblinks::donationPage};
    for (std::string_view link : all)
        EXPECT_EQ(link.substr(0, weblinks::site.size()), weblinks::site) << link;
    EXPECT_TRUE(weblinks::productHomepage.ends_with("?source=ui"));
    EXPECT_TRUE(weblinks::freewareList.ends_with("?source=mrb-ui"));
    EXPECT_TRUE(weblinks::makerHomepage.ends_with("?source=mrb-ui"));
    EXPECT_TRUE(weblinks::recommendPage.ends_with("?selectedTab=recommend"));
}
