# The Windows Installer packages beside the zip: tallaro-<version>-win32.msi
# for one user and without administrator rights, and
# tallaro-<version>-win32-machine.msi for every user of a machine (win64 for
# the 64-bit build), made by the tallaro_msi target with wixl
# (cmake/BuildMsi.cmake) from packaging/tallaro.wxs, with the values this
# build already keeps.
set(TALLARO_MSI ${CMAKE_CURRENT_BINARY_DIR}/tallaro-${PROJECT_VERSION}-${TALLARO_WINDOWS_FLAVOUR}.msi)
if(TALLARO_WINDOWS_FLAVOUR STREQUAL "win64")
    set(msi_arch x64)
else()
    set(msi_arch x86)
endif()
# The one upgrade code, for ever: a later version of the package replaces an
# earlier one because they share it.
set(msi_settings
    WXS "${CMAKE_CURRENT_SOURCE_DIR}/packaging/tallaro.wxs"
    PROGRAM "$<TARGET_FILE:tallaro_win32>"
    ICON "${TALLARO_ICO}"
    VERSION "${PROJECT_VERSION}"
    VERSION_TEXT "${TALLARO_VERSION_TEXT}"
    ARCH "${msi_arch}"
    PUBLISHER "${TALLARO_PUBLISHER}"
    SUMMARY "${TALLARO_SUMMARY}"
    HOMEPAGE "${TALLARO_HOMEPAGE}"
    RELEASE_DATE "${TALLARO_RELEASE_DATE}"
    UPGRADE_CODE "6C0F4E2A-5B1D-4F7E-9A3C-2D8E1B7F4A60"
    MACHINE_UPGRADE_CODE "B3E1D7A4-2C58-4F16-8E9B-5A0C7D2F6E13"
    OUTPUT "${TALLARO_MSI}")
# Each value as a default that the script's command line may override.
set(settings_text "")
while(msi_settings)
    list(POP_FRONT msi_settings name value)
    string(APPEND settings_text "if(NOT DEFINED ${name})\n    set(${name} \"${value}\")\nendif()\n")
endwhile()
set(TALLARO_MSI_SETTINGS ${CMAKE_CURRENT_BINARY_DIR}/msi_settings.cmake)
file(GENERATE OUTPUT ${TALLARO_MSI_SETTINGS} CONTENT "${settings_text}")

add_custom_command(
    OUTPUT ${TALLARO_MSI}
    COMMAND ${CMAKE_COMMAND} -DSETTINGS=${TALLARO_MSI_SETTINGS}
            -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/BuildMsi.cmake
    DEPENDS tallaro_win32 ${TALLARO_MSI_SETTINGS} ${CMAKE_CURRENT_SOURCE_DIR}/cmake/BuildMsi.cmake
            ${CMAKE_CURRENT_SOURCE_DIR}/packaging/tallaro.wxs ${TALLARO_ICO}
    VERBATIM)
# The machines' package beside it, for an administrator's deployment.
set(TALLARO_MACHINE_MSI
    ${CMAKE_CURRENT_BINARY_DIR}/tallaro-${PROJECT_VERSION}-${TALLARO_WINDOWS_FLAVOUR}-machine.msi)
add_custom_command(
    OUTPUT ${TALLARO_MACHINE_MSI}
    COMMAND ${CMAKE_COMMAND} -DSETTINGS=${TALLARO_MSI_SETTINGS} -DSCOPE=perMachine
            -DOUTPUT=${TALLARO_MACHINE_MSI} -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/BuildMsi.cmake
    DEPENDS tallaro_win32 ${TALLARO_MSI_SETTINGS} ${CMAKE_CURRENT_SOURCE_DIR}/cmake/BuildMsi.cmake
            ${CMAKE_CURRENT_SOURCE_DIR}/packaging/tallaro.wxs ${TALLARO_ICO}
    VERBATIM)
add_custom_target(tallaro_msi DEPENDS ${TALLARO_MSI} ${TALLARO_MACHINE_MSI})
