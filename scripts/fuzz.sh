#!/usr/bin/env bash
# Fuzzes every reader of outside data (location.dat, PumpHP.dat, the
# competitor files, defaulte.dat, the city spreadsheets, the printout
# templates and workbooks) with libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer, seeded from the default data.
#   scripts/fuzz.sh            one million inputs per target
#   scripts/fuzz.sh N          N inputs per target
#   scripts/fuzz.sh --smoke    a few seconds per target (the test command)
# A finding stops the run and leaves its input in build-fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
limit=(-runs="${1:-1000000}")
[ "${1:-}" = "--smoke" ] && limit=(-max_total_time=3)

build=${FUZZ_BUILD:-build-fuzz}
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHEATER_FUZZ=ON >/dev/null
cmake --build "$build" -j "$jobs"

# Seeds: the first records of each default file (a few whole records and a
# partial one); inputs stay a few records long, since every record is read
# the same way and short inputs mutate much faster. A settings file is
# small and taken whole.
bin=$build/bin
seed() {  # seed TARGET FILE RECORD_LENGTH RECORDS
  local dir=$build/seeds/$1
  rm -rf "$dir"; mkdir -p "$dir"
  head -c "$3" "$bin/$2" >"$dir/one"
  head -c $(($3 * $4 + 7)) "$bin/$2" >"$dir/some-and-a-bit"
  maxlen[$1]=$(($3 * $4 + 64))
}
declare -A maxlen
seed fuzz_location location.dat 228 8
seed fuzz_pumphp PumpHP.dat 1724 4
seed fuzz_competitor PumpHP1.dat 596 2
mkdir -p "$build/seeds/fuzz_settings"; cp "$bin/defaulte.dat" "$build/seeds/fuzz_settings/whole"
maxlen[fuzz_settings]=16384
# The spreadsheets: the shipped sample and a small workbook of each kind.
for k in xls xlsx; do mkdir -p "$build/seeds/fuzz_cities_$k"; done
cp data/hpcities.xls tests/dealer/data/edge.xls "$build/seeds/fuzz_cities_xls/"
cp tests/office/data/cities_lo.xlsx "$build/seeds/fuzz_cities_xlsx/"
maxlen[fuzz_cities_xls]=65536
maxlen[fuzz_cities_xlsx]=16384

# The printout templates and workbooks come from the program's own build
# (they are made with Qt's picture support, which the fuzz build leaves out).
if [ ! -f build/bin/WordPrt1a.dotx ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build -j "$jobs" --target printout_templates
fi
for k in word excel; do rm -rf "$build/seeds/fuzz_$k"; mkdir -p "$build/seeds/fuzz_$k"; done
cp build/bin/WordPrt1a.dotx build/bin/WordPrt2cc.dotx "$build/seeds/fuzz_word/"
cp "build/bin/ENERGY COSTS.xlsx" "$build/seeds/fuzz_excel/energy.xlsx"
maxlen[fuzz_word]=131072
maxlen[fuzz_excel]=65536

mkdir -p "$build/artifacts"
for t in fuzz_location fuzz_pumphp fuzz_competitor fuzz_settings fuzz_cities_xls fuzz_cities_xlsx \
         fuzz_word fuzz_excel; do
  corpus=$build/corpus/$t
  mkdir -p "$corpus"
  echo "== $t ${limit[*]}"
  # The targets' data folders go into a temporary folder of the run, not
  # /tmp (libFuzzer ends without the targets' clean-up).
  tmp=$(realpath -m "$build/tmp/$t")
  rm -rf "$tmp"; mkdir -p "$tmp"
  # Large seeds raise libFuzzer's length limit to the whole-file size.
  TMPDIR=$tmp ASAN_OPTIONS=abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$build/fuzz/$t" "${limit[@]}" -max_len="${maxlen[$t]}" -timeout=10 -rss_limit_mb=4096 -print_final_stats=1 \
      -artifact_prefix="$build/artifacts/$t-" "$corpus" "$build/seeds/$t" 2>"$build/$t.log" \
    || { tail -60 "$build/$t.log"; echo "$t: FAILED (log: $build/$t.log)"; exit 1; }
  grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$build/$t.log" | tr '\n' ' '; echo
  rm -rf "$tmp"
done
echo "fuzzing: no findings"
