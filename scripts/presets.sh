# shellcheck shell=bash
# Sourced by the scripts that build: every build tree is configured from a
# preset of CMakePresets.json, into the folder of the preset's name under
# $builds ($ORVALET_BUILD_DIR, default ./build).
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
builds=${ORVALET_BUILD_DIR:-$root/build}
jobs=$(nproc 2>/dev/null || echo 2)

# configure PRESET: configures $builds/PRESET.
configure() {
  cmake -S "$root" --preset "$1" -B "$builds/$1" >/dev/null
}

# build_preset PRESET [TARGET...]: configures, then builds the targets (all without any).
build_preset() {
  local preset=$1
  shift
  configure "$preset" && cmake --build "$builds/$preset" -j "$jobs" ${1:+--target "$@"}
}

# install_or_fail SET: installs what the SET of scripts/deps needs (native,
# windows, clang, lint, package, all), or ends the script with a message.
install_or_fail() {
  "$root/scripts/deps" "$@" || { echo "Could not install the build dependencies." >&2; exit 1; }
}
