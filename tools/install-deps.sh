#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the previews need,
# and the web viewer that vrmlout --html puts into its pages (web/, pinned by
# its lock file). With --browser also Chromium, for the tests of those pages.
set -euo pipefail
cd "$(dirname "$0")/.."
packages=(cmake g++ make libgtest-dev libgmock-dev libbenchmark-dev libcoin-dev python3-ezdxf
          view3dscene xvfb xauth tmux binutils clang-14 libclang-rt-14-dev libglu1-mesa-dev)
[ "${1:-}" = --browser ] && packages+=(chromium)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# Node may come from elsewhere than Debian: only its absence asks for Debian's.
command -v npm >/dev/null || missing+=(nodejs npm)
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# npm ci starts from nothing each time: only when the lock file changed.
if ! cmp -s web/package-lock.json web/node_modules/.installed-lock.json; then
  echo "installing the web viewer (npm ci in web/)"
  (cd web && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error)
  cp web/package-lock.json web/node_modules/.installed-lock.json
fi
