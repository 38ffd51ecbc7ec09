#!/usr/bin/env bash
# footprint.sh ORVALET_EXE WINDOW_PROBE_EXE WORK_DIR
# The meter leaves no trace but its settings: runs the real exe under Wine,
# moves and sizes its window, ends it whole (meter_whole), and compares the
# whole registry and every file of the prefix before and after. Only
# HKCU\Software\Orvalet and the "Orvalet" value under the Run key may
# differ; no file may appear, change or vanish. Runs in the Wine prefix of
# the environment (scripts/wine-session sets it up), under an X display.
set -uo pipefail
exe=$1
probe=$2
work=$3/footprint
source "$(dirname "$0")/e2e_common.sh"
rm -rf "$work"
mkdir -p "$work"

# The registry as text, without what may differ: the meter's own key, its
# autostart value, and what Wine itself records as programs come and go:
# HKCU\Software\Wine (temporary system parameters) and the video-driver keys
# it registers for every new desktop.
registry() {
  local hive
  for hive in HKCU HKLM; do
    "$wine" reg export "$hive" "$(winepath -w "$work/$hive.reg")" /y >/dev/null 2>&1 ||
      fail "could not export $hive"
    iconv -f UTF-16 -t UTF-8 "$work/$hive.reg" | tr -d '\r'
  done | awk '
    /^\[/ { key = $0; skip = index(key, "[HKEY_CURRENT_USER\\Software\\Orvalet") == 1 ||
                              index(key, "[HKEY_CURRENT_USER\\Software\\Wine\\") == 1 ||
                              index(key, "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Video\\") == 1 }
    skip { next }
    key == "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]" && /^"Orvalet"=/ { next }
    { print }'
}

# Every file and folder of the prefix's C: drive (the user profile among
# them) with its size and time of change; the registry files are compared
# through the registry itself.
files() {
  (cd "$WINEPREFIX/drive_c" && find . -printf '%y %p %s %T@\n' | sort)
}

snapshot() {
  registry >"$work/$1-registry.txt"
  files >"$work/$1-files.txt"
}

"$wine" reg delete 'HKCU\Software\Orvalet' /f >/dev/null 2>&1
snapshot before

"$wine" "$exe" &
meter_pid=$!
wait_for 60 "$wine" "$probe" exists || fail "no window of the meter's class appeared"
"$wine" "$probe" move 100 120 400 300 || fail "could not move the meter"
sleep 2  # a few ticks
meter_whole

left=$("$wine" reg query 'HKCU\Software\Orvalet' /v WindowLeft 2>/dev/null | tr -d '\r' | awk '/REG_DWORD/ { print $3 }')
[ "$left" = 0x64 ] || fail "the moved window's position was not saved (WindowLeft '$left')"

snapshot after
diff "$work/before-registry.txt" "$work/after-registry.txt" >"$work/registry.diff" ||
  fail "the registry changed beyond the meter's settings:"$'\n'"$(head -40 "$work/registry.diff")"
diff "$work/before-files.txt" "$work/after-files.txt" >"$work/files.diff" ||
  fail "files changed:"$'\n'"$(head -40 "$work/files.diff")"
echo "The meter changed nothing but HKCU\\Software\\Orvalet: registry and files of the prefix are as before."
