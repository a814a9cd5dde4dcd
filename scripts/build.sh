#!/usr/bin/env bash
# Configures and builds Tarnwick in a build folder: build.sh [FOLDER [CMAKE-OPTION...]]
set -euo pipefail
cd "$(dirname "$0")/.."
folder=${1:-build}
shift || true
cmake -S . -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$folder"
