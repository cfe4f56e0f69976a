#!/usr/bin/env bash
# Seeded mutation check of the tests; see scripts/mutation_check.py --help.
#   scripts/mutation-check.sh [--seed S] [--count N] [--build-dir DIR] [--list]
set -euo pipefail
exec python3 "$(dirname "$0")/mutation_check.py" "$@"
