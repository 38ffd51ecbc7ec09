# Sourced by the end-to-end scripts: the Wine loader, a failure that stops
# the meter first, and waiting for a condition. Needs an X display and the
# Wine prefix of the environment (scripts/wine-session sets it up).
wine=/usr/lib/wine/wine64
export WINEDEBUG=${WINEDEBUG:--all}
meter_pid=

fail() {
  echo "FAILED: $*" >&2
  [ -n "$meter_pid" ] && kill "$meter_pid" 2>/dev/null
  exit 1
}

[ -n "${DISPLAY:-}" ] || fail "no X display; run under xvfb-run"
[ -n "${WINEPREFIX:-}" ] || fail "no Wine prefix; run under scripts/wine-session"

wait_for() {  # wait_for SECONDS COMMAND...: until the command succeeds
  for _ in $(seq $(($1 * 4))); do
    "${@:2}" >/dev/null 2>&1 && return 0
    sleep 0.25
  done
  return 1
}

meter_gone() { ! kill -0 "$meter_pid" 2>/dev/null; }
