#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless: once on the
# normal build, once under AddressSanitizer and UndefinedBehaviorSanitizer.
# Both builds stop on any warning (-Wall -Wextra -Wpedantic -Werror).
# Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)

echo "== include rules"
scripts/check-includes
echo "== layout (.clang-format)"
scripts/format --check
echo "== function length"
scripts/long-functions --check
echo "== build"
scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHEATER_WERROR=ON
echo "== tests"
ctest --test-dir build --output-on-failure -j "$jobs"
# ctest runs each test in a process of its own; a dealer's session is one
# process. Each test program is run whole once as well, its tests in an
# order shuffled anew on every run, so that a test that only passes on a
# fresh process or after another one (state left by an earlier test) fails
# here. HEATER_TEST_SEED=N repeats a run's order.
seed=${HEATER_TEST_SEED:-$(( $(date +%s) % 99991 + 1 ))}
echo "== each test program whole, shuffled (seed $seed)"
failed=()
for t in build/tests/test_*; do
  [[ -f $t && -x $t ]] || continue
  echo "-- ${t##*/} --gtest_shuffle --gtest_random_seed=$seed"
  "$t" --gtest_brief=1 --gtest_shuffle --gtest_random_seed="$seed" || failed+=("${t##*/}")
done
if ((${#failed[@]})); then
  echo "failed when run whole (seed $seed): ${failed[*]}" >&2
  exit 1
fi

echo "== fuzz smoke (a few seconds per reader)"
scripts/fuzz.sh --smoke

echo "== build with sanitizers"
scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DHEATER_SANITIZE=ON -DHEATER_BENCH=OFF -DHEATER_WERROR=ON
echo "== tests with sanitizers"
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"
