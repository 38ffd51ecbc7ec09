# shellcheck shell=bash
# Sourced by the end-to-end scripts: the Wine loader ($wine), fail and
# wait_for (scripts/wine-env.sh), and helpers around the meter the script
# starts (meter_pid) and its about box. Needs an X display and the Wine
# prefix of the environment (scripts/wine-session sets it up).
source "$(dirname "${BASH_SOURCE[0]}")/../../../scripts/wine-env.sh"

[ -n "${DISPLAY:-}" ] || fail "no X display; run under xvfb-run"
[ -n "${WINEPREFIX:-}" ] || fail "no Wine prefix; run under scripts/wine-session"

meter_gone() { ! kill -0 "$meter_pid" 2>/dev/null; }
about_gone() { ! "$wine" "$probe" about; }

# Opens the about box from the tray icon's menu, where About is two entries
# above the bottom; the script's $probe is the window probe.
open_about_box() {
  "$wine" "$probe" traymenu || fail "could not send the tray icon's right click"
  wait_for 20 "$wine" "$probe" menu || fail "the right click on the tray icon opened no menu"
  "$wine" "$probe" up && "$wine" "$probe" up && "$wine" "$probe" return || fail "could not choose About"
  wait_for 20 "$wine" "$probe" about || fail "About opened no about box"
}
