#!/usr/bin/env bash
# Installs what the build needs (Debian packages), builds the program and the demo installer
# (./test.sh builds the tests and benchmarks too), creates or refreshes the demo installation
# in the user's data folder and starts the program from there.
set -euo pipefail
cd "$(dirname "$0")"

bash .ci/install-packages
cmake -S . -B build -G Ninja
cmake --build build --target program -j "$(nproc)"

if [ ! -x build/bin/VANT ]; then
    echo "The program build/bin/VANT was not built; nothing to start." >&2
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
