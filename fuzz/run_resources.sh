#!/usr/bin/env bash
# Fuzzes the resource reader (ParseResFile, ParseDialogTemplate) with libFuzzer
# under AddressSanitizer and UndefinedBehaviorSanitizer.
#
#   fuzz/run_resources.sh [seconds]     (default 300)
#
# The seeds are the compiled setup dialog and the test fixture; the corpus
# grows in fuzz/corpus-work/resources. A crash leaves its input in
# fuzz/corpus-work/resources-findings; such an input belongs in
# tests/resources/fixtures/fuzz/ once the fault is fixed.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-300}
out=build/fuzz-resources
corpus=fuzz/corpus-work/resources
findings=fuzz/corpus-work/resources-findings
mkdir -p "$out" "$corpus" "$findings"

rc=$(command -v llvm-rc || command -v llvm-rc-14)
"$rc" /C 65001 -I res -fo "$out/setup.res" res/setup.rc
"$rc" /C 65001 -fo "$out/variety.res" tests/resources/fixtures/variety.rc
cp "$out/setup.res" "$out/variety.res" "$corpus/"
# The bare template too, so that the template reader is reached directly.
tail -c +65 "$out/setup.res" > "$corpus/setup-template.bin"
if [ -d tests/resources/fixtures/fuzz ]; then
  cp tests/resources/fixtures/fuzz/* "$corpus/" 2>/dev/null || true
fi

clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -I . \
  fuzz/resources_fuzzer.cpp src/platform/resources/*.cpp -o "$out/resources_fuzzer"

# libFuzzer stops itself after max_total_time; timeout is the backstop.
timeout --kill-after=30 $((seconds + 120)) "$out/resources_fuzzer" \
  -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$findings/" -print_final_stats=1 "$corpus"
