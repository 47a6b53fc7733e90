#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on its bundled
# default data (the data files sit next to the executable in build/bin).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
exec build/bin/heater "$@"
