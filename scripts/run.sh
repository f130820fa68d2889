#!/usr/bin/env bash
# Installs what is needed, builds and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
# Chromium refuses to run its sandbox as root; a normal user keeps it.
if [ "$(id -u)" -eq 0 ]; then
  export QTWEBENGINE_DISABLE_SANDBOX=1
fi
exec build/src/utquery "$@"
