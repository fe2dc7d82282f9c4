#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan + UBSan, in build/fuzz) and
# runs each one for a bounded time on top of its seed corpus (fuzz/corpus) and
# the inputs that once crashed it (fuzz/reproducers). Any finding makes the
# script fail; the input that shows it lands in build/fuzz/findings/TARGET/.
#
#   scripts/fuzz.sh                    every target for 10 minutes, one at a time
#   scripts/fuzz.sh --ci               every target for 60 seconds (what CI runs)
#   scripts/fuzz.sh --seconds 3600 --parallel 2 notify process
#
# Inputs that reach new code are kept in build/fuzz/corpus/TARGET, so a later
# run goes on where the last one stopped. Logs: build/fuzz/logs/TARGET.log.
set -euo pipefail
cd "$(dirname "$0")/.."

all_targets=(processor_state controller_state notify process preset_file)
seconds=600
parallel=1
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --ci) seconds=60 ;;
    --seconds) seconds=$2; shift ;;
    --parallel) parallel=$2; shift ;;
    -h|--help) sed -n '2,14p' "$0"; exit 0 ;;
    *) targets+=("$1") ;;
  esac
  shift
done
[ ${#targets[@]} -gt 0 ] || targets=("${all_targets[@]}")

./scripts/setup.sh

build=build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVEXBIT_FUZZ=ON -DVEXBIT_TESTS=OFF -DVEXBIT_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j"${JOBS:-2}" --target $(printf 'fuzz_%s ' "${targets[@]}")

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

run_target() {
  local target=$1
  local corpus=$build/corpus/$target findings=$build/findings/$target log=$build/logs/$target.log
  mkdir -p "$corpus" "$findings" "$(dirname "$log")"
  local inputs=("$corpus" "fuzz/corpus/$target")
  [ ! -d "fuzz/reproducers/$target" ] || inputs+=("fuzz/reproducers/$target")
  # The working corpus comes first: libFuzzer adds what it finds to the first folder.
  "$build/fuzz/fuzz_$target" "${inputs[@]}" \
    -max_total_time="$seconds" -max_len=4096 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$findings/" >"$log" 2>&1
}

summary() {
  local target=$1 log=$build/logs/$1.log
  local execs cov
  # Logs hold raw input bytes (libFuzzer prints dictionary entries); read them as text.
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1 || true)
  cov=$(grep -a -E '^#[0-9]+' "$log" | grep -a -o 'cov: [0-9]* ft: [0-9]*' | tail -1 || true)
  echo "fuzz: $target: ${execs:-?} executions, ${cov:-no coverage figures}"
}

failed=()
pids=()
names=()
wait_one() {
  local pid=${pids[0]} name=${names[0]}
  pids=("${pids[@]:1}")
  names=("${names[@]:1}")
  if wait "$pid"; then
    summary "$name"
  else
    summary "$name"
    echo "fuzz: $name FOUND A PROBLEM; see $build/logs/$name.log and $build/findings/$name/" >&2
    grep -a -E 'ERROR|fuzz finding|runtime error|SUMMARY' "$build/logs/$name.log" | head -5 >&2 || true
    failed+=("$name")
  fi
}

for target in "${targets[@]}"; do
  echo "fuzz: $target for ${seconds}s"
  run_target "$target" &
  pids+=($!)
  names+=("$target")
  [ ${#pids[@]} -lt "$parallel" ] || wait_one
done
while [ ${#pids[@]} -gt 0 ]; do wait_one; done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: findings in ${failed[*]}" >&2
  exit 1
fi
echo "fuzz: no findings"
