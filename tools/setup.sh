#!/usr/bin/env bash
# Installs what is missing, builds into build/, then starts the program (run) or every test (test).
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-run}
packages=(build-essential cmake qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6
          libbenchmark-dev fonts-dejavu-core poppler-utils
          libreoffice-writer-nogui pandoc abiword clang libclang-rt-14-dev)

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

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"

case "$mode" in
run) exec build/quillmere ;;
test)
    # The RTF reader's fuzz target replays its seed corpus once, under ASan and UBSan.
    tools/fuzz.sh check
    cd build && QT_QPA_PLATFORM=offscreen exec ctest --output-on-failure -j"$(nproc)" ;;
*) echo "usage: $0 [run|test]" >&2; exit 2 ;;
esac
