#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Tellmarin-Team
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang and AddressSanitizer and runs each
# for SECONDS (default 60), starting from the seeds in fuzz/seeds and the
# corpus of earlier runs (build-fuzz/corpus). A crash, hang or leak stops the
# script with the input that caused it in build-fuzz/findings/<target>/.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
"$here/scripts/install-deps.sh" --fuzz
out="$here/build-fuzz"
cmake -S "$here" -B "$out" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTM_FUZZ=ON -DTM_BUILD_TESTS=OFF -DTM_BUILD_BENCH=OFF >/dev/null
cmake --build "$out" -j2 --target fuzz_all
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(commandline ini callfile registry index indextable vcard json jet dasl restore davanswer servercard)
fi
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen TELLMARIN_AUTOANSWER=1
for t in "${targets[@]}"; do
  corpus="$out/corpus/$t" findings="$out/findings/$t"
  mkdir -p "$corpus" "$findings"
  echo "== fuzz_$t for ${seconds} s"
  "$out/bin/fuzz_$t" "$corpus" "$here/fuzz/seeds/$t" -max_total_time="$seconds" \
    -timeout=10 -rss_limit_mb=1024 -max_len=65536 -print_final_stats=1 \
    -artifact_prefix="$findings/" 2>"$out/fuzz_$t.log" || {
    tail -40 "$out/fuzz_$t.log"
    echo "fuzz_$t failed; its input is in $findings/" >&2
    exit 1
  }
  grep -E "^stat::number_of_executed_units|^#[0-9]+ *DONE" "$out/fuzz_$t.log" | tail -2
done
