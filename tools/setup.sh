#!/usr/bin/env bash
# Installs what is missing, builds into build/, then starts the program (run) or every test (test).
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-run}
# What building and running the program need: the compiler, Qt, Hunspell and a dictionary, MyThes
# and a thesaurus, QuaZip for OpenDocument and Word packages and ISA-L to deflate their long
# parts, and the faces that measure as Times New Roman, Arial and Courier New do, so a manuscript
# in them breaks its lines and pages as it does where it was written.
run_packages=(build-essential cmake pkgconf qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6
              libhunspell-dev hunspell-en-us libmythes-dev mythes-en-us libquazip1-qt6-dev
              libisal-dev fonts-liberation2)
# What only the tests, the benchmarks and the fuzzer need: the benchmark library, the fonts the
# layout is measured in, PDF text for printing, the word processors whose RTF the codec reads
# and writes, the launcher validators, and clang with its sanitizers.
test_packages=(libbenchmark-dev fonts-dejavu-core poppler-utils
               libreoffice-writer-nogui pandoc abiword desktop-file-utils appstream
               clang libclang-rt-14-dev)

case "$mode" in
run) packages=("${run_packages[@]}") ;;
test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
*) echo "usage: $0 [run|test]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

case "$mode" in
run)
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMERE_BENCH=OFF
    cmake --build build -j"$(nproc)" --target quillmere seed_data
    exec build/quillmere ;;
test)
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMERE_BENCH=ON
    cmake --build build -j"$(nproc)"
    # Each reader's fuzz target replays its seed corpus once, under ASan and UBSan.
    tools/fuzz.sh check
    cd build && QT_QPA_PLATFORM=offscreen exec ctest --output-on-failure -j"$(nproc)" ;;
esac
