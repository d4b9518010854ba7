# The licence, read once from LICENSE for the texts that carry it:
#   TALLARO_COPYRIGHT   the copyright line, "Copyright (c) <year> <holder>"
#   TALLARO_COPYRIGHT_BY the same without "Copyright (c) ": "<year> <holder>"
#   TALLARO_LICENCE     the permission notice and disclaimer that follow it
#   TALLARO_LICENCE_DEB the same as a Debian copyright file's paragraph
#                       (each line indented by one space, blank lines as " .")
file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE tallaro_licence_lines)
list(GET tallaro_licence_lines 2 TALLARO_COPYRIGHT)
string(REGEX REPLACE "^Copyright \\(c\\) " "" TALLARO_COPYRIGHT_BY "${TALLARO_COPYRIGHT}")
list(SUBLIST tallaro_licence_lines 4 -1 tallaro_licence_body)
string(REPLACE ";" "\n" TALLARO_LICENCE "${tallaro_licence_body}")
set(TALLARO_LICENCE_DEB "")
foreach(line IN LISTS tallaro_licence_body)
    if(line STREQUAL "")
        string(APPEND TALLARO_LICENCE_DEB " .\n")
    else()
        string(APPEND TALLARO_LICENCE_DEB " ${line}\n")
    endif()
endforeach()
string(STRIP "${TALLARO_LICENCE_DEB}" TALLARO_LICENCE_DEB)
string(PREPEND TALLARO_LICENCE_DEB " ")
