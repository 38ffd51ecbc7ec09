#!/usr/bin/env bash
# planting.sh ORVALET_EXE PLANTED_LIBRARY WINDOW_PROBE_EXE OUTPUT_DIR
# Nothing placed beside the program runs inside it. The exe imports only
# known DLLs, and a copy of the planted library (planted_library.cpp) lies
# beside a copy of the exe under the name of each other library the program
# loads; with Wine told to prefer such copies to its own, the meter runs
# from that folder and opens its about box, and no copy may be loaded. Runs
# in the Wine prefix of the environment (scripts/wine-session), under X.
set -uo pipefail
exe=$1
planted=$2
probe=$3
work=$4/planting
source "$(dirname "$0")/e2e_common.sh"

# Windows' KnownDLLs on every version the meter runs on, and ntdll: never
# looked for beside a program. shcore is one on every version that has it
# (8.1 on), and the meter loads it from the system directory by its path;
# it is not planted, since Wine's own shlwapi imports it when the program
# starts, searching beside the exe first as no Windows does for a KnownDLL.
known="advapi32 comdlg32 gdi32 imagehlp imm32 kernel32 msctf msvcrt normaliz nsi ntdll ole32 oleaut32 psapi
       rpcrt4 setupapi shcore shell32 shlwapi user32 wldap32 ws2_32"
planted_names=(comctl32 dwmapi iphlpapi uxtheme)

# library_of LIBRARY NAMES: whether LIBRARY (as read from the exe, perhaps
# after a stray character) is NAME.dll for one of NAMES.
library_of() {
  local name
  for name in $2; do [[ ${1,,} == *"$name.dll" ]] && return 0; done
  return 1
}
imports=$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ { print $3 }')
[ -n "$imports" ] || fail "no import table read from $exe"
for library in $imports; do
  library_of "$library" "$known" || fail "the exe imports $library, which Windows looks for beside the exe first"
done
for library in $(x86_64-w64-mingw32-strings -el "$exe" | grep -i '\.dll$'); do
  library_of "$library" "$known ${planted_names[*]}" || fail "the exe names $library, which this test does not plant"
done

rm -rf "$work"
mkdir -p "$work"
cp "$exe" "$work/Orvalet.exe"
for library in "${planted_names[@]}"; do cp "$planted" "$work/$library.dll"; done
"$wine" reg delete 'HKCU\Software\Orvalet' /f >/dev/null 2>&1
cd "$work"
# Wine's complaints about a planted copy's missing functions go to a log.
WINEDLLOVERRIDES="$(IFS=,; echo "${planted_names[*]}")=n,b;$WINEDLLOVERRIDES" "$wine" Orvalet.exe 2>meter.log &
meter_pid=$!
wait_for 60 "$wine" "$probe" exists || fail "no window of the meter's class appeared"
sleep 3  # a few ticks
open_about_box
"$wine" "$probe" escape && wait_for 20 about_gone || fail "Esc did not close the about box"
markers=$(ls -- *.loaded 2>/dev/null)
meter_whole
[ -z "$markers" ] || fail "libraries planted beside the exe were loaded into it: $markers"
echo "None of ${planted_names[*]} planted beside the exe was loaded."
