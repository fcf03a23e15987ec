#!/usr/bin/env bash
# Fails when a C++ source of the repository is not laid out by clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' ':!third_party/' | xargs -0 clang-format --dry-run --Werror
