#!/usr/bin/env bash
# Installs what the build needs (Debian packages), builds, creates or refreshes the demo
# installation in the user's data folder and starts the program from there.
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

if [ ! -x build/bin/VANT ]; then
    echo "The program build/bin/VANT has not been built yet (app/main.cpp is missing); nothing to start." >&2
    exit 1
fi

# Outside the checkout: a program folder below a folder named like "source" would start
# the program in its development mode.
ROOT="${XDG_DATA_HOME:-$HOME/.local/share}/Vantrel"
build/bin/vantrel-demo --root "$ROOT" --program build/bin/VANT

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    exec xvfb-run -a "$ROOT/VANT/VANT"
fi
exec "$ROOT/VANT/VANT"
