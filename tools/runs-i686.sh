#!/usr/bin/env bash
# Tells how this machine runs the shipped 32-bit (i686) programs under Wine, and says so on
# standard error:
#
#   bash tools/runs-i686.sh                 exit 0: natively; 2: "emulation available"; 1: not at all
#   bash tools/runs-i686.sh --set-up        as root, installs Debian's qemu-user-static where the
#                                           kernel runs no 32-bit code, then tells as above
#   bash tools/runs-i686.sh --emulated CMD  runs CMD with 32-bit programs emulated, exits with its code
#
# Wine's 32-bit loader is a 32-bit Linux program: a machine whose kernel runs no 32-bit code (some
# virtual machines give their guests no 32-bit user mode, and the kernel then answers "Exec format
# error") runs none of them natively, while the 64-bit Wine still works there. Such a machine still
# runs them through qemu-i386-static, once the kernel's binfmt_misc hands it i386 programs. That
# hand-over changes every Wine on the machine (a prefix made meanwhile runs its 32-bit set-up
# emulated, for minutes), so --emulated makes it in a user namespace of its own, with its own
# binfmt_misc instance (Linux 6.7 and later), which nothing outside sees and which ends with CMD;
# only where the kernel allows no such namespace is it made machine-wide, as root, and taken
# back when CMD ends, however it ends.
set -u
qemu=/usr/bin/qemu-i386-static
# The kernel's match for a 32-bit x86 ELF program (class 1, little-endian, machine 3).
format=':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'$qemu':F'
binfmt=/proc/sys/fs/binfmt_misc

# A user namespace whose root is this user, with its own mounts and processes: whatever runs in it
# (Wine's server included) ends when its first process does.
ns="unshare --user --map-root-user --mount --pid --mount-proc --fork --kill-child"

# Registers the format in the binfmt_misc mounted at $binfmt (the namespace's own, or the machine's).
register() { echo "$format" >"$binfmt/register"; }

# Whether a user and mount namespace with its own binfmt_misc instance can be made here.
namespace_works() {
  $ns sh -c "mount -t binfmt_misc binfmt_misc $binfmt" >/dev/null 2>&1
}

# Whether the machine-wide binfmt_misc already hands i386 programs to an emulator, so that a 32-bit
# program that starts may not be running natively.
machine_emulates() {
  grep -qx enabled "$binfmt/qemu-i386" 2>/dev/null
}

if [ "${1:-}" = --emulated ]; then
  shift
  [ -x "$qemu" ] || { echo "runs-i686: no $qemu (bash tools/runs-i686.sh --set-up installs it)" >&2; exit 1; }
  if namespace_works; then
    # Its own binfmt_misc is mounted over that of its own /proc.
    exec $ns bash -c '
      mount -t binfmt_misc binfmt_misc '"$binfmt"' || exit 1
      echo "$0" >'"$binfmt"'/register || exit 1
      exec "$@"' "$format" "$@"
  fi
  if [ "$(id -u)" -ne 0 ]; then
    echo "runs-i686: no user namespace with its own binfmt_misc here, and not root: 32-bit programs cannot be emulated" >&2
    exit 1
  fi
  echo "runs-i686: no user namespace with its own binfmt_misc here: the i386 format is registered machine-wide while the command runs" >&2
  mounted=0
  if [ ! -e "$binfmt/register" ]; then
    mount -t binfmt_misc binfmt_misc "$binfmt" || exit 1
    mounted=1
  fi
  # A registration that was there before is someone else's: it stays.
  ours=0
  if [ ! -e "$binfmt/qemu-i386" ]; then
    register || exit 1
    ours=1
  fi
  take_back() {
    [ "$ours" = 1 ] && echo -1 >"$binfmt/qemu-i386" 2>/dev/null
    [ "$mounted" = 1 ] && umount "$binfmt" 2>/dev/null
    ours=0 mounted=0
  }
  trap take_back EXIT
  trap 'exit 130' INT TERM HUP
  "$@"
  exit $?
fi

if [ "${1:-}" = --set-up ] && [ ! -x "$qemu" ] && [ "$(id -u)" -eq 0 ] &&
  ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo "runs-i686: this machine runs no 32-bit programs: installing Debian's qemu-user-static to emulate them" >&2
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends qemu-user-static >&2 ||
    echo "runs-i686: installing qemu-user-static failed" >&2
fi

if [ ! -x /usr/lib/wine/wine ]; then
  echo "runs-i686: the 32-bit Wine (wine32:i386) is not installed" >&2
  exit 1
fi
# Asked where no emulator can answer: in a namespace whose binfmt_misc has no formats, or on a
# machine whose own has none for i386.
if namespace_works; then
  out=$($ns sh -c \
    "mount -t binfmt_misc binfmt_misc $binfmt && /usr/lib/wine/wine --version" 2>&1) && exit 0
elif ! machine_emulates; then
  out=$(/usr/lib/wine/wine --version 2>&1) && exit 0
else
  out="this machine's binfmt_misc hands them to an emulator"
fi
if [ -x "$qemu" ] && { namespace_works || [ "$(id -u)" -eq 0 ]; }; then
  echo "runs-i686: this machine runs no 32-bit programs natively (${out##*: }): emulation available ($qemu)" >&2
  exit 2
fi
echo "runs-i686: this machine runs no 32-bit programs: /usr/lib/wine/wine: ${out##*: }" >&2
[ -x "$qemu" ] || echo "runs-i686: (as root, bash tools/runs-i686.sh --set-up installs Debian's qemu-user-static to emulate them)" >&2
exit 1
