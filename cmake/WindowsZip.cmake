# The Windows download: one zip with tallaro.exe and a short text beside it,
# named after the version set in CMakeLists.txt.
install(TARGETS tallaro_win32 RUNTIME DESTINATION .)
include(cmake/Licence.cmake)
configure_file(packaging/README-windows.txt.in generated/README.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/generated/README.txt DESTINATION .)

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    set(TALLARO_WINDOWS_FLAVOUR win64)
else()
    set(TALLARO_WINDOWS_FLAVOUR win32)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME tallaro)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME tallaro-${PROJECT_VERSION}-${TALLARO_WINDOWS_FLAVOUR})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
include(CPack)
