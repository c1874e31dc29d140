// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/genfuns/formhelpers.h"

#include "lib/apifuns/apifuns.h"
#include "lib/apifuns/widgets.h"
#include "lib/apifuns/windowmessages.h"
#include "lib/frame/argholders_p.h"
#include "lib/frame/module.h"
#include "platform/com/comptr.h"
#include "platform/com/controlkinds.h"
#include "platform/com/latebound.h"
#include "platform/os/pathkind.h"

#include <optional>

namespace qfc
{

namespace
{

using mrb::platform::ComPtr;
using mrb::platform::getMember;
using mrb::platform::Ref;
using mrb::platform::Variant;

std::optional<std::string> textOf(const std::optional<Variant> &value)
{
    if (!value)
        return std::nullopt;
    mrb::platform::Bstr owned;
    BSTR borrowed = nullptr;
    if (FAILED(detail::toBstr(*detail::unwrap(value->get()), &owned, &borrowed)))
        return std::nullopt;
    return mrb::platform::toUtf8(borrowed ? borrowed : owned.get());
}

std::optional<std::int64_t> numberOf(const std::optional<Variant> &value, std::int64_t low, std::int64_t high)
{
    std::int64_t n = 0;
    if (!value || FAILED(detail::toInteger(*detail::unwrap(value->get()), low, high, &n)))
        return std::nullopt;
    return n;
}

ComPtr<IDispatch> objectOf(const std::optional<Variant> &value)
{
    return value ? ComPtr<IDispatch>(mrb::platform::objectIn(*value), Ref::Adopt) : ComPtr<IDispatch>();
}

// The items of a collection, numbered from first.
template <class F> void forEachItem(IDispatch *collection, std::int32_t first, F each)
{
    const auto count = numberOf(getMember(collection, "Count"), 0, INT32_MAX);
    for (std::int32_t i = 0; count && i < *count; ++i) {
        if (ComPtr<IDispatch> item = objectOf(getMember(collection, "Item", first + i)))
            each(item.get(), first + i);
    }
}

// A control's key: its Name, followed by (Index) for a member of a control array.
std::optional<std::string> keyOf(IDispatch *control)
{
    auto key = textOf(getMember(control, "Name"));
    if (key) {
        if (const auto index = textOf(getMember(control, "Index")))
            *key += "(" + *index + ")";
    }
    return key;
}

// The given file when it exists, else the one of that name beside the library.
std::string languageFile(const std::string &given, const char *standard)
{
    if (mrb::platform::pathKindOf(given) == mrb::platform::PathKind::File)
        return given;
    const std::string library = libraryPath();
    return library.substr(0, library.rfind('/') + 1) + standard;
}

} // namespace

void setMenuCaptions(IDispatch *form, const std::string &menusFile)
{
    const std::string file = languageFile(menusFile, "menus.dll");
    const auto section = textOf(getMember(form, "Name"));
    ComPtr<IDispatch> controls = objectOf(getMember(form, "Controls"));
    if (!section || !controls)
        return;
    forEachItem(controls.get(), 0, [&](IDispatch *control, std::int32_t) {
        if (!mrb::platform::implementsInterface(control, mrb::platform::IID_MenuControl))
            return;
        const auto key = keyOf(control);
        const std::string text = key ? readIniValue(file, *section, *key) : std::string();
        // An empty text leaves the caption as it is.
        if (!text.empty())
            mrb::platform::putMember(control, "Caption", Variant::fromString(text));
    });
}

void setTips(IDispatch *form, const std::string &tipsFile)
{
    const std::string file = languageFile(tipsFile, "tips.dll");
    const auto section = textOf(getMember(form, "Name"));
    ComPtr<IDispatch> controls = objectOf(getMember(form, "Controls"));
    if (!section || !controls)
        return;
    const auto tip = [&](IDispatch *target, const std::string &key) {
        // Assigned even when empty: a key the file lacks clears the tip.
        mrb::platform::putMember(target, "ToolTipText", Variant::fromString(readIniValue(file, *section, key)));
    };
    forEachItem(controls.get(), 0, [&](IDispatch *control, std::int32_t) {
        const auto name = textOf(getMember(control, "Name"));
        const struct {
            const IID &kind;
            const char *parts;
        } groups[] = {{mrb::platform::IID_ToolbarControl, "Buttons"}, {mrb::platform::IID_StatusBarControl, "Panels"}};
        for (const auto &group : groups) {
            if (!name || !mrb::platform::implementsInterface(control, group.kind))
                continue;
            if (ComPtr<IDispatch> parts = objectOf(getMember(control, group.parts))) {
                forEachItem(parts.get(), 1, [&](IDispatch *part, std::int32_t i) {
                    tip(part, *name + "." + group.parts + "(" + std::to_string(i) + ")");
                });
            }
        }
        if (!getMember(control, "ToolTipText"))
            return; // a control without a tip
        if (const auto key = keyOf(control))
            tip(control, *key);
    });
}

void adjustListColumnWidths(IDispatch *listView)
{
    constexpr std::int32_t reportView = 3;
    if (numberOf(getMember(listView, "View"), INT32_MIN, INT32_MAX) != reportView)
        return;
    ComPtr<IDispatch> items = objectOf(getMember(listView, "ListItems"));
    if (!items || numberOf(getMember(items.get(), "Count"), INT32_MIN, INT32_MAX).value_or(0) < 1)
        return;
    ComPtr<IDispatch> columns = objectOf(getMember(listView, "ColumnHeaders"));
    const auto window = numberOf(getMember(listView, "hwnd"), INT32_MIN, INT32_MAX);
    if (!columns)
        return;
    forEachItem(columns.get(), 1, [&](IDispatch *column, std::int32_t i) {
        // -1: as wide as the column's widest item.
        if (window)
            sendWindowMessage(widgetOf(static_cast<std::int32_t>(*window)), messages::setColumnWidth, i - 1, -1);
        // The Tag holds the column's least width; empty or not a number, none.
        const auto least = numberOf(getMember(column, "Tag"), INT16_MIN, INT16_MAX);
        const auto width = numberOf(getMember(column, "Width"), INT32_MIN, INT32_MAX);
        if (least && width && *width < *least)
            mrb::platform::putMember(column, "Width", Variant::fromInt32(static_cast<std::int32_t>(*least)));
    });
}

} // namespace qfc
