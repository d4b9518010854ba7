# Release builds rebuild bit for bit from the same commit: the compilers
# write no build folder into the program (debug information, __FILE__), and
# installed folders take one mode whatever the builder's umask. Time stamps
# come from SOURCE_DATE_EPOCH, which scripts/package.sh sets.
add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=
                    -ffile-prefix-map=${PROJECT_BINARY_DIR}/=)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
