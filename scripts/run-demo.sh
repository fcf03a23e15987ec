#!/usr/bin/env bash
# Set-up, build and the sample application, run on a copy of examples/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
exec scripts/demo.sh build/default
