# The native Wayland road: a layer surface through KDE's LayerShellQt (its
# Qt 6 build), the alpha modifier through wayland-client, and the window's
# wl_surface from Qt's platform interface. Where any of it is missing
# (Debian 12 has no Qt 6 build of LayerShellQt) the program is built
# without it, and Wayland sessions go on through XWayland.
find_package(LayerShellQt 6 QUIET)
# Qt defines the private Gui target along with Gui up to 6.8; from 6.9 on it
# exists only when asked for by name, with a warning that the program is then
# tied to the Qt it was built against: the package says so in its Depends
# (cmake/Install.cmake).
if(LayerShellQt_FOUND AND NOT TARGET Qt6::GuiPrivate)
    set(QT_NO_PRIVATE_MODULE_WARNING ON)
    find_package(Qt6 QUIET COMPONENTS GuiPrivate)
endif()
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
    pkg_check_modules(WaylandClient QUIET IMPORTED_TARGET wayland-client)
    pkg_get_variable(WAYLAND_PROTOCOLS_DIR wayland-protocols pkgdatadir)
    pkg_get_variable(WAYLAND_SCANNER wayland-scanner wayland_scanner)
endif()
set(alpha_xml ${WAYLAND_PROTOCOLS_DIR}/staging/alpha-modifier/alpha-modifier-v1.xml)
set(native_interface
    ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_HEADERS}/QtGui/${Qt6Gui_VERSION}/QtGui/qpa/qplatformnativeinterface.h)
if(NOT LayerShellQt_FOUND OR NOT TARGET Qt6::GuiPrivate OR NOT WaylandClient_FOUND
   OR NOT EXISTS "${native_interface}"
   OR NOT EXISTS "${alpha_xml}" OR NOT WAYLAND_SCANNER)
    message(STATUS "Tallaro: built without the native Wayland road (needs LayerShellQt 6, "
                   "wayland-client, wayland-protocols and Qt's private Gui headers); "
                   "Wayland sessions go through XWayland")
    return()
endif()

set(generated ${CMAKE_CURRENT_BINARY_DIR}/generated/wayland)
file(MAKE_DIRECTORY ${generated})
add_custom_command(
    OUTPUT ${generated}/alpha-modifier-v1-client.h ${generated}/alpha-modifier-v1.c
    COMMAND ${WAYLAND_SCANNER} client-header ${alpha_xml} ${generated}/alpha-modifier-v1-client.h
    COMMAND ${WAYLAND_SCANNER} private-code ${alpha_xml} ${generated}/alpha-modifier-v1.c
    DEPENDS ${alpha_xml} VERBATIM)
enable_language(C)
add_library(tallaro_alpha_protocol STATIC ${generated}/alpha-modifier-v1.c)
target_include_directories(tallaro_alpha_protocol PUBLIC ${CMAKE_CURRENT_BINARY_DIR}/generated)
target_link_libraries(tallaro_alpha_protocol PUBLIC PkgConfig::WaylandClient)

target_sources(tallaro_qt PRIVATE src/ui/qt/wayland/layer_frame.cpp
               src/ui/qt/wayland/wayland_presence.cpp)
target_link_libraries(tallaro_qt PUBLIC LayerShellQt::Interface Qt6::GuiPrivate
                      PRIVATE tallaro_alpha_protocol)
target_compile_definitions(tallaro_qt PUBLIC TALLARO_HAVE_LAYER_SHELL)
set(TALLARO_LAYER_SHELL ON)
message(STATUS "Tallaro: built with the native Wayland road (layer-shell)")
