#include "app/dialogs/EmptyCaption.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

xcb_atom_t Atom(xcb_connection_t* connection, const char* name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

void ClearProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property,
                   xcb_atom_t type)
{
    if (property != XCB_ATOM_NONE && type != XCB_ATOM_NONE)
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, property, type, 8, 0,
                            nullptr);
}

}  // namespace

void ShowEmptyCaption(QWidget& window)
{
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr)
        return;
    xcb_connection_t* connection = x11->connection();
    // Asking for the id creates the native window, and with it the title Qt gives it.
    const auto id = static_cast<xcb_window_t>(window.winId());
    // Window managers show the UTF-8 name where there is one, else the older Latin-1 name.
    ClearProperty(connection, id, Atom(connection, "_NET_WM_NAME"),
                  Atom(connection, "UTF8_STRING"));
    ClearProperty(connection, id, XCB_ATOM_WM_NAME, XCB_ATOM_STRING);
    xcb_flush(connection);
}
