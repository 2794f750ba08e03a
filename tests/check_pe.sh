#!/usr/bin/env bash
# Checks the shipped executable's form: a PE32 Intel 80386 GUI program that
# imports nothing but Windows system DLLs.
# usage: check_pe.sh OBJDUMP EXECUTABLE
set -euo pipefail
objdump=$1
exe=$2
headers=$("$objdump" -p "$exe")
fail=0
grep -q 'file format pei-i386' <<<"$headers" || { echo "not a PE for Intel 80386"; fail=1; }
grep -Eq '^Magic[[:space:]]+010b[[:space:]]+\(PE32\)' <<<"$headers" || { echo "not PE32"; fail=1; }
grep -Eq '^Subsystem[[:space:]]+00000002[[:space:]]+\(Windows GUI\)' <<<"$headers" || { echo "not a GUI program"; fail=1; }
system='^(KERNEL32|USER32|GDI32|OPENGL32|SHELL32|ADVAPI32|msvcrt)\.dll$'
while read -r dll; do
    echo "imports $dll"
    grep -Eiq "$system" <<<"$dll" || { echo "  ... which is not a Windows system DLL"; fail=1; }
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
exit $fail
