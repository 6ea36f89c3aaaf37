#!/usr/bin/env bash
# Runs tellbud-fuzz for a budget on two cores: three processes, each with a third of the steps and
# of the virtual hours. Two play the fixed seed ranges (from FIRST_SEED and FIRST_SEED + 1000000),
# the third a range derived from the commit being tested, so that every commit meets worlds no
# earlier run met. Each prints its seed range; a finding prints the script that reproduces it.
#
#   tools/fuzz.sh BUILD_DIR STEPS HOURS [FIRST_SEED]
#
# TELLBUD_FUZZ_SKIP names invariants not to check (comma-separated), for faults known and being
# mended; empty checks everything. TELLBUD_FUZZ_COMMIT overrides the commit the third range is
# derived from (default: git rev-parse HEAD; none outside a git checkout).
set -euo pipefail
build=$1 steps=$2 hours=$3 first=${4:-1}
fuzz="$build/world/tellbud-fuzz"
skip=${TELLBUD_FUZZ_SKIP:-}

# The commit's range starts at 1,000,000,000 plus its first seven hex digits (below 268,435,456),
# far above the fixed ranges and the ranges of hand-run campaigns (docs/performance.md).
commit=${TELLBUD_FUZZ_COMMIT:-$(git -C "$(dirname "$0")" rev-parse HEAD 2>/dev/null || true)}
ranges=("$first" "$((first + 1000000))")
if [[ -n "$commit" ]]; then
  commit_first=$((1000000000 + 16#${commit:0:7}))
  echo "tellbud-fuzz: commit ${commit:0:12} fuzzes the seeds from $commit_first"
  ranges+=("$commit_first")
else
  echo "tellbud-fuzz: no commit to derive seeds from; fixed ranges only"
fi
n=${#ranges[@]}
args=(--steps $(((steps + n - 1) / n)) --hours "$(awk "BEGIN { print $hours / $n }")")
[[ -n "$skip" ]] && args+=(--skip "$skip") && echo "tellbud-fuzz: not checking $skip"

# Each process keeps to one core: a world's simulated threads hand the run to each other all the
# time, and a hand-over within one core costs about half of one that wakes a thread on another
# (docs/performance.md).
cores=$(nproc 2>/dev/null || echo 1)
pin() { if command -v taskset >/dev/null; then taskset -c "$(($1 % cores))" "${@:2}"; else "${@:2}"; fi; }

logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
pids=()
for i in "${!ranges[@]}"; do
  pin "$i" "$fuzz" --seeds "${ranges[$i]}" "${args[@]}" >"$logs/$i" 2>&1 &
  pids+=($!)
done
status=0
for pid in "${pids[@]}"; do wait "$pid" || status=1; done
for i in "${!ranges[@]}"; do cat "$logs/$i"; done
if ((status != 0)); then
  echo "tellbud-fuzz: an invariant broke. To reproduce, save the script printed above (from its"
  echo "'# tellbud-fuzz, seed' line) as a file and run: $fuzz --replay FILE (or tellbud-sim FILE)"
fi
exit $status
