#!/usr/bin/env bash
# Builds the Windows program (zor-setup.exe), the stand-in ZOR.exe and the
# Wine test's driver with the MinGW-w64 cross compiler, into build/mingw, and
# checks that the program needs no DLL beyond the system's.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset mingw
cmake --build --preset mingw

program=build/mingw/src/zor-setup.exe
imports=$(x86_64-w64-mingw32-objdump -p "$program" | sed -n 's/^\s*DLL Name: //p' | tr '[:upper:]' '[:lower:]' | sort)
unexpected=$(echo "$imports" | grep -vxE 'kernel32\.dll|user32\.dll|gdi32\.dll|shell32\.dll|ole32\.dll|lz32\.dll|msvcrt\.dll' || true)
if [ -n "$unexpected" ]; then
  echo "$program imports DLLs that Windows does not ship: $unexpected" >&2
  exit 1
fi
echo "$program: $(stat -c %s "$program") bytes; imports: $(echo $imports)"
