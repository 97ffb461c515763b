#!/usr/bin/env bash
# Fails when a C++ file differs from .clang-format; prints what clang-format would change.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
git ls-files -z -- '*.h' '*.cpp' | xargs -0 clang-format --dry-run --Werror
