#!/usr/bin/env bash
# One command on a fresh machine: installs what is missing, builds, and opens
# Procvault Studio on the example project. Without a display it says how to
# use the command line (or xvfb-run) instead and exits non-zero.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
project="${1:-examples/Inventory/Inventory.vbp}"

if [ "$(id -u)" -eq 0 ]; then
  scripts/install-deps.sh
elif ! scripts/install-deps.sh; then
  echo "run-studio: installing the missing packages needs root: sudo scripts/install-deps.sh" >&2
  exit 1
fi

# Same folder and settings as scripts/test.sh, so the two share one build.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target procvault-studio procvault
scripts/example-library.sh build/apps/procvault/procvault

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<TEXT
run-studio: there is no display (neither DISPLAY nor WAYLAND_DISPLAY is set), so the
Studio window cannot open. Everything it does is also available from the command line:

  build/apps/procvault/procvault --help
  build/apps/procvault/procvault comment examples/Inventory/Module1.bas --lines 3-6
  build/apps/procvault/procvault library list

To run the Studio itself on a virtual display:

  xvfb-run -a build/apps/studio/procvault-studio $project
  scripts/studio-screenshot.sh studio.png     # a picture of it, context menu open
TEXT
  exit 2
fi

exec build/apps/studio/procvault-studio "$project"
