#include "ui/qt/x11/x11_atoms.h"

#include <algorithm>

namespace x11 {

namespace {

// A window property of 32-bit items of the type, up to the length in items.
Owned<xcb_get_property_reply_t> property32(xcb_connection_t *connection, xcb_window_t window,
                                           xcb_atom_t property, xcb_atom_t type,
                                           std::uint32_t length) {
    Owned<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, property, type, 0, length), nullptr));
    if (reply == nullptr || reply->format != 32 || reply->type != type) {
        return nullptr;
    }
    return reply;
}

}  // namespace

std::vector<xcb_atom_t> atomList(xcb_connection_t *connection, xcb_window_t window,
                                 xcb_atom_t property) {
    const auto reply = property32(connection, window, property, XCB_ATOM_ATOM, 1024);
    if (reply == nullptr) {
        return {};
    }
    const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply.get()));
    return {atoms, atoms + xcb_get_property_value_length(reply.get()) / 4};
}

xcb_window_t windowOf(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t property) {
    const auto reply = property32(connection, window, property, XCB_ATOM_WINDOW, 1);
    if (reply == nullptr || xcb_get_property_value_length(reply.get()) < 4) {
        return XCB_NONE;
    }
    return *static_cast<const xcb_window_t *>(xcb_get_property_value(reply.get()));
}

std::string textOf(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t property) {
    const Owned<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 64),
        nullptr));
    if (reply == nullptr || reply->format != 8) {
        return {};
    }
    const auto *text = static_cast<const char *>(xcb_get_property_value(reply.get()));
    return {text, static_cast<std::size_t>(xcb_get_property_value_length(reply.get()))};
}

bool holds(const std::vector<xcb_atom_t> &atoms, xcb_atom_t atom) {
    return std::find(atoms.begin(), atoms.end(), atom) != atoms.end();
}

bool isXWayland(xcb_connection_t *connection) {
    constexpr std::string_view kXWayland = "XWAYLAND";
    const Owned<xcb_query_extension_reply_t> extension(xcb_query_extension_reply(
        connection,
        xcb_query_extension(connection, static_cast<std::uint16_t>(kXWayland.size()),
                            kXWayland.data()),
        nullptr));
    return extension != nullptr && extension->present != 0;
}

}  // namespace x11
