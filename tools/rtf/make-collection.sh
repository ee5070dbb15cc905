#!/usr/bin/env bash
# Regenerates the peer-written files of tests/rtf/collection from tests/rtf/collection/sources:
# LibreOffice saves each source (and pandoc's DOCX and ODT of each Markdown file) as RTF, and so
# do AbiWord and pandoc. tools/rtf/make-handmade-collection.py writes the hand-made ones, and
# tools/rtf/check-collection.py compares the whole collection with LibreOffice's text.
#   tools/rtf/make-collection.sh
set -euo pipefail
cd "$(dirname "$0")/../.."
out=tests/rtf/collection
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp $out/sources/* tests/rtf/peers/footnotes-tabs-lists.fodt "$work"
cd "$work"
lo() { soffice -env:UserInstallation="file://$work/profile" --headless "$@" >/dev/null 2>&1; }
for md in *.md; do
    name=${md%.md}
    pandoc -s -t rtf "$md" -o "pandoc-$name.rtf"
    pandoc "$md" -o "$name.docx"
    pandoc "$md" -o "$name.odt"
    lo --convert-to rtf --outdir docx "$name.docx"
    lo --convert-to rtf --outdir odt "$name.odt"
    mv "docx/$name.rtf" "lo-docx-$name.rtf"
    mv "odt/$name.rtf" "lo-odt-$name.rtf"
    abiword --to=rtf "$name.odt" -o "abiword-odt-$name.rtf" || true
done
for html in *.html; do
    name=${html%.html}
    lo --infilter="HTML (StarWriter)" --convert-to rtf --outdir html "$html"
    mv "html/$name.rtf" "lo-html-$name.rtf"
    pandoc -s -f html -t rtf "$html" -o "pandoc-html-$name.rtf"
    abiword --to=rtf "$html" -o "abiword-$name.rtf"
done
for fodt in *.fodt; do
    name=${fodt%.fodt}
    lo --convert-to rtf --outdir fodt "$fodt"
    lo --convert-to docx --outdir fodt "$fodt"
    mv "fodt/$name.rtf" "lo-fodt-$name.rtf"
    abiword --to=rtf "fodt/$name.docx" -o "abiword-docx-$name.rtf" || true
done
cd - >/dev/null
cp "$work"/lo-*.rtf "$work"/pandoc-*.rtf "$work"/abiword-*.rtf $out/
