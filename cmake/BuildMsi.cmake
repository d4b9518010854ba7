# Makes the Windows Installer package from tallaro.exe with wixl, byte for
# byte the same from the same inputs: every time in it is SOURCE_DATE_EPOCH's
# (or the release date's midnight, UTC), and its product and package codes
# are derived from the version and the contents, so that both change when
# either does. Run as a script by the tallaro_msi target:
#   cmake -DSETTINGS=FILE [-DVERSION=V -DPROGRAM=EXE -DOUTPUT=MSI] -P BuildMsi.cmake
# SETTINGS, written by cmake/WindowsMsi.cmake, sets what the command line
# does not: WXS, PROGRAM, ICON, VERSION, VERSION_TEXT, ARCH (x86 or x64),
# PUBLISHER, SUMMARY, HOMEPAGE, RELEASE_DATE, UPGRADE_CODE, OUTPUT. SCOPE is
# perUser (the default) or perMachine, with the machines' package's own
# MACHINE_UPGRADE_CODE.
cmake_minimum_required(VERSION 3.25)
include(${SETTINGS})
if(NOT DEFINED SCOPE)
    set(SCOPE perUser)
endif()
if(SCOPE STREQUAL "perMachine")
    set(UPGRADE_CODE ${MACHINE_UPGRADE_CODE})
endif()

set(epoch "$ENV{SOURCE_DATE_EPOCH}")
if(epoch STREQUAL "")
    execute_process(COMMAND date -u -d "${RELEASE_DATE}" +%s OUTPUT_VARIABLE epoch
                    OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
endif()
execute_process(COMMAND date -u -d "@${epoch}" "+%Y-%m-%d %H:%M:%S" OUTPUT_VARIABLE stamp
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)

# The contents, and the codes taken from them in the upgrade code's namespace.
set(contents "${VERSION}|${ARCH}|${SCOPE}|${PUBLISHER}|${SUMMARY}|${HOMEPAGE}")
foreach(file ${PROGRAM} ${ICON} ${WXS})
    file(SHA256 ${file} hash)
    string(APPEND contents "|${hash}")
endforeach()
string(UUID product_code NAMESPACE ${UPGRADE_CODE} NAME "product|${contents}" TYPE SHA1 UPPER)
string(UUID package_code NAMESPACE ${UPGRADE_CODE} NAME "package|${contents}" TYPE SHA1 UPPER)

# The cabinet keeps its files' times: copies of them, at the epoch, in the
# folder wixl runs in (it takes its sources by names relative to it).
set(staging ${OUTPUT}-staging)
file(REMOVE_RECURSE ${staging})
file(MAKE_DIRECTORY ${staging})
file(COPY_FILE ${PROGRAM} ${staging}/tallaro.exe)
file(COPY_FILE ${ICON} ${staging}/tallaro.ico)
execute_process(COMMAND touch -d "@${epoch}" ${staging}/tallaro.exe ${staging}/tallaro.ico
                COMMAND_ERROR_IS_FATAL ANY)

# wixl writes the clock's time and a random package code into the summary;
# under faketime the time is the epoch's, and msibuild sets the code.
if(ARCH STREQUAL "x64")
    set(template "x64;1033")
    set(program_files ProgramFiles64Folder)
else()
    set(template "Intel;1033")
    set(program_files ProgramFilesFolder)
endif()
set(at_epoch ${CMAKE_COMMAND} -E env TZ=UTC faketime -f "@${stamp}")
file(REMOVE ${OUTPUT})
execute_process(
    COMMAND ${at_epoch} wixl -a ${ARCH} -o ${OUTPUT}
            -D "ProductCode={${product_code}}" -D "UpgradeCode={${UPGRADE_CODE}}"
            -D "Version=${VERSION}" -D "VersionText=${VERSION_TEXT}" -D "Publisher=${PUBLISHER}"
            -D "Summary=${SUMMARY}" -D "Homepage=${HOMEPAGE}" -D "Scope=${SCOPE}"
            -D "ProgramFiles=${program_files}"
            -D "Program=tallaro.exe" -D "Icon=tallaro.ico" ${WXS}
    WORKING_DIRECTORY ${staging} COMMAND_ERROR_IS_FATAL ANY)
# A package of the same version with other contents (so another product
# code) replaces the installed one too, as a later version does: the upgrade
# row's maximum, the package's own version, counts as included (wixl knows no
# AllowSameVersionUpgrades).
execute_process(COMMAND msiinfo export ${OUTPUT} Upgrade OUTPUT_VARIABLE upgrade
                COMMAND_ERROR_IS_FATAL ANY)
string(REPLACE "\t1\t\tWIX_UPGRADE_DETECTED" "\t513\t\tWIX_UPGRADE_DETECTED" upgrade_inclusive
               "${upgrade}")
if(upgrade_inclusive STREQUAL upgrade)
    message(FATAL_ERROR "BuildMsi.cmake: no upgrade row to include the version in:\n${upgrade}")
endif()
file(WRITE ${staging}/Upgrade.idt "${upgrade_inclusive}")
execute_process(COMMAND ${at_epoch} msibuild ${OUTPUT} -i Upgrade.idt WORKING_DIRECTORY ${staging}
                COMMAND_ERROR_IS_FATAL ANY)
execute_process(
    COMMAND ${at_epoch} msibuild ${OUTPUT} -s "Tallaro ${VERSION_TEXT}" "${PUBLISHER}" "${template}"
            "{${package_code}}"
    COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE_RECURSE ${staging})
