# The hardening Debian gives its own packages (dpkg-buildflags on Debian 12),
# and control-flow protection, for every optimised build of the program:
# position-independent, with stack protection, fortified library calls, and
# relocations read-only and bound at start.
include(CheckPIESupported)
check_pie_supported()
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
add_compile_options(-fstack-protector-strong -fstack-clash-protection -fcf-protection -D_FORTIFY_SOURCE=2)
add_link_options(-Wl,-z,relro -Wl,-z,now)
# Every object of the program is built with -fcf-protection, but Debian 12's
# C start files (Scrt1.o, crti.o, crtn.o) carry no control-flow marks, and
# without them the linker would leave the program unmarked. Their few lines
# of start-up code keep call and return paired, so the program is marked as
# built for indirect-branch tracking and shadow stacks all the same.
add_link_options(-Wl,-z,ibt -Wl,-z,shstk)
