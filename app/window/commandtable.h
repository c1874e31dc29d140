// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <span>
#include <string_view>

namespace mrb::ui
{

// Every command the main window routes, whatever started it (menu item,
// toolbar button, shortcut key, listing event).
enum class Command {
    None,
    SelectAllSource,
    SelectNoneSource,
    OpenSource,
    AddToDestination,
    Exit,
    SelectAllDestination,
    SelectNoneDestination,
    RemoveDestination,
    ClearDestination,
    OpenDestination,
    Make,
    Options,
    MapNetworkDrive,
    DisconnectNetworkDrive,
    SizeOfDestinationFolders,
    SizeOfDestinationFiles,
    AddDestinationToCatalog,
    SearchCatalog,
    CompareSnapshots,
    Homepage,
    Freeware,
    Facebook,
    Donate,
    Recommend,
    About,
};

// One entry of a menu: a command item, or a separator (caption "-").
struct MenuItem {
    std::string_view name; // object name of the action
    std::string_view caption; // "&" marks the access key
    std::string_view shortcut; // portable key text ("Ctrl+A", "F5"), or empty
    std::string_view prompt; // prompt panel text while highlighted
    Command command = Command::None;
    bool isSeparator() const { return caption == "-"; }
};

struct Menu {
    std::string_view name;
    std::string_view caption;
    std::span<const MenuItem> items;
};

// The menu bar, left to right.
std::span<const Menu> menuTable();
// The menu item with this object name, or nullptr.
const MenuItem *findMenuItem(std::string_view name);

struct ToolbarButton {
    std::string_view caption; // empty for a separator
    std::string_view tag;
    std::string_view tip;
    std::string_view icon; // desktop icon-theme name
};
std::span<const ToolbarButton> toolbarButtons();
// The menu item a toolbar tag runs: the tags are compared in a fixed order
// ("all", "add", "remove", "clear", "make", "options", "donate") and the first
// match wins; any other tag runs nothing (nullptr).
const MenuItem *toolbarMenuItem(std::string_view tag);

// Controls whose tip is shown in the prompt panel while the mouse moves over them.
struct ControlTip {
    std::string_view control;
    std::string_view tip;
};
std::span<const ControlTip> controlTips();
std::string_view tipOf(std::string_view control);

struct StatusPanel {
    std::string_view startText;
    std::string_view tip;
};
std::span<const StatusPanel> statusPanels();

inline constexpr std::string_view readyPrompt = " Ready.";
inline constexpr std::string_view toolbarPrompt = " Toolbar.";
inline constexpr std::string_view programTitle = "Marrowby";

} // namespace mrb::ui
