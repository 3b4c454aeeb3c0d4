#!/usr/bin/env bash
# The product is a 32-bit GUI program that imports nothing but system DLLs.
set -eu
exe=$1
dump=$(i686-w64-mingw32-objdump -p "$exe")
echo "$dump" | grep -q 'file format pei-i386' || { echo "not a 32-bit PE: $exe"; exit 1; }
echo "$dump" | grep -q 'Subsystem.*0*2.*(Windows GUI)' || { echo "not a GUI program: $exe"; exit 1; }
allowed='^(KERNEL32|USER32|GDI32|COMCTL32|MPR|msvcrt|ADVAPI32)\.dll$'
bad=$(echo "$dump" | sed -n 's/^\s*DLL Name: //p' | grep -viE "$allowed" || true)
[ -z "$bad" ] || { echo "unexpected imports: $bad"; exit 1; }
echo "product ok: $(basename "$exe") is a 32-bit GUI PE importing only system DLLs"
