#!/usr/bin/env bash
# Installs what is needed, builds and makes the Debian package build/utquery_*.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
cpack --config build/CPackConfig.cmake -B build >/dev/null
ls build/utquery_*.deb
