#!/usr/bin/env bash
# Installs what the build needs (Debian packages), builds everything in ./build and runs
# every test. The exit code is ctest's.
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(cmake ninja-build g++ ccache qt6-base-dev libsqlite3-dev libgtest-dev libbenchmark-dev
          fonts-liberation xvfb imagemagick poppler-utils xauth)

install_missing() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}

install_missing
cmake -S . -B build -G Ninja
cmake --build build -j "$(nproc)"
cd build
QT_QPA_PLATFORM=offscreen exec ctest --output-on-failure
