#!/usr/bin/env bash
# Builds the SZDD fuzz target with libFuzzer, AddressSanitizer and UBSan in
# its own folder and fuzzes for the given number of seconds (default 60).
#
#     fuzz/run.sh [SECONDS]
#
# The corpus grows in fuzz/corpus-work (seeded from tests/logic/fixtures and
# a few packed samples); crashing inputs land in fuzz/artifacts-work. Copy
# each finding into tests/logic/fixtures/ under a name that states its
# verdict, so that it stays a regression test.
set -euo pipefail

seconds="${1:-60}"
here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
build="$root/build-fuzz"
corpus="$here/corpus-work"
artifacts="$here/artifacts-work"
mkdir -p "$build" "$corpus" "$artifacts"

CXX="${CXX_FUZZ:-clang++}"
sources=(
  "$here/szdd_fuzz.cpp"
  "$root"/src/platform/logic/*.cpp
  "$root"/src/platform/posix/*.cpp
)
# Only the files of the expansion layer: the layer may hold more (starting
# programs, the test seam) that the target does not need.
wanted=()
for file in "${sources[@]}"; do
  case "$(basename "$file")" in
    shell_execute.cpp|host_script.cpp) ;;
    *) wanted+=("$file") ;;
  esac
done

"$CXX" -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -I"$root" "${wanted[@]}" -o "$build/szdd_fuzz"

# Seeds: the fixtures, each behind a first byte that feeds them whole.
for fixture in "$root"/tests/logic/fixtures/*; do
  [ -f "$fixture" ] || continue
  { printf '\0'; cat "$fixture"; } > "$corpus/seed-$(basename "$fixture")"
done
if [ -x "$root/build/default/tools/zor-pack" ]; then
  tmp="$(mktemp -d)"
  head -c 3000 /bin/ls > "$tmp/ZOR.exe"
  printf 'ZOR ZOR ZOR setup setup %.0s' {1..20} > "$tmp/ZOR.hlp"
  "$root/build/default/tools/zor-pack" "$tmp/ZOR.exe" && { printf '\x07'; cat "$tmp/ZOR.ex_"; } > "$corpus/seed-exe"
  "$root/build/default/tools/zor-pack" "$tmp/ZOR.hlp" && { printf '\0'; cat "$tmp/ZOR.hl_"; } > "$corpus/seed-hlp"
  rm -rf "$tmp"
fi

cd "$build"
exec timeout --signal=INT --kill-after=30 "$((seconds + 60))" \
  "$build/szdd_fuzz" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$artifacts/" -print_final_stats=1 "$corpus"
