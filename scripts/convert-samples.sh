#!/usr/bin/env bash
# Installs what is missing, builds lumaport, writes the sample Radiance images (made by our own
# generator) to samples/ and converts them to PNG in converted/, printing the console lines.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build/release -j"$(nproc)" --target lumaport generate_samples
build/release/tests/generate_samples samples
mkdir -p converted
build/release/lumaport -i samples/ -o converted/ -c png
