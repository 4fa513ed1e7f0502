#!/usr/bin/env bash
# Rewrites the golden drawings under tests/golden from what the pages draw now, after an
# intended change of a drawing; `git diff tests/golden` then shows what changed. Builds first.
# Usage: tests/rewrite-golden.sh [build folder, default ./build]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD="${1:-build}"
[ -f "$BUILD/CMakeCache.txt" ] || cmake -S . -B "$BUILD" -G Ninja
cmake --build "$BUILD" --target test_frame vantrel-demo
VANTREL_REWRITE_GOLDEN=1 QT_QPA_PLATFORM=offscreen "$BUILD/bin/test_frame" --gtest_filter='DemoPages.*' \
    || echo "Some checks of the pages failed (see above); the drawings they reached were rewritten all the same." >&2
git --no-pager diff --stat -- tests/golden || true
