// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/window/commandtable.h"

namespace mrb::ui
{

namespace
{

constexpr MenuItem sourceItems[] = {
    {"menss", "&Select All", "Ctrl+A", " Selects all items in the source listing <Ctrl+A>.", Command::SelectAllSource},
    {"mensn",
        "Select &None",
        "Ctrl+N",
        " Do not select any item in the source listing <Ctrl+N>.",
        Command::SelectNoneSource},
    {"menssa", "-", "", "", Command::None},
    {"menso", "&Open", "", " Runs/opens the selected items in the source listing.", Command::OpenSource},
    {"mensa",
        "&Add To Destination",
        "Ctrl+T",
        " Adds the selected items to the destination listing.",
        Command::AddToDestination},
    {"menssb", "-", "", "", Command::None},
    {"mensx", "E&xit", "", " Quits Marrowby.", Command::Exit},
};

constexpr MenuItem destinationItems[] = {
    {"menda", "Select &All", "", " Selects all items in the destination listing.", Command::SelectAllDestination},
    {"mendn",
        "Select &None",
        "",
        " Do not select any item in the destination listing.",
        Command::SelectNoneDestination},
    {"mendsa", "-", "", "", Command::None},
    {"mendr",
        "&Remove",
        "Ctrl+R",
        " Removes the selected items from the destination listing <Ctrl+R>.",
        Command::RemoveDestination},
    {"mendc",
        "&Clear",
        "Ctrl+L",
        " Removes all items from the destination listing <Ctrl+L>.",
        Command::ClearDestination},
    {"mendo", "&Open", "", " Runs/opens the selected items in the destination listing.", Command::OpenDestination},
};

constexpr MenuItem toolsItems[] = {
    {"mentm", "&Make...", "F5", " Outputs the destination items to a file using current settings <F5>.", Command::Make},
    {"mentsa", "-", "", "", Command::None},
    {"mento", "&Options...", "F4", " Displays and sets ptions <F4>.", Command::Options},
    {"mentsb", "-", "", "", Command::None},
    {"menta",
        "M&ap Network Drive...",
        "",
        " Maps a network drive, so as to output the items on the remote hosts.",
        Command::MapNetworkDrive},
    {"mentd",
        "&Disconnect Network Drive...",
        "",
        " Disconnects a network drive (if you no longer need it).",
        Command::DisconnectNetworkDrive},
    {"mentsc", "-", "", "", Command::None},
    {"ments",
        "&Size Of The Destination Folder(s)...",
        "",
        " Computes the size of all destination folder(s).",
        Command::SizeOfDestinationFolders},
    {"mentf",
        "Size Of The Destination &File(s)...",
        "",
        " Computes the size of all destination file(s).",
        Command::SizeOfDestinationFiles},
};

constexpr MenuItem catalogItems[] = {
    {"menca",
        "&Add Destination to Catalog...",
        "",
        " Keeps the destination listing in the catalog as a snapshot, to search and compare later.",
        Command::AddDestinationToCatalog},
    {"mencs",
        "&Search Catalog...",
        "",
        " Searches every snapshot in the catalog, of drives plugged in or not.",
        Command::SearchCatalog},
    {"mencc",
        "&Compare Snapshots...",
        "",
        " Shows what was added, removed, changed and moved between two snapshots.",
        Command::CompareSnapshots},
};

constexpr MenuItem helpItems[] = {
    {"menhh", "&Homepage", "F1", " Visits product homepage.", Command::Homepage},
    {"menhv", "&View All Our Freeware", "", " Visits our freeware listing page.", Command::Freeware},
    {"menhl", "&Find Us on Facebook", "", " Likes us on facebook.", Command::Facebook},
    {"menhsa", "-", "", "", Command::None},
    {"menhd",
        "&Donate to Marrowby",
        "",
        " It's 100% Freeware, welcome your donation with any amount as you like.",
        Command::Donate},
    {"menhr", "&Recommend to Friends", "", " Recommends it to your friends by email.", Command::Recommend},
    {"menhsb", "-", "", "", Command::None},
    {"menha",
        "&About Marrowby",
        "",
        " Displays program information, version number and copyright information.",
        Command::About},
};

constexpr Menu menus[] = {
    {"mens", "&Source", sourceItems},
    {"mend", "&Destination", destinationItems},
    {"ment", "&Tools", toolsItems},
    {"menc", "&Catalog", catalogItems},
    {"menh", "&Help", helpItems},
};

constexpr ToolbarButton buttons[] = {
    {"All", "all", "Selects all items in the source listing.", "edit-select-all"},
    {"Add", "add", "Adds the selection to the destination listing.", "list-add"},
    {"", "", "", ""},
    {"Remove", "remove", "Removes the selection items from the destination listing.", "list-remove"},
    {"Clear", "clear", "Removes all items from the destination listing.", "edit-clear"},
    {"", "", "", ""},
    {"Make", "make", "Outputs the destination items to a file.", "document-save"},
    {"Options", "options", "Displays and sets MRB options.", "preferences-system"},
    {"Donate", "donate", "Welcome your donation with any amount as you like.", "emblem-favorite"},
};

struct TagRoute {
    std::string_view tag;
    std::string_view menuItem;
};
constexpr TagRoute tagRoutes[] = {
    {"all", "menss"},
    {"add", "mensa"},
    {"remove", "mendr"},
    {"clear", "mendc"},
    {"make", "mentm"},
    {"options", "mento"},
    {"donate", "menhd"},
};

constexpr ControlTip tips[] = {
    {"cbxHidden", "Checks it to show the hidden items."},
    {"cbxSystem", "Checks it to show the system items."},
    {"txtFilter", "Changes it to filter items."},
    {"lsvSource", "Source listing."},
    {"lsvTarget", "Destination listing."},
    {"trv", "System resources."},
};

constexpr StatusPanel panels[] = {
    {"Folders: 0", "The destination folders total."},
    {"Files: 0", "The destination files total."},
    {"Ready.", "System prompts."},
};

} // namespace

std::span<const Menu> menuTable()
{
    return menus;
}

const MenuItem *findMenuItem(std::string_view name)
{
    for (const Menu &menu : menus)
        for (const MenuItem &item : menu.items)
            if (item.name == name)
                return &item;
    return nullptr;
}

std::span<const ToolbarButton> toolbarButtons()
{
    return buttons;
}

const MenuItem *toolbarMenuItem(std::string_view tag)
{
    for (const TagRoute &route : tagRoutes)
        if (route.tag == tag)
            return findMenuItem(route.menuItem);
    return nullptr;
}

std::span<const ControlTip> controlTips()
{
    return tips;
}

std::string_view tipOf(std::string_view control)
{
    for (const ControlTip &tip : tips)
        if (tip.control == control)
            return tip.tip;
    return {};
}

std::span<const StatusPanel> statusPanels()
{
    return panels;
}

} // namespace mrb::ui
