#!/usr/bin/env bash
# Prints Procvault Studio's start-up time (process start to the main window's
# first paint, with the example project open) and the time to open a generated
# 50,000-line module in a code window. Runs on Xvfb when there is no display.
# Usage: scripts/bench-studio-startup.sh [RUNS]
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
runs="${1:-5}"
studio="${STUDIO:-$root/build/apps/studio/procvault-studio}"
project="$root/examples/Inventory/Inventory.vbp"

if [ ! -x "$studio" ]; then
  cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release
  cmake --build "$root/build" --target procvault-studio
fi

config="$(mktemp -d)"
trap 'rm -rf "$config"' EXIT
run() {
  if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    XDG_CONFIG_HOME="$config" "$studio" "$@"
  else
    XDG_CONFIG_HOME="$config" QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24" "$studio" "$@"
  fi
}

echo "start-up to first paint, $runs runs ($project):"
for _ in $(seq "$runs"); do
  run "$project" --print-startup-time --exit-after-startup 2>/dev/null | grep startup-to-first-paint-ms
done
echo "opening a generated module in a code window:"
run --bench-open-lines=50000 2>/dev/null
