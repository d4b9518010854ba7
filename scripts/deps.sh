#!/usr/bin/env bash
# Installs from Debian's packages what building, running or testing needs,
# only where it is missing; the same names on Debian 12 and 13, but for the
# native Wayland road's, which only Debian 13 has.
# Usage: scripts/deps.sh run|test|screenshot|icons|package|windows|windows-test|wine32|bench|desktops|x11-desktops|reproducible|fresh
set -euo pipefail

# From Debian 13 on, the program also takes its native road onto Wayland
# compositors with layer-shell (Debian 12 has no Qt 6 build of LayerShellQt).
wayland_road=()
release=$(. /etc/os-release && echo "${VERSION_ID:-99}")
if [ "${release%%.*}" -ge 13 ]; then
    wayland_road=(liblayershellqtinterface-dev libwayland-dev wayland-protocols qt6-base-private-dev pkgconf)
fi
build=(g++ cmake ninja-build qt6-base-dev libx11-dev libxcb-xfixes0-dev fonts-liberation "${wayland_road[@]}")
case "${1:-run}" in
    run) packages=("${build[@]}") ;;
    test) packages=("${build[@]}" libgtest-dev libxtst-dev xvfb xauth xdotool x11-utils openbox
        weston xwayland qt6-wayland mutter dbus-daemon python3-dbus clang-format desktop-file-utils appstream dpkg-dev file lintian devscripts man-db clang libclang-rt-dev strace locales) ;;
    screenshot) packages=("${build[@]}" xvfb xauth xdotool x11-utils openbox imagemagick) ;;
    package) packages=("${build[@]}" dpkg-dev file) ;;
    bench) packages=("${build[@]}" libbenchmark-dev libx11-dev libxtst-dev xvfb xauth xdotool x11-utils openbox) ;;
    desktops) packages=("${build[@]}" libbenchmark-dev libxtst-dev xauth xdotool x11-utils xwayland qt6-wayland
        kwin-wayland breeze dbus-daemon sway labwc grim x11-apps python3) ;;
    # Packing the Windows program needs only the cross-compilers; its tests
    # need Wine, and the 32-bit Wine (wine32, from Debian's i386 packages)
    # is asked for on its own, since it cannot always be had.
    # Every X11 window manager Debian's desktops start, with the settings
    # schemas marco and muffin need, picom, and a plain window to cover.
    x11-desktops) packages=("${build[@]}" libbenchmark-dev libxtst-dev xvfb xauth xdotool x11-utils
        x11-apps dbus-daemon xfwm4 marco mate-settings-daemon-common muffin cinnamon-settings-daemon
        openbox picom i3-wm icewm fluxbox mutter kwin-x11) ;;
    windows) packages=(cmake ninja-build g++-mingw-w64-i686 g++-mingw-w64-x86-64-posix googletest
        strip-nondeterminism wixl msitools faketime osslsigncode) ;;
    windows-test) packages=(cmake ninja-build g++-mingw-w64-i686 g++-mingw-w64-x86-64-posix googletest
        wine wine64 xvfb xauth x11-utils wixl msitools faketime osslsigncode openssl
        strace python3) ;;
    wine32) packages=(wine32) ;;
    icons) packages=(librsvg2-bin imagemagick icoutils) ;;
    reproducible) packages=(git faketime diffoscope-minimal locales osslsigncode openssl msitools unzip python3) ;;
    fresh) packages=(debootstrap git) ;;
    *) echo "usage: $0 run|test|screenshot|icons|package|windows|windows-test|wine32|bench|desktops|x11-desktops|reproducible|fresh" >&2
        exit 2 ;;
esac

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' ||
        missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing from Debian's packages: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
# Wine runs 32-bit programs with Debian's i386 libraries.
if [[ " ${missing[*]} " == *" wine32 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo[@]}" dpkg --add-architecture i386
fi
# A mirror in the middle of a sync fails an index or two for a while: the
# lists are fetched again after a pause, and what could be had is used.
for pause in 20 20 0; do
    if "${sudo[@]}" apt-get update -qq; then break; fi
    sleep "$pause"
done
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
