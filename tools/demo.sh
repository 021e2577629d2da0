#!/usr/bin/env bash
# Builds the host and the module, then runs the main job: the module is loaded
# into the host, which lists the loaded modules and the commands they added.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build-demo -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVRML_TESTS=OFF >/dev/null
cmake --build build-demo -j"$(nproc)"
./build-demo/bin/arxhost --load build-demo/bin/vrml.arx --script tools/demo/list_commands.scr --batch
