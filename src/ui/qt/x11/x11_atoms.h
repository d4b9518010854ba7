// x11_atoms.h
// Small helpers over xcb for the window's presence: replies that free
// themselves, atoms looked up in one round trip, and the window properties
// the program reads (a list of atoms, a window, a name), and which server
// it is.
#pragma once

#include <xcb/xcb.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace x11 {

template <typename T>
struct FreeReply {
    void operator()(T *reply) const { std::free(reply); }
};
// A reply or an event of xcb, freed when it goes.
template <typename T>
using Owned = std::unique_ptr<T, FreeReply<T>>;

// The atoms of the names, asked for together; XCB_ATOM_NONE where the server
// gave no answer.
template <std::size_t N>
std::array<xcb_atom_t, N> internAtoms(xcb_connection_t *connection,
                                      const std::array<std::string_view, N> &names) {
    std::array<xcb_intern_atom_cookie_t, N> cookies{};
    for (std::size_t i = 0; i < N; ++i) {
        cookies[i] = xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(names[i].size()),
                                     names[i].data());
    }
    std::array<xcb_atom_t, N> atoms{};
    for (std::size_t i = 0; i < N; ++i) {
        const Owned<xcb_intern_atom_reply_t> reply(
            xcb_intern_atom_reply(connection, cookies[i], nullptr));
        atoms[i] = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }
    return atoms;
}

// The atoms a window's property of type ATOM holds (such as _NET_WM_STATE);
// none where it holds no such list.
[[nodiscard]] std::vector<xcb_atom_t> atomList(xcb_connection_t *connection, xcb_window_t window,
                                               xcb_atom_t property);

// The window a window's property of type WINDOW names; XCB_NONE where it
// names none.
[[nodiscard]] xcb_window_t windowOf(xcb_connection_t *connection, xcb_window_t window,
                                    xcb_atom_t property);

// A window's property as text (such as _NET_WM_NAME), at most 256 bytes.
[[nodiscard]] std::string textOf(xcb_connection_t *connection, xcb_window_t window,
                                 xcb_atom_t property);

// Whether the list holds the atom.
[[nodiscard]] bool holds(const std::vector<xcb_atom_t> &atoms, xcb_atom_t atom);

// Whether the X server is XWayland (it has its extension): a Wayland
// compositor's, which hears of the pointer only over X11 windows.
[[nodiscard]] bool isXWayland(xcb_connection_t *connection);

}  // namespace x11
