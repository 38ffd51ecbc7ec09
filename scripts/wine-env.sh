# shellcheck shell=bash
# Sourced by every script and end-to-end test that runs Windows programs
# under Wine: the loader ($wine), a quiet environment without Wine's Mono and
# Gecko installers, the Wine prefix of a folder, and the helpers fail and
# wait_for.
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEARCH=win64

# use_wine_prefix FOLDER: FOLDER/wineprefix becomes the environment's prefix.
use_wine_prefix() {
  WINEPREFIX="$(cd "$1" && pwd)/wineprefix"
  export WINEPREFIX
  mkdir -p "$WINEPREFIX"
}

# Copies Wine's own Tahoma into the fonts of the booted prefix. It lacks some
# characters of Windows' Tahoma, among them the meter's arrows (U+25B2,
# U+25BC); those are taken from DejaVu Sans, linked to it as Windows links
# fonts for the characters a face lacks.
install_tahoma() {
  cp -u /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v Tahoma \
    /t REG_MULTI_SZ /d 'DejaVuSans.ttf,DejaVu Sans' /f >/dev/null 2>&1
}

# The meter a script has started, ended by fail.
meter_pid=

fail() {
  echo "FAILED (${0##*/}): $*" >&2
  [ -n "$meter_pid" ] && kill "$meter_pid" 2>/dev/null
  exit 1
}

wait_for() {  # wait_for SECONDS COMMAND...: until the command succeeds
  for _ in $(seq $(($1 * 4))); do
    "${@:2}" >/dev/null 2>&1 && return 0
    sleep 0.25
  done
  return 1
}
