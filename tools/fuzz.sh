#!/usr/bin/env bash
# Builds the readers' libFuzzer targets with clang, ASan and UBSan into build-fuzz/, then fuzzes
# one of them from a corpus seeded with that format's test files.
#   tools/fuzz.sh [SECONDS]             fuzz the RTF reader for that long (default 60)
#   tools/fuzz.sh run FORMAT [SECONDS]  fuzz FORMAT's reader (rtf, odt, docx); new inputs go to
#                                       build-fuzz/corpus-FORMAT
#   tools/fuzz.sh check                 replay every format's seed corpus once, as a regression
#                                       test
set -euo pipefail
cd "$(dirname "$0")/.."

formats=(rtf odt docx)
# The seeds of each format: its test files, then the inputs that once failed.
seeds() {
    case $1 in
        rtf) echo tests/rtf/data tests/rtf/collection tests/fuzz/crashes ;;
        docx) echo tests/formats/data tests/fuzz/docx-crashes ;;
        *) echo "tests/fuzz/$1" ;;
    esac
}

if [ "${1:-}" = run ]; then
    format=${2:?which format}
    seconds=${3:-60}
elif [ "${1:-}" = check ]; then
    format=check
else
    format=rtf
    seconds=${1:-60}
fi

flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fsanitize=fuzzer-no-link"
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_CXX_FLAGS="$flags" -DQUILLMERE_WERROR=ON -DQUILLMERE_BENCH=OFF \
    -DQUILLMERE_FUZZ=ON >/dev/null
targets=("${format}_reader_fuzzer")
if [ "$format" = check ]; then
    targets=()
    for each in "${formats[@]}"; do targets+=("${each}_reader_fuzzer"); done
fi
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]}"

export ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1
if [ "$format" = check ]; then
    for each in "${formats[@]}"; do
        # shellcheck disable=SC2046
        build-fuzz/"${each}"_reader_fuzzer -runs=0 -rss_limit_mb=3000 $(seeds "$each")
    done
    exit 0
fi
dictionary=()
if [ -f "fuzz/$format.dict" ]; then dictionary=(-dict="fuzz/$format.dict"); fi
mkdir -p "build-fuzz/corpus-$format"
# shellcheck disable=SC2046
exec build-fuzz/"${format}"_reader_fuzzer -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=3000 -max_len=65536 "${dictionary[@]}" -artifact_prefix="build-fuzz/$format-" \
    "build-fuzz/corpus-$format" $(seeds "$format")
