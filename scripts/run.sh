#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on its bundled
# default data (the data files sit next to the executable in build/bin).
# Run it as your own user: installing asks for sudo, the program runs as you.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
if [ "$(id -u)" -eq 0 ]; then
  echo "Note: started as root, the program does not open its web browser window;" \
       "run scripts/run.sh as your own user (it uses sudo to install)." >&2
fi
exec build/bin/heater "$@"
