#!/usr/bin/env bash
# Installs what is missing, then configures and builds a preset (default:
# the default one).
#
#   scripts/build.sh [PRESET]
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-default}
scripts/install-deps.sh
cmake --preset "$preset"
cmake --build --preset "$preset"
