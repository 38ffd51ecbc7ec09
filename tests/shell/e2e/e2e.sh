#!/usr/bin/env bash
# e2e.sh ORVALET_EXE WINDOW_PROBE_EXE OUTPUT_DIR
# Starts the real meter under Wine, checks its window, the single-instance
# rule and the rates its graph gives screen readers while local traffic runs,
# saves screenshots of the meter, its tray menu and its about box, and ends
# with the meter whole (meter_whole), saving the settings. Runs in the Wine
# prefix of the environment (scripts/wine-session sets it up).
set -uo pipefail
exe=$1
probe=$2
out=$3
source "$(dirname "$0")/e2e_common.sh"

# Start from the defaults, watching the loopback interface, where the script
# makes traffic.
"$wine" reg delete 'HKCU\Software\Orvalet' /f >/dev/null 2>&1
watch_loopback "$probe"
loopback_traffic 20 >/dev/null 2>&1 &
traffic_pid=$!

"$wine" "$exe" &
meter_pid=$!
wait_for 60 "$wine" "$probe" exists || fail "no window of the meter's class appeared"

# A second start ends at once with exit code 0 and leaves the first alone.
timeout 60 "$wine" "$exe"
second=$?
[ $second -eq 0 ] || fail "the second start ended with exit code $second"
kill -0 "$meter_pid" 2>/dev/null || fail "the first meter ended when the second started"
"$wine" "$probe" exists || fail "the meter's window is gone after the second start"

# At the defaults the meter is a layered window at alpha 205.
alpha=$("$wine" "$probe" alpha | tr -d '\r') || fail "the meter is not a layered window"
[ "$alpha" = 205 ] || fail "expected alpha 205, found '$alpha'"

# The common controls library waits for the first dialog: the meter that
# runs all day does without it.
"$wine" "$probe" comctl32 >/dev/null && fail "the meter loaded the common controls library before any dialog"

# Screen readers read the graph's name, which gives the rates of the traffic.
rate='[0-9.,]*[1-9][0-9.,]* [A-Za-z]+/s'
named() { "$wine" "$probe" graphtext | tr -d '\r' | grep -Eq "^Download $rate, upload $rate, ."; }
wait_for 15 named || fail "the graph's name does not give the loopback traffic: '$("$wine" "$probe" graphtext)'"

# Give the meter a few ticks, then photograph the screen.
sleep 3
mkdir -p "$out"
import -window root "$out/orvalet_e2e_screen.png" || fail "could not take the screenshot"
echo "Screenshot: $out/orvalet_e2e_screen.png"

# The tray icon's right click opens the menu; About, two entries from the
# bottom, opens the about box, and Esc closes it.
"$wine" "$probe" traymenu || fail "could not send the tray icon's right click"
wait_for 20 "$wine" "$probe" menu || fail "the right click on the tray icon opened no menu"
sleep 1
import -window root "$out/orvalet_e2e_menu.png" || fail "could not photograph the menu"
echo "Screenshot: $out/orvalet_e2e_menu.png"
"$wine" "$probe" up && "$wine" "$probe" up && "$wine" "$probe" return || fail "could not choose About"
wait_for 20 "$wine" "$probe" about || fail "About opened no about box"
# Its controls are those of version 6, which the manifest asks for.
controls=$("$wine" "$probe" comctl32 | tr -d '\r') || fail "the about box loaded no common controls library"
case ${controls,,} in
  *common-controls*6.0*) ;;
  *) fail "the about box loaded the common controls from '$controls', not version 6" ;;
esac
sleep 1
import -window root "$out/orvalet_e2e_about.png" || fail "could not photograph the about box"
echo "Screenshot: $out/orvalet_e2e_about.png"
"$wine" "$probe" escape || fail "could not press Esc in the about box"
wait_for 20 about_gone || fail "Esc did not close the about box"

meter_whole
kill "$traffic_pid" 2>/dev/null
echo "The meter ran, refused a second instance, opened its menu and about box, and saved its 56 values on Exit."
