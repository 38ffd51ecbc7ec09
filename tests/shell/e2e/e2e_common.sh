# shellcheck shell=bash
# Sourced by the end-to-end scripts: the Wine loader ($wine), fail and
# wait_for (scripts/wine-env.sh), and helpers around the meter the script
# starts (meter_pid): its about box, its end, and the whole meter every
# journey ends with. Needs an X display and the Wine prefix of the
# environment (scripts/wine-session sets it up).
source "$(dirname "${BASH_SOURCE[0]}")/../../../scripts/wine-env.sh"

[ -n "${DISPLAY:-}" ] || fail "no X display; run through scripts/xvfb-wine"
[ -n "${WINEPREFIX:-}" ] || fail "no Wine prefix; run under scripts/wine-session"

# The script's $probe is the window probe; drive runs its commands.
drive() { "$wine" "$probe" "$@"; }
meter_gone() { ! kill -0 "$meter_pid" 2>/dev/null; }
about_gone() { ! drive about; }
hidden() { ! drive visible; }

# ended WHAT [SECONDS]: the meter the script started ends by itself within
# SECONDS (default 15), with exit code 0, having saved its 56 values.
ended() {
  wait_for "${2:-15}" meter_gone || fail "$1: the meter did not end"
  wait "$meter_pid"
  local code=$?
  meter_pid=
  [ $code -eq 0 ] || fail "$1: the meter ended with exit code $code"
  local values
  values=$("$wine" reg query 'HKCU\Software\Orvalet' 2>/dev/null | tr -d '\r' | grep -c 'REG_')
  [ "$values" -eq 56 ] || fail "$1: expected 56 saved values, found $values"
}

# meter_whole [ALPHA]: how every journey ends, with the meter whole again.
# The tray icon's click shows it (a shown meter is hidden first) at its set
# opacity ALPHA (default 205, the default opacity); its graph's name gives
# the rates (with thousands separators: "1,011.9 KiB/s"); its tray menu
# opens; and "Exit Orvalet", the menu's last entry, ends it within 10 s,
# having saved its options.
meter_whole() {
  local want=${1:-205} name
  if drive visible; then
    drive trayclick
    wait_for 10 hidden || fail "the meter whole: the tray icon's click did not hide the shown meter"
  fi
  drive trayclick
  wait_for 10 drive visible || fail "the meter whole: the tray icon's click did not show the meter"
  at_alpha() { [ "$(drive alpha | tr -d '\r')" = "$want" ]; }
  wait_for 10 at_alpha || fail "the meter whole: shown at alpha '$(drive alpha | tr -d '\r')', not $want"
  name=$(drive graphtext | tr -d '\r')
  grep -Eq '^Download [0-9][0-9.,]* [A-Za-z]+/s, upload [0-9][0-9.,]* [A-Za-z]+/s, .' <<<"$name" ||
    fail "the meter whole: the graph's name gives no rates: '$name'"
  drive traymenu + wait menu + up + return ||
    fail "the meter whole: could not choose Exit Orvalet from the tray menu (exit code $?)"
  ended "the meter whole: Exit Orvalet" 10
}

# Opens the about box from the tray icon's menu, where About is two entries
# above the bottom; the script's $probe is the window probe.
open_about_box() {
  drive traymenu || fail "could not send the tray icon's right click"
  wait_for 20 drive menu || fail "the right click on the tray icon opened no menu"
  drive up && drive up && drive return || fail "could not choose About"
  wait_for 20 drive about || fail "About opened no about box"
}
