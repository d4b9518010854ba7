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

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tallaro)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Tallaro)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Zeigt, was eine laufende Besprechung bisher kostet")
set(CPACK_PACKAGE_DESCRIPTION
    "Ein kleines Fenster über allen anderen: Personen, Stundensatz und Grundkosten\\n\
eingeben, \\\"Start\\\" drücken, und der Betrag wächst jede Sekunde.")
set(CPACK_PACKAGE_CONTACT "Tallaro developers <dev@tallaro.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${TALLARO_HOMEPAGE})
# The libraries come from the binary; the window needs Qt's platform plugins too.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation)
include(CPack)
