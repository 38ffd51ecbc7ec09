#!/usr/bin/env bash
# journeys.sh ORVALET_EXE WINDOW_PROBE_EXE JOURNEY
# A user's journey through the real meter under Wine, driven from outside by
# the window probe: tray clicks, menu keys, keys where the focus is, clicks on
# dialog controls. JOURNEY is one of:
#   about-box          Tab, Enter and Esc in the about box, its licence memo
#                      included, and every control back at the next opening
#   exit-during-box    "Exit Orvalet" and WM_CLOSE while a box is open end the
#                      program at once, saving what was applied, not more
#   apply-during-fade  an Apply that switches fading off during a show fade
#                      leaves the meter shown with its actions live, and
#                      during a hide fade leaves it hidden, to come back at
#                      its opacity
#   close-during-loops Windows' close while the meter is dragged by its graph
#                      ends the drag and the program
# Every journey ends with the meter whole (meter_whole, e2e_common.sh).
# Runs in the Wine prefix of the environment (scripts/wine-session sets it
# up), under an X display.
set -uo pipefail
exe=$1
probe=$2
journey=$3
source "$(dirname "$0")/e2e_common.sh"

no_meter() { ! drive exists; }
options="Orvalet Options"
options_gone() { ! drive dialog "$options"; }

start_meter() {  # at the defaults
  wait_for 10 no_meter || fail "a meter from before still runs"
  "$wine" reg delete 'HKCU\Software\Orvalet' /f >/dev/null 2>&1
  "$wine" "$exe" &
  meter_pid=$!
  wait_for 60 drive exists || fail "no window of the meter's class appeared"
}

# choose N: opens the tray icon's menu and chooses the entry N up from its
# bottom (1 "Exit Orvalet", 2 "About", 3 "Options").
choose() {
  local keys=() i
  for ((i = 0; i < $1; i++)); do keys+=(+ up); done
  drive traymenu + wait menu "${keys[@]}" + return ||
    fail "could not choose entry $1 from the bottom of the tray menu (exit code $?)"
}

stored() {  # stored NAME: the saved number, as reg prints it (0x1)
  "$wine" reg query 'HKCU\Software\Orvalet' /v "$1" 2>/dev/null | tr -d '\r' | awk '/REG_DWORD/ { print $3 }'
}

about_box() {
  start_meter
  choose 2
  wait_for 10 drive about || fail "About opened no about box"
  local all
  all=$(drive controls "About Orvalet" | tr -d '\r')
  # The panel, four labels, the memo, two links, the picture and OK.
  [ "$(grep -c ' visible$' <<<"$all")" -eq 10 ] || fail "the about box does not show its ten controls:"$'\n'"$all"
  drive focus Button || fail "the about box did not open with the focus on OK"
  drive tab + wait focus Edit || fail "Tab from OK did not move into the licence memo"
  drive tab + wait focus Button || fail "Tab did not leave the licence memo (the focus is on: $(drive focus))"
  drive return
  wait_for 10 about_gone || fail "Enter on OK did not close the about box"

  choose 2
  wait_for 10 drive about || fail "About opened no about box the second time"
  drive click "About Orvalet" Edit + wait focus Edit || fail "a click on the licence memo did not move into it"
  drive escape
  wait_for 10 about_gone ||
    fail "Esc in the licence memo did not close the about box; what is left:"$'\n'"$(drive controls "About Orvalet")"
  drive exists && ! meter_gone || fail "the meter ended with the about box"

  choose 2
  wait_for 10 drive about || fail "About opened no about box the third time"
  local third
  third=$(drive controls "About Orvalet" | tr -d '\r')
  [ "$third" = "$all" ] || fail "the third about box does not show every control:"$'\n'"$third"
  drive escape
  wait_for 10 about_gone || fail "Esc on OK did not close the third about box"
  meter_whole
}

