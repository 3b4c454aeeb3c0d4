#!/usr/bin/env bash
# Exits 0 when this machine can run the shipped 32-bit (i686) programs under Wine, 1 when it
# cannot, and says why on standard error. Wine's 32-bit loader is a 32-bit Linux program: a
# machine whose kernel runs no 32-bit code (some virtual machines give their guests no 32-bit
# user mode, and the kernel then answers "Exec format error") runs none of them, while the
# 64-bit Wine still works there.
if [ ! -x /usr/lib/wine/wine ]; then
  echo "runs-i686: the 32-bit Wine (wine32:i386) is not installed" >&2
  exit 1
fi
if ! out=$(/usr/lib/wine/wine --version 2>&1); then
  echo "runs-i686: this machine runs no 32-bit programs: /usr/lib/wine/wine: ${out##*: }" >&2
  exit 1
fi
exit 0
