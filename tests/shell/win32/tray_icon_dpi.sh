#!/usr/bin/env bash
# tray_icon_dpi.sh SHELL_WIN_TESTS_EXE FOLDER [DPI...]: the tray icon's test
# (MeterAtDpi.TrayIcon*) at each DPI (default 120, 144 and 192), which it
# photographs into the tests' output folder. Wine takes the system DPI from
# the prefix's LogPixels when a program starts, so these runs have a prefix
# of their own (FOLDER/wineprefix) with a wineserver of its own, and the
# other tests keep theirs at 96. Runs under X, like the other Windows tests.
set -euo pipefail
tests=$1
folder=$2
shift 2
dpis=("$@")
[ ${#dpis[@]} -gt 0 ] || dpis=(120 144 192)
source "$(dirname "$0")/../../../scripts/wine-env.sh"
mkdir -p "$folder"
use_wine_prefix "$folder"

stop_server() { "$wineserver" -k >/dev/null 2>&1 || true; }
trap stop_server EXIT
"$wineserver" -p
"$wine" wineboot -u >/dev/null 2>&1 || true
for dpi in "${dpis[@]}"; do
  "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null ||
    fail "could not set the prefix to $dpi DPI"
  ORVALET_TEST_DPI=$dpi "$wine" "$tests" --gtest_filter='MeterAtDpi.TrayIcon*' --gtest_brief=1 ||
    fail "the tray icon at $dpi DPI"
  echo "The tray icon at $dpi DPI has the notification area's size and no blended pixel."
done
