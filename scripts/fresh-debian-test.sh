#!/usr/bin/env bash
# Runs a command where a user starts: in a fresh, minimal Debian of the given
# release (debootstrap's minbase variant, from the mirror this machine's own
# apt sources name), into which the working tree is copied; as root in a
# chroot with /proc, /dev and a /dev/shm of its own, all unmounted again
# however the run ends. The command is the README's test command unless
# another is given.
#
# The minimal root with what `scripts/deps.sh test` installs into it is kept
# as a base, one per release, under /var/tmp; it is made anew from Debian's
# packages whenever scripts/deps.sh changes (so whenever a package list
# does) or the base is a week old. Each run gets a fresh copy of it.
#
# Usage: scripts/fresh-debian-test.sh [--bare] [--share DIR] 12|13|testing [command ...]
#   --bare       the bare minimal root, so that the command installs all it needs
#   --share DIR  this machine's folder DIR is /shared inside, to hand files in and out
set -euo pipefail
cd "$(dirname "$0")/.."
usage() { echo "usage: $0 [--bare] [--share DIR] 12|13|testing [command ...]" >&2; exit 2; }
bare=false
shared=""
while [ $# -gt 0 ]; do
    case "$1" in
        --bare) bare=true ;;
        --share) [ -d "${2:-}" ] || usage; shared=$(realpath "$2"); shift ;;
        *) break ;;
    esac
    shift
done
case "${1:-}" in
    12 | bookworm) version=12 suite=bookworm ;;
    13 | trixie) version=13 suite=trixie ;;
    testing | forky) version=testing suite=testing ;;
    *) usage ;;
esac
shift
[ $# -gt 0 ] || set -- bash scripts/test.sh
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

# Mounts what a program inside needs, and takes it all down again.
mount_system() {
    "${sudo[@]}" mount -t proc proc "$1/proc"
    "${sudo[@]}" mount --bind /dev "$1/dev"
    "${sudo[@]}" mount -t devpts devpts "$1/dev/pts" -o newinstance,ptmxmode=0666 2>/dev/null || true
    "${sudo[@]}" mount -t tmpfs -o mode=1777 tmpfs "$1/dev/shm"
    "${sudo[@]}" cp /etc/resolv.conf "$1/etc/resolv.conf"
}
unmount_system() {
    local point
    for point in dev/shm dev/pts dev proc; do
        if mountpoint -q "$1/$point"; then "${sudo[@]}" umount -l "$1/$point" || true; fi
    done
}
in_root() {
    local root=$1
    shift
    "${sudo[@]}" chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
        LANG=C.UTF-8 TERM=dumb "$@"
}
bootstrap() {
    echo "A minimal Debian $version from $mirror in $1"
    "${sudo[@]}" debootstrap --variant=minbase "$suite" "$1" "$mirror" >"$1.log" 2>&1 ||
        { tail -20 "$1.log" >&2; rm -f "$1.log"; return 1; }
    rm -f "$1.log"
    if [ "$suite" = testing ]; then
        echo "Debian testing: apt in this root accepts the mirror's index past its Valid-Until date"
        echo 'Acquire::Check-Valid-Until "false";' |
            "${sudo[@]}" tee "$1/etc/apt/apt.conf.d/99tallaro-testing" >/dev/null
    fi
}

work=$(mktemp -d /var/tmp/tallaro-fresh.XXXXXX)
root=$work/root
cleanup() {
    # A shared folder is on this machine's file system: unmounted, or nothing is removed.
    if mountpoint -q "$root/shared" && ! "${sudo[@]}" umount "$root/shared"; then
        echo "$root/shared is still mounted; $work is left as it is" >&2
        return
    fi
    unmount_system "$root"
    if mountpoint -q "$root"; then "${sudo[@]}" umount -l "$root" || true; fi
    "${sudo[@]}" rm -rf --one-file-system "$work"
}
trap cleanup EXIT

if $bare; then
    bootstrap "$root"
else
    key=$(cat scripts/deps.sh | sha256sum | cut -c1-16)
    base=/var/tmp/tallaro-base-$suite-$key
    if [ ! -f "$base.done" ] || [ -n "$(find "$base.done" -mtime +6)" ]; then
        "${sudo[@]}" rm -rf --one-file-system /var/tmp/tallaro-base-"$suite"-*
        bootstrap "$base"
        "${sudo[@]}" mkdir "$base/tallaro-deps"
        "${sudo[@]}" cp scripts/deps.sh "$base/tallaro-deps/"
        mount_system "$base"
        in_root "$base" bash /tallaro-deps/deps.sh test || { unmount_system "$base"; exit 1; }
        unmount_system "$base"
        "${sudo[@]}" rm -rf "$base/tallaro-deps" "$base"/var/cache/apt/archives/*.deb
        "${sudo[@]}" touch "$base.done"
    fi
    echo "A minimal Debian $version with the test command's packages, from $base"
    # A copy that costs nothing where overlays can be mounted, a plain one elsewhere.
    mkdir -p "$root" "$work/upper" "$work/scratch"
    "${sudo[@]}" mount -t overlay overlay \
        -o "lowerdir=$base,upperdir=$work/upper,workdir=$work/scratch" "$root" 2>/dev/null ||
        "${sudo[@]}" cp -a "$base/." "$root/"
fi
mount_system "$root"
if [ -n "$shared" ]; then
    "${sudo[@]}" mkdir -p "$root/shared"
    "${sudo[@]}" mount --bind "$shared" "$root/shared"
fi

# The working tree as git sees it (no build output), as a user's copy.
"${sudo[@]}" mkdir "$root/tallaro"
git ls-files -z --cached --others --exclude-standard |
    xargs -0 tar -cf - | "${sudo[@]}" tar -xf - -C "$root/tallaro"

printf -v command '%q ' "$@"
in_root "$root" bash -c "cd /tallaro && $command"
echo "PASS: '$*' passed in a fresh minimal Debian $version"
