// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/desktop/desktopwindows.h"

#include <QGuiApplication>
#include <QString>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <xcb/xcb.h>

namespace mrb::platform
{

namespace
{

template <class T> using XcbReply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t atomNamed(xcb_connection_t *c, const char *name)
{
    XcbReply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t {XCB_ATOM_NONE};
}

// The whole of a property's value as bytes; "" when the window has none.
std::string propertyOf(xcb_connection_t *c, xcb_window_t window, xcb_atom_t property, xcb_atom_t type)
{
    XcbReply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, property, type, 0, 1 << 20), nullptr), &std::free);
    if (!reply || reply->type == XCB_ATOM_NONE)
        return {};
    const auto *data = static_cast<const char *>(xcb_get_property_value(reply.get()));
    const int length = xcb_get_property_value_length(reply.get());
    return std::string(data, data + (length > 0 ? length : 0));
}

std::uint32_t findOtherClient(const QString &title)
{
    auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *c = x11 ? x11->connection() : nullptr;
    if (!c)
        return 0;
    const xcb_atom_t clientList = atomNamed(c, "_NET_CLIENT_LIST");
    const xcb_atom_t netName = atomNamed(c, "_NET_WM_NAME");
    const xcb_atom_t utf8 = atomNamed(c, "UTF8_STRING");
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(c)); it.rem; xcb_screen_next(&it)) {
        const std::string list = propertyOf(c, it.data->root, clientList, XCB_ATOM_WINDOW);
        for (std::size_t at = 0; at + sizeof(xcb_window_t) <= list.size(); at += sizeof(xcb_window_t)) {
            xcb_window_t window = 0;
            std::memcpy(&window, list.data() + at, sizeof window);
            // The window manager's own UTF-8 name first, else the old Latin-1 one.
            const std::string name = propertyOf(c, window, netName, utf8);
            const QString shown = !name.empty()
                ? QString::fromUtf8(name)
                : QString::fromLatin1(propertyOf(c, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING));
            if (shown == title)
                return window;
        }
    }
    return 0;
}

} // namespace

std::uint32_t findDesktopWindowTitled(const std::string &title)
{
    return findOtherClient(QString::fromStdString(title));
}

} // namespace mrb::platform
