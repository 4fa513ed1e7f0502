#!/usr/bin/env bash
# Installs what the build needs (Debian packages), builds everything in ./build and runs
# every test. The exit code is ctest's.
set -euo pipefail
cd "$(dirname "$0")"

bash .ci/install-packages
cmake -S . -B build -G Ninja
cmake --build build -j "$(nproc)"
cd build
QT_QPA_PLATFORM=offscreen exec ctest --output-on-failure
