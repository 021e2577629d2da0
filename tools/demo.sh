#!/usr/bin/env bash
# Builds the host and the module, then runs the main job: the showcase
# drawing shipped in samples/ is exported by VRMLOUT to a VRML 2.0 world,
# and a picture of that world is rendered beside it, with a web page that
# shows the world in any browser.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build-demo -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVRML_TESTS=OFF >/dev/null
cmake --build build-demo -j"$(nproc)"
mkdir -p out
./build-demo/bin/vrmlout samples/showcase.dxf out/showcase.wrl --vrml2 --preview out/showcase.png --html out/showcase.html
echo "world file: $PWD/out/showcase.wrl"
echo "picture:    $PWD/out/showcase.png"
echo "web page:   $PWD/out/showcase.html"
