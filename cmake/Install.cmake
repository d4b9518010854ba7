# What `cmake --install` puts under the prefix, and the Debian package made of it.
include(GNUInstallDirs)

install(TARGETS tallaro RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES assets/${TALLARO_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(assets/${TALLARO_APP_ID}.metainfo.xml.in
               generated/${TALLARO_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/generated/${TALLARO_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 24 32 48 64 128 256)
    install(FILES assets/icons/tallaro-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${TALLARO_APP_ID}.png)
endforeach()
install(FILES assets/tallaro.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${TALLARO_APP_ID}.svg)

# The manual page and the changelog, compressed as Debian keeps them (no name
# or time stamp in the gzip header, so that a build repeats byte for byte),
# and the copyright statement with the licence.
include(cmake/Licence.cmake)
set(TALLARO_GENERATED ${CMAKE_CURRENT_BINARY_DIR}/generated)
configure_file(packaging/tallaro.1.in ${TALLARO_GENERATED}/tallaro.1 @ONLY)
configure_file(packaging/copyright.in ${TALLARO_GENERATED}/copyright @ONLY)
configure_file(packaging/changelog.in ${TALLARO_GENERATED}/changelog @ONLY)
foreach(file tallaro.1 changelog)
    add_custom_command(OUTPUT ${TALLARO_GENERATED}/${file}.gz
                       COMMAND gzip -9 -n -c ${TALLARO_GENERATED}/${file} > ${TALLARO_GENERATED}/${file}.gz
                       DEPENDS ${TALLARO_GENERATED}/${file} VERBATIM)
endforeach()
add_custom_target(tallaro_docs ALL DEPENDS ${TALLARO_GENERATED}/tallaro.1.gz ${TALLARO_GENERATED}/changelog.gz)
install(FILES ${TALLARO_GENERATED}/tallaro.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${TALLARO_GENERATED}/changelog.gz ${TALLARO_GENERATED}/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tallaro)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tallaro)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Tallaro)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "meter of what a running meeting has cost so far")
set(CPACK_PACKAGE_DESCRIPTION
    "A small window that stays above all others: type the number of persons, their\n\
average hourly salary and a base cost, press Start, and the amount grows every\n\
second in large red digits beside the elapsed time. The window fades while the\n\
pointer is away from it.")
set(CPACK_PACKAGE_CONTACT "the Tallaro developers <dev@tallaro.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${TALLARO_HOMEPAGE})
# The libraries come from the binary; the window needs Qt's platform plugins too.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
# The native Wayland road reaches into Qt's private Gui interface, which holds
# only for the Qt release it was built against: Debian names that release
# through a virtual package of its Qt core library.
if(TALLARO_LAYER_SHELL)
    string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", qt6-base-private-abi (= ${Qt6Gui_VERSION})")
endif()
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation)
include(CPack)
