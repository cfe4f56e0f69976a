#!/usr/bin/env bash
# Creates the example library (build/examples/Procvault.mdb) from the example
# project when it does not exist yet, through procvault's own library commands,
# and points the user's settings at it only when no library location is set.
#   scripts/example-library.sh [PROCVAULT]   (default: build/apps/procvault/procvault)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
procvault="${1:-build/apps/procvault/procvault}"
library="$root/build/examples/Procvault.mdb"
project="$root/examples/Inventory"

if [ ! -e "$library" ]; then
  mkdir -p "$(dirname "$library")"
  # Built under a throw-away configuration and moved into place whole, so the
  # user's settings are untouched and a failed run leaves no half-filled library.
  scratch="$(mktemp -d)"
  trap 'rm -rf "$scratch"' EXIT
  in_scratch() { XDG_CONFIG_HOME="$scratch/config" "$procvault" "$@" >/dev/null; }
  in_scratch library init "$scratch/Procvault.mdb"
  in_scratch options set --library "$scratch/Procvault.mdb"
  in_scratch library categories add "Inventory"
  in_scratch library categories add "Utilities"
  in_scratch library store "$project/Module1.bas" AddItem ResetCount ShowTotals --category Inventory
  in_scratch library store "$project/Module1.bas" ReadSetting ElapsedSeconds --category Utilities
  in_scratch library store "$project/modStock.bas" StateOf LoadItems FindItem Reorder --category Inventory
  mv "$scratch/Procvault.mdb" "$library"
  echo "example-library: created $library" >&2
fi

if "$procvault" options show | grep -qx 'ProcvaultLocation: '; then
  "$procvault" options set --library "$library" >/dev/null
  echo "example-library: the library location now points at $library" >&2
fi