exit_during_box() {
  start_meter
  choose 2
  wait_for 10 drive about || fail "About opened no about box"
  choose 1
  ended "Exit Orvalet with the about box open"

  # What was applied is saved; what was not is dropped, as with Cancel.
  start_meter
  choose 3
  wait_for 10 drive dialog "$options" || fail "Options opened no options dialog"
  drive click "$options" "Display average values" + click "$options" Apply \
    + click "$options" "Start minimized" + checked "$options" "Start minimized" ||
    fail "could not apply one change and make another in the options dialog"
  choose 1
  ended "Exit Orvalet with the options dialog open"
  [ "$(stored DisplayAverageValues)" = 0x1 ] || fail "the applied change was not saved on exit"
  [ "$(stored StartMinimized)" = 0x0 ] || fail "the change not applied was saved on exit"

  # Windows closing the program (WM_CLOSE) does the same.
  start_meter
  choose 3
  wait_for 10 drive dialog "$options" || fail "Options opened no options dialog"
  drive click "$options" "Start minimized" || fail "could not tick Start minimized"
  drive close || fail "could not send WM_CLOSE"
  ended "WM_CLOSE with the options dialog open"
  [ "$(stored StartMinimized)" = 0x0 ] || fail "the change not applied was saved on WM_CLOSE"

  start_meter
  meter_whole
}

apply_during_fade() {
  start_meter
  wait_for 10 drive visible || fail "the meter did not start shown"
  drive trayclick
  wait_for 10 hidden || fail "the tray icon's click did not hide the meter"

  choose 3
  wait_for 10 drive dialog "$options" || fail "Options opened no options dialog"
  drive page "$options" 1 + click "$options" "Enable fading effects" || fail "could not untick fading"
  drive checked "$options" "Enable fading effects" && fail "fading is still ticked"
  # The tray click starts a show fade, whose first step comes a second
  # later; Apply switches fading off before that.
  local alpha
  alpha=$(drive trayclick + wait visible + alpha + click "$options" Apply | tr -d '\r') ||
    fail "could not show the meter and press Apply"
  [ "$alpha" -lt 205 ] || fail "the meter came back at alpha $alpha: no fade ran when Apply came"
  wait_for 10 drive visible || fail "the meter is not shown after the Apply"
  alpha=$(drive alpha | tr -d '\r')
  [ "$alpha" = 205 ] || fail "the meter is shown at alpha $alpha after the Apply, not 205"

  # Its actions are live: the menu's first entry now is "Hide Meter".
  drive click "$options" Cancel
  wait_for 10 options_gone || fail "Cancel did not close the options dialog"
  drive traymenu + wait menu + down + return || fail "could not choose the tray menu's first entry"
  wait_for 10 hidden || fail "the tray menu's first entry did not hide the meter (its actions stayed greyed)"

  # Fading back on leaves a shown meter shown.
  drive trayclick + wait visible || fail "the tray icon's click did not show the meter"
  choose 3
  wait_for 10 drive dialog "$options" || fail "Options opened no options dialog the second time"
  drive page "$options" 1 + click "$options" "Enable fading effects" + click "$options" Apply ||
    fail "could not switch fading back on"
  sleep 3
  drive visible || fail "the meter hid itself after fading was switched back on"
  alpha=$(drive alpha | tr -d '\r')
  [ "$alpha" = 205 ] || fail "the meter is at alpha $alpha after fading was switched back on, not 205"

  # A hide fade that Apply stops ends with the meter hidden.
  drive click "$options" "Enable fading effects" || fail "could not untick fading again"
  drive trayclick + wait alpha below 205 + click "$options" Apply ||
    fail "could not start a hide fade and press Apply"
  wait_for 10 hidden ||
    fail "the meter is still shown (alpha $(drive alpha | tr -d '\r')) after Apply stopped its hide fade"
  drive click "$options" OK
  wait_for 10 options_gone || fail "OK did not close the options dialog"
  # Shown again without a fade, it has its opacity, not the hide fade's 0.
  meter_whole
}

close_during_loops() {
  start_meter
  wait_for 10 drive visible || fail "the meter did not start shown"
  drive drag + wait moving || fail "a press on the graph started no move loop"
  drive close || fail "could not send WM_CLOSE"
  ended "WM_CLOSE during a drag by the graph" 10

  start_meter
  meter_whole
}

case $journey in
  about-box) about_box ;;
  exit-during-box) exit_during_box ;;
  apply-during-fade) apply_during_fade ;;
  close-during-loops) close_during_loops ;;
  *) fail "no journey '$journey'" ;;
esac
echo "Journey $journey: every step passed."
