#!/usr/bin/env bash
# Takes a screenshot of Procvault Studio on the example project with a code
# window's context menu open, under Xvfb. Usage: scripts/studio-screenshot.sh [OUT.png] [PROJECT]
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$(realpath -m "${1:-studio-context-menu.png}")"
project="$(realpath -m "${2:-$root/examples/Inventory/Inventory.vbp}")"
studio="${STUDIO:-$root/build/apps/studio/procvault-studio}"

if [ ! -x "$studio" ]; then
  cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$root/build" --target procvault-studio
fi
command -v xvfb-run >/dev/null || { echo "studio-screenshot: xvfb-run is missing (scripts/install-deps.sh)" >&2; exit 1; }

# A throw-away settings folder, so the picture shows the defaults.
config="$(mktemp -d)"
trap 'rm -rf "$config"' EXIT
XDG_CONFIG_HOME="$config" QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1280x800x24" "$studio" "$project" --screenshot-context-menu="$out"
echo "$out"
