#!/usr/bin/env bash
# What the shipped 32-bit exe must be, read from the file itself: a console program
# for i386 that needs only DLLs every Windows has, carries its manifest and version,
# stays small, and ships in the zip with the README.
# Usage: check_exe.sh BUILD_DIR
set -u
build=$1
exe=$build/usboffer.exe
headers=$(i686-w64-mingw32-objdump -p "$exe" 2>&1)
source "$(dirname "$0")/../lib/suite.sh"
check() { eval "$2"; verdict "$1" $?; }

check "32-bit i386 PE" 'grep -q "file format pei-i386" <<<"$headers"'
check "console subsystem" 'grep -qE "^Subsystem\s+00000003" <<<"$headers"'
imports=$(grep -oP "DLL Name: \K\S+" <<<"$headers" | tr '[:upper:]' '[:lower:]' | sort -u | tr '\n' ' ')
echo "imports: $imports"
check "only system DLLs" '! grep -qvxE "(kernel32|user32|gdi32|setupapi|msvcrt|comctl32|advapi32)\.dll" <(tr " " "\n" <<<"$imports" | grep .)'
size=$(stat -c %s "$exe")
echo "size: $size bytes"
check "under 256 KB" '[ "$size" -lt 262144 ]'
check "asInvoker manifest with common controls 6" 'grep -q asInvoker "$exe" && grep -q Microsoft.Windows.Common-Controls "$exe"'
check "version resource" 'grep -qaP "O\\x00r\\x00i\\x00g\\x00i\\x00n\\x00a\\x00l\\x00F\\x00i\\x00l\\x00e" "$exe"'
zip=$(ls "$build"/usboffer-*-win32.zip 2>/dev/null | head -1)
check "zip with the exe and the README" '[ -n "$zip" ] && [ "$(cmake -E tar tf "$zip" | sort | tr "\n" " ")" = "README.md usboffer.exe " ]'

summary exe
