#!/bin/sh
# Runs a command with its runtime and cache folders in a temporary folder of
# its own (mktemp -d: readable by this user only, as Qt requires of a runtime
# folder), removed when it ends: the program leaves no runtime-<user> in the
# temporary folder and nothing in the user's ~/.cache.
#   own_folders.sh COMMAND [ARG...]
d=$(mktemp -d) || exit 1
mkdir -m 700 "$d/runtime" "$d/cache" || exit 1
XDG_RUNTIME_DIR=$d/runtime XDG_CACHE_HOME=$d/cache "$@"
rc=$?
rm -rf "$d"
exit $rc
