#!/usr/bin/env bash
# Runs the README's test command where a user starts: in a fresh, minimal
# Debian 12 (debootstrap's minbase variant, from the mirror this machine's
# own apt sources name), into which the working tree is copied; as root in a
# chroot with /proc, /dev and a /dev/shm of its own, all unmounted again
# however the run ends. Usage: scripts/fresh-debian-test.sh
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh fresh
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)

# The first Debian mirror of the machine's sources, one-line or deb822 style.
sources=()
for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] && sources+=("$file")
done
mirror=$(awk '
    /^deb[ \t]/ { for (i = 2; i <= NF; i++) if ($i ~ /^https?:/) { print $i; exit } }
    /^URIs:/ { print $2; exit }' "${sources[@]}" /dev/null)
[ -n "$mirror" ] || { echo "no Debian mirror in this machine's apt sources" >&2; exit 1; }

root=$(mktemp -d /var/tmp/tallaro-fresh.XXXXXX)
unmount_all() {
    local point
    for point in dev/shm dev/pts dev proc; do
        if mountpoint -q "$root/$point"; then "${sudo[@]}" umount -l "$root/$point" || true; fi
    done
    "${sudo[@]}" rm -rf --one-file-system "$root"
}
trap unmount_all EXIT

echo "A minimal Debian 12 from $mirror in $root"
"${sudo[@]}" debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.log" 2>&1 ||
    { tail -20 "$root.log" >&2; rm -f "$root.log"; exit 1; }
rm -f "$root.log"
"${sudo[@]}" mount -t proc proc "$root/proc"
"${sudo[@]}" mount --bind /dev "$root/dev"
"${sudo[@]}" mount -t devpts devpts "$root/dev/pts" -o newinstance,ptmxmode=0666 2>/dev/null || true
"${sudo[@]}" mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"
"${sudo[@]}" cp /etc/resolv.conf "$root/etc/resolv.conf"

# The working tree as git sees it (no build output), as a user's copy.
"${sudo[@]}" mkdir "$root/tallaro"
git ls-files -z --cached --others --exclude-standard |
    xargs -0 tar -cf - | "${sudo[@]}" tar -xf - -C "$root/tallaro"

"${sudo[@]}" chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
    LANG=C.UTF-8 TERM=dumb bash -c 'cd /tallaro && bash scripts/test.sh'
echo "PASS: the test command passed in a fresh minimal Debian 12"
