#!/usr/bin/env bash
# Screenshots of Procvault Studio on the example project, under Xvfb.
#   scripts/studio-screenshot.sh [OUT.png] [PROJECT]
#       the Studio window with a code window's context menu open
#   scripts/studio-screenshot.sh --dialogs DIR [PROJECT]
#       every dialog of the add-in, on the example library, as DIR/<form>[-<tab>].png
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dialogs=""
if [ "${1:-}" = "--dialogs" ]; then
  [ -n "${2:-}" ] || { echo "studio-screenshot: --dialogs needs a folder" >&2; exit 2; }
  dialogs="$(realpath -m "$2")"
  shift 2
  project="$(realpath -m "${1:-$root/examples/Inventory/Inventory.vbp}")"
else
  out="$(realpath -m "${1:-studio-context-menu.png}")"
  project="$(realpath -m "${2:-$root/examples/Inventory/Inventory.vbp}")"
fi
studio="${STUDIO:-$root/build/apps/studio/procvault-studio}"
procvault="${PROCVAULT:-$root/build/apps/procvault/procvault}"

build() {
  [ -f "$root/build/build.ninja" ] || cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$root/build" --target "$@"
}
[ -x "$studio" ] || build procvault-studio
command -v xvfb-run >/dev/null || { echo "studio-screenshot: xvfb-run is missing (scripts/install-deps.sh)" >&2; exit 1; }

# A throw-away settings folder, so the pictures show the defaults.
config="$(mktemp -d)"
trap 'rm -rf "$config"' EXIT
export XDG_CONFIG_HOME="$config"

if [ -n "$dialogs" ]; then
  # The library dialogs show the example library; under this settings folder
  # the script points the library location at it.
  [ -x "$procvault" ] || build procvault
  "$root/scripts/example-library.sh" "$procvault" 2>/dev/null
  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24" "$studio" "$project" --screenshot-dialogs="$dialogs"
  echo "$dialogs"
else
  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24" "$studio" "$project" --screenshot-context-menu="$out"
  echo "$out"
fi
