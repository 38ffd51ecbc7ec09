#!/usr/bin/env bash
# planting.sh ORVALET_EXE PLANTED_LIBRARY WINDOW_PROBE_EXE OUTPUT_DIR
# Nothing placed beside the program runs inside it. Its import table names
# only libraries Windows loads from the system directory alone; every other
# library named in the exe, which the program loads at run time, gets a copy
# of the planted library (planted_library.cpp) beside a copy of the exe,
# Wine is told to prefer such copies to its own, and the meter runs from
# that folder and opens its about box: no copy may be loaded. Runs in the
# Wine prefix of the environment (scripts/wine-session sets it up), under an
# X display.
set -uo pipefail
exe=$1
planted=$2
probe=$3
work=$4/planting
source "$(dirname "$0")/e2e_common.sh"
rm -rf "$work"
mkdir -p "$work"

# What Windows never looks for beside a program: its KnownDLLs, on every
# version the meter runs on, and ntdll, which every process has.
known="advapi32 comdlg32 gdi32 imagehlp imm32 kernel32 msctf msvcrt normaliz nsi ntdll ole32 oleaut32 psapi
       rpcrt4 setupapi shell32 shlwapi user32 wldap32 ws2_32"
# The other libraries the program loads, each from the system directory.
planted_names=(comctl32 dwmapi iphlpapi uxtheme)

library_names() { tr 'A-Z' 'a-z' | grep -o '[a-z0-9_.-]*\.dll$' | sort -u; }
# names_one_of LIBRARY NAMES: whether LIBRARY, as read from the exe, is
# NAME.dll for one of NAMES; text read from the exe may begin with a stray
# character before the name.
names_one_of() {
  local name
  for name in $2; do [[ $1 == *"$name.dll" ]] && return 0; done
  return 1
}

imports=$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ { print $3 }' | library_names)
[ -n "$imports" ] || fail "no import table read from $exe"
for library in $imports; do
  names_one_of "$library" "$known" || fail "the exe imports $library, which Windows looks for beside the exe first"
done
# Every library named in the exe is known or planted.
for library in $(x86_64-w64-mingw32-strings -el "$exe" | library_names); do
  names_one_of "$library" "$known ${planted_names[*]}" || fail "the exe names $library, which this test does not plant"
done

cp "$exe" "$work/Orvalet.exe"
for library in "${planted_names[@]}"; do cp "$planted" "$work/$library.dll"; done
echo "Planted beside the exe: ${planted_names[*]}"

"$wine" reg delete 'HKCU\Software\Orvalet' /f >/dev/null 2>&1
cd "$work"
# Wine's complaints about a planted copy's missing functions go to a log.
WINEDLLOVERRIDES="$(IFS=,; echo "${planted_names[*]}")=n,b;$WINEDLLOVERRIDES" "$wine" "$work/Orvalet.exe" \
  2>"$work/meter.log" &
meter_pid=$!
wait_for 60 "$wine" "$probe" exists || fail "no window of the meter's class appeared"
sleep 3  # a few ticks
open_about_box
"$wine" "$probe" escape && wait_for 20 about_gone || fail "Esc did not close the about box"
markers=$(cd "$work" && ls -- *.loaded 2>/dev/null)
"$wine" "$probe" close || fail "could not close the meter"
wait_for 60 meter_gone || fail "the meter did not end after being closed"
meter_pid=
[ -z "$markers" ] || fail "libraries planted beside the exe were loaded into it: $markers"
echo "No library planted beside the exe was loaded."
