#!/usr/bin/env bash
# The Windows Installer package, from outside: its tables (what Wine cannot
# show: the per-user scope, the shortcut's icon), then, in a fresh Wine
# prefix, each step a user or IT takes, with what it must leave behind:
# install, start the installed program (the driver works it), install the
# same package again, upgrade to a later version, uninstall.
# Usage: windows_msi.sh BUILD-DIR VERSION TALLARO.exe DRIVER.exe WINE
set -euo pipefail
build=$1
version=$2
program=$3
driver=$4
wine=$5
here=$(cd "$(dirname "$0")" && pwd)
out=$(mktemp -d)
trap 'WINEPREFIX=$out/prefix wineserver -k 2>/dev/null || true; rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --build "$build" --target tallaro_msi >"$out/build.log" 2>&1 ||
    fail "the tallaro_msi target: $(tail -20 "$out/build.log")"
msi=$(realpath "$(ls "$build"/tallaro-*-win??.msi)")
machine=$(realpath "$(ls "$build"/tallaro-*-machine.msi)")
[[ $(basename "$msi") =~ ^tallaro-${version//./\\.}-win(32|64)\.msi$ ]] || fail "package $(basename "$msi")"

# The tables. Word count 10: compressed, and no administrator rights asked.
# A table's rows (in the scratch folder: a table of files, as Icon, is
# written beside its rows).
table() { (cd "$out" && msiinfo export "$msi" "$1") | tr -d '\r' | tail -n +4; }
property() { table Property | awk -F'\t' -v name="$1" '$1 == name { print $2 }'; }
msiinfo suminfo "$msi" | grep -qx 'Source: 10 (a)' || fail "not a per-user package: $(msiinfo suminfo "$msi")"
[ -z "$(property ALLUSERS)" ] || fail "ALLUSERS is set: $(property ALLUSERS)"
[ "$(property ProductVersion)" = "$version" ] || fail "ProductVersion $(property ProductVersion)"
[ "$(property ProductName)" = Tallaro ] && [ -n "$(property Manufacturer)" ] || fail "name or publisher"
# The released packages' upgrade code, for ever: with another, a new package
# would sit beside an installed release instead of replacing it.
[ "$(property UpgradeCode)" = "{6C0F4E2A-5B1D-4F7E-9A3C-2D8E1B7F4A60}" ] ||
    fail "the upgrade code is not the released one: $(property UpgradeCode)"
[ "$(property ARPPRODUCTICON)" = tallaro.ico ] && table Icon | grep -q '^tallaro\.ico' ||
    fail "no icon for Settings > Apps"
[ -n "$(property ARPURLINFOABOUT)" ] || fail "no homepage for Settings > Apps"
# The shortcut: its folder, name, a file as target, a description, its icon.
[ "$(table Shortcut | awk -F'\t' '{ print $2, $3, ($5 ~ /^\[#.*\]$/), ($7 != ""), $9 }')" = \
    "ProgramMenuFolder Tallaro 1 1 tallaro.ico" ] || fail "the shortcut: $(table Shortcut)"
# INSTALLDIR is Tallaro in Programs in the user's local application data.
parent() { table Directory | awk -F'\t' -v id="$1" '$1 == id { print $2 " " $3 }'; }
[ "$(parent INSTALLDIR)" = "UserPrograms Tallaro" ] && [ "$(parent UserPrograms)" = "LocalAppDataFolder Programs" ] ||
    fail "the folders: $(table Directory)"

# A fresh prefix, whose menus stay out of this machine's own.
export WINEPREFIX=$out/prefix WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
"$wine" wineboot -i >/dev/null 2>&1 || fail "wineboot"
user=$(ls "$WINEPREFIX/drive_c/users" | grep -vx Public | head -1)
home=$WINEPREFIX/drive_c/users/$user
installed=$home/AppData/Local/Programs/Tallaro/tallaro.exe
shortcut="$home/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Tallaro.lnk"
windows_path() { echo "Z:$(realpath "$1" | tr / '\\')"; }
msiexec() { "$wine" msiexec "$@" /qn && wineserver -w; }
# What the prefix holds of the user's files, and the uninstall entries of
# Tallaro (Wine keeps per-user ones with the machine's). Windows Installer's
# own cache folder, which it makes at the first install, is Windows'; what
# it holds is listed.
state() {
    (cd "$home" && find . ! -path ./AppData/Roaming/Microsoft/Installer | sort)
    awk '/^\[/ { key = $0 } /^"DisplayName"="Tallaro"$/ && key ~ /\\\\Uninstall\\\\/ { print key }' \
        "$WINEPREFIX"/*.reg
}
# A value of the uninstall entry of a package's product.
entry() {
    local code
    code=$(msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' '$1 == "ProductCode" { print $2 }')
    awk -v key="$code]" -v want="$2" '/^\[/ { inside = /Uninstall/ && index($0, key) > 0 }
        inside && index($0, "\"" want "\"=") == 1 { sub(/^[^=]*="/, ""); sub(/"$/, ""); print }' \
        "$WINEPREFIX"/*.reg
}
entries() { state | grep -c 'Uninstall' || true; }
wineserver -w
before=$(state)

# Install.
msiexec /i "$(windows_path "$msi")" || fail "msiexec /i"
cmp -s "$installed" "$program" || fail "no tallaro.exe like the built one in %LOCALAPPDATA%\\Programs\\Tallaro"
[ -f "$shortcut" ] && grep -qa 'tallaro.exe' "$shortcut" || fail "no Start-menu shortcut to the program"
[ "$(entries)|$(entry "$msi" DisplayName)|$(entry "$msi" DisplayVersion)" = "1|Tallaro|$version" ] &&
    [ "$(entry "$msi" Publisher)" = "$(property Manufacturer)" ] ||
    fail "the uninstall entry: $(entries); $(entry "$msi" DisplayName) $(entry "$msi" DisplayVersion) $(entry "$msi" Publisher)"
echo "installed: $(entry "$msi" DisplayName) $(entry "$msi" DisplayVersion) by $(entry "$msi" Publisher)"

# The installed program, worked by the driver as the tests work the built one.
bash "$here/../ui/win32/run_in_x.sh" "$wine" "$driver" "$installed" >"$out/driver.log" 2>&1 ||
    fail "the installed program: $(grep -v '^ok' "$out/driver.log")"
echo "the installed program: $(grep -c '^ok' "$out/driver.log") checks of the driver pass"

# The same package again changes nothing.
installed_state=$(state)
msiexec /i "$(windows_path "$msi")" || fail "msiexec /i, again"
[ "$(state)" = "$installed_state" ] || fail "installing again changed: $(diff <(echo "$installed_state") <(state))"

# Packages that replace it, each with a program of its own: one entry stays,
# with the newest program.
for row in "9.0.0.0|later|a later version" "9.0.0.0|rebuilt|the same version, other contents"; do
    IFS='|' read -r next_version name what <<<"$row"
    mkdir "$out/$name"
    next=$out/$name/tallaro.exe
    cp "$program" "$next"
    printf '%s' "$name" >>"$next"
    package=$out/$name/tallaro-$name.msi
    cmake -DSETTINGS="$build/msi_settings.cmake" -DVERSION="$next_version" -DPROGRAM="$next" \
        -DOUTPUT="$package" -P "$here/../../cmake/BuildMsi.cmake" >"$out/$name.log" 2>&1 ||
        fail "the package of $what: $(cat "$out/$name.log")"
    msiexec /i "$(windows_path "$package")" || fail "msiexec /i, $what"
    cmp -s "$installed" "$next" || fail "$what left the older program"
    [ "$(entries)|$(entry "$package" DisplayVersion)" = "1|$next_version" ] ||
        fail "uninstall entries after $what: $(state | grep Uninstall)"
    echo "$what replaced it: one entry, $(entry "$package" DisplayVersion)"
done

# Uninstall: the prefix holds what it held before.
msiexec /x "$(windows_path "$package")" || fail "msiexec /x"
[ "$(state)" = "$before" ] || fail "uninstalling left: $(diff <(echo "$before") <(state))"
! grep -qi 'tallaro' "$WINEPREFIX"/*.reg || fail "the registry still names Tallaro"

# For every user of the machine, as an administrator deploys it: silently,
# into Program Files, with the machine's uninstall entry and a shortcut in
# the Start menu (every user's, as Windows Installer resolves
# ProgramMenuFolder with ALLUSERS=1; Wine puts it in the installing user's).
# The driver works the installed program, a later version replaces it, and
# removal leaves the prefix as it was.
machine_property() {
    (cd "$out" && msiinfo export "$machine" Property) | tr -d '\r' | awk -F'\t' -v name="$1" '$1 == name { print $2 }'
}
msiinfo suminfo "$machine" | grep -qx 'Source: 2 (2)' && [ "$(machine_property ALLUSERS)" = 1 ] ||
    fail "not a package for the machine: $(msiinfo suminfo "$machine")"
[ "$(machine_property UpgradeCode)" = "{B3E1D7A4-2C58-4F16-8E9B-5A0C7D2F6E13}" ] ||
    fail "the machines' upgrade code is not the released one: $(machine_property UpgradeCode)"
everything() {
    (cd "$WINEPREFIX/drive_c" && find . ! -path './windows/*' ! -path '*/Microsoft/Installer*' | sort)
    grep -c 'DisplayName"="Tallaro"' "$WINEPREFIX"/*.reg || true
}
before=$(everything)
msiexec /i "$(windows_path "$machine")" ALLUSERS=1 || fail "msiexec /i, for the machine"
machine_exe=$(find "$WINEPREFIX/drive_c/" -path '*/Program Files*/Tallaro/tallaro.exe' | head -1)
cmp -s "$machine_exe" "$program" || fail "no tallaro.exe like the built one in Program Files"
[ "$(entry "$machine" DisplayName)|$(entry "$machine" DisplayVersion)" = "Tallaro|$version" ] &&
    grep -qF "$(machine_property ProductCode)" "$WINEPREFIX/system.reg" || fail "no uninstall entry of the machine's"
find "$WINEPREFIX/drive_c" -name Tallaro.lnk | grep -q . || fail "no Start-menu shortcut"
bash "$here/../ui/win32/run_in_x.sh" "$wine" "$driver" "$machine_exe" >"$out/machine-driver.log" 2>&1 ||
    fail "the program installed for the machine: $(grep -v '^ok' "$out/machine-driver.log")"
mkdir "$out/machine-later"
cp "$program" "$out/machine-later/tallaro.exe"
printf 'later' >>"$out/machine-later/tallaro.exe"
cmake -DSETTINGS="$build/msi_settings.cmake" -DSCOPE=perMachine -DVERSION=9.0.0.0 \
    -DPROGRAM="$out/machine-later/tallaro.exe" -DOUTPUT="$out/machine-later/tallaro-machine.msi" \
    -P "$here/../../cmake/BuildMsi.cmake" >"$out/machine-later.log" 2>&1 ||
    fail "the later machines' package: $(cat "$out/machine-later.log")"
msiexec /i "$(windows_path "$out/machine-later/tallaro-machine.msi")" || fail "msiexec /i, a later version for the machine"
cmp -s "$machine_exe" "$out/machine-later/tallaro.exe" && [ "$(entry "$out/machine-later/tallaro-machine.msi" DisplayVersion)" = 9.0.0.0 ] ||
    fail "a later version did not replace the machine's"
[ "$(grep -c 'DisplayName"="Tallaro"' "$WINEPREFIX"/*.reg | awk -F: '{n += $2} END {print n}')" -le 2 ] ||
    fail "entries after the upgrade: $(grep -c 'DisplayName"="Tallaro"' "$WINEPREFIX"/*.reg)"
# Removed without its package, by the product code its uninstall entry names.
product=$(awk '/^\[/ { key = $0 } /^"DisplayName"="Tallaro"$/ && key ~ /\\\\Uninstall\\\\/ { print key }' \
    "$WINEPREFIX/system.reg" | grep -o '{[0-9A-F-]*}' | head -1)
[ -n "$product" ] || fail "no product code in the machine's uninstall entries"
msiexec /x "$product" || fail "msiexec /x $product, for the machine"
[ "$(everything)" = "$before" ] || fail "removing it from the machine left: $(diff <(echo "$before") <(everything))"
echo "for the machine: installed silently in $(dirname "${machine_exe#"$WINEPREFIX"/drive_c/}"), worked, replaced, removed without a trace"

# Signed as a release is, by the package command in a copy of the tree, with
# a throwaway certificate and time-stamp authority: every signed file, the
# programs in the zip and in both installers too, verifies with its
# time-stamp and SHA-256 throughout, and has its detached signature listed
# in SHA256SUMS; the key's password is on no command line of any process;
# without a time-stamp nothing is signed. A byte changed after signing
# fails the check.
source "$here/signing.sh"
mkdir "$out/signing" "$out/tree"
tar -C "$here/../.." --exclude=./build --exclude=./.git -cf - . | tar -C "$out/tree" -xf -
package() { (cd "$out/tree" && "$@" bash scripts/package.sh windows); }  # package [COMMAND...]
package >"$out/signing/unsigned.log" 2>&1 || fail "the package command: $(tail -5 "$out/signing/unsigned.log")"
grep -qx 'The Windows artefacts are unsigned: .*' "$out/signing/unsigned.log" || fail "no word that it is unsigned"
start_signing "$out/signing"
trap 'stop_signing; WINEPREFIX=$out/prefix wineserver -k 2>/dev/null || true; rm -rf "$out"' EXIT
package strace -f -qq -e trace=execve -s 4096 -o "$out/signing/processes" >"$out/signing/signed.log" 2>&1 ||
    fail "the package command, signing: $(tail -5 "$out/signing/signed.log")"
! grep -qF "$(cat "$TALLARO_SIGN_PASSWORD_FILE")" "$out/signing/processes" ||
    fail "the key's password is on a command line: $(grep -F "$(cat "$TALLARO_SIGN_PASSWORD_FILE")" "$out/signing/processes" | head -1)"
built=$out/tree/build/win32
(cd "$out/signing" && mkdir zip msi machine-msi && (cd zip && cmake -E tar xf "$built"/tallaro-*-win32.zip) &&
    (cd msi && msiextract "$built"/tallaro-*-win32.msi >/dev/null) &&
    (cd machine-msi && msiextract "$built"/tallaro-*-win32-machine.msi >/dev/null))
for file in "$built/tallaro.exe" "$out/signing/zip/tallaro.exe" "$(find "$out/signing/msi" -name tallaro.exe)" \
    "$(find "$out/signing/machine-msi" -name tallaro.exe)" "$built"/tallaro-*-win32.msi "$built"/tallaro-*-machine.msi; do
    signed_as_released "$out/signing" "$file" || fail "${file#"$out"/} is not signed and time-stamped with SHA-256"
done
for file in "$built/tallaro.exe" "$built"/tallaro-*.msi; do
    [ -s "$file.sig" ] && grep -q " $(basename "$file").sig$" "$built/SHA256SUMS" ||
        fail "no detached signature of $(basename "$file") in SHA256SUMS"
done
cp "$built/tallaro.exe" "$out/signing/tampered.exe"
printf 'X' | dd of="$out/signing/tampered.exe" bs=1 seek=4096 conv=notrunc 2>/dev/null
! signed_as_released "$out/signing" "$out/signing/tampered.exe" || fail "a signed program with a byte changed still verifies"
unset TALLARO_SIGN_TIMESTAMP_URL
if package >"$out/signing/refused.log" 2>&1 || [ "$(grep -c 'sign-windows.sh' "$out/signing/refused.log")" -ne 1 ] ||
    ! grep -q 'time-stamp' "$out/signing/refused.log" || osslsigncode extract-signature -in "$built/tallaro.exe" \
    -out "$out/signing/none.sig" >/dev/null 2>&1 || compgen -G "$built/*.sig" >/dev/null; then
    fail "signing without a time-stamp was not refused in one line, with nothing signed: $(cat "$out/signing/refused.log")"
fi
echo "signed: the program, in the zip and in both installers, and both installers verify, time-stamped, SHA-256;" \
    "the password on no command line; without a time-stamp, refused; a changed byte fails"
echo "PASS: $(basename "$msi") installs per user, starts, upgrades and leaves nothing"
