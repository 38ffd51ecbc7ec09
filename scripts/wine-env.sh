# shellcheck shell=bash
# Sourced by every script and end-to-end test that runs Windows programs
# under Wine: the loader ($wine), a quiet environment without Wine's Mono and
# Gecko installers, the Wine prefix of a folder, the helpers fail and
# wait_for, and local traffic for the meter to watch.
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEARCH=win64

# use_wine_prefix FOLDER: FOLDER/wineprefix becomes the environment's prefix.
use_wine_prefix() {
  mkdir -p "$1"
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

# Sends a varying stream of bytes (about 0.5 to 2 MB/s) from one local socket
# to another for the given number of seconds: traffic on the loopback
# interface only, to no other machine.
loopback_traffic() {
  perl -MIO::Socket::INET -e '
    my $end = time + $ARGV[0];
    my $server = IO::Socket::INET->new(Listen => 1, LocalAddr => "127.0.0.1", LocalPort => 0, Proto => "tcp")
      or die "no local socket: $!\n";
    my $pid = fork() // die "no fork: $!\n";
    if ($pid == 0) {
      my $client = IO::Socket::INET->new(PeerAddr => "127.0.0.1", PeerPort => $server->sockport, Proto => "tcp")
        or exit 1;
      srand(7);
      my $chunk = "x" x 16384;
      for (my $i = 0; time < $end; ++$i) {
        for (my $bytes = int(150000 * (2 + sin($i / 7) + rand())); $bytes > 0; $bytes -= 16384) {
          syswrite($client, $chunk, $bytes < 16384 ? $bytes : 16384);
        }
        select(undef, undef, undef, 0.25);
      }
      exit 0;
    }
    my $peer = $server->accept;
    1 while sysread($peer, my $buffer, 65536);
    waitpid($pid, 0);
  ' "$1"
}

# watch_loopback PROBE: the meter's next start watches the loopback interface
# (PROBE is the window probe, which finds it).
watch_loopback() {
  local loopback
  loopback=$("$wine" "$1" loopback | tr -d '\r') || fail "no loopback interface"
  "$wine" reg add 'HKCU\Software\Orvalet' /v MonitoredInterface /t REG_SZ /d "$loopback" /f >/dev/null
}
