#!/usr/bin/env bash
# Regenerates the peer-written samples in tests/rtf/data from the sources in tests/rtf/peers,
# and their expected JSON with quillmere-rtf (check each JSON by eye before committing it).
#   tools/rtf/make-peer-files.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:?usage: $0 BUILD_DIR}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp tests/rtf/peers/* "$work"
(cd "$work" &&
    soffice --headless --infilter="HTML (StarWriter)" --convert-to rtf --outdir lo source.html &&
    soffice --headless --convert-to rtf --outdir lo footnotes-tabs-lists.fodt &&
    pandoc -s -t rtf source.md -o pandoc.rtf &&
    abiword --to=rtf source.html -o abiword.rtf)
cp "$work/lo/source.rtf" tests/rtf/data/libreoffice-writer.rtf
cp "$work/lo/footnotes-tabs-lists.rtf" tests/rtf/data/libreoffice-footnotes.rtf
cp "$work/pandoc.rtf" "$work/abiword.rtf" tests/rtf/data/
for f in libreoffice-writer libreoffice-footnotes pandoc abiword; do
    "$build/quillmere-rtf" dump "tests/rtf/data/$f.rtf" >"tests/rtf/data/$f.json"
done
