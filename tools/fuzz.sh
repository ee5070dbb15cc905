#!/usr/bin/env bash
# Builds a reader's libFuzzer target (RTF by default, or the Word reader) with clang, ASan and
# UBSan into build-fuzz/, then fuzzes it for SECONDS (default 60) from a corpus seeded with the
# codec's test files and, for RTF, the collection of other writers' files.
#   tools/fuzz.sh [SECONDS] [rtf|docx]   fuzz for that long; new inputs go to build-fuzz/corpus
#   tools/fuzz.sh check [rtf|docx]       replay the seed corpus once, as a regression test
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-60}
reader=${2:-rtf}
flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fsanitize=fuzzer-no-link"
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_CXX_FLAGS="$flags" -DQUILLMERE_WERROR=ON -DQUILLMERE_BENCH=OFF \
    -DQUILLMERE_FUZZ=ON >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${reader}_reader_fuzzer"

if [ "$reader" = docx ]; then
    seeds=(tests/formats/data)
    crashes=tests/fuzz/docx-crashes
    corpus=build-fuzz/corpus-docx
else
    seeds=(tests/rtf/data tests/rtf/collection)
    crashes=tests/fuzz/crashes
    corpus=build-fuzz/corpus
fi
export ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1
if [ "$mode" = check ]; then
    exec "build-fuzz/${reader}_reader_fuzzer" -runs=0 "${seeds[@]}" "$crashes"
fi
mkdir -p "$corpus"
exec "build-fuzz/${reader}_reader_fuzzer" -max_total_time="$mode" -timeout=10 \
    -rss_limit_mb=3000 -max_len=65536 -artifact_prefix=build-fuzz/ "$corpus" "${seeds[@]}"
