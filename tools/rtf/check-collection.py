#!/usr/bin/env python3
"""Reads a collection of RTF files with quillmere-rtf and with LibreOffice, and reports how often
our text matches LibreOffice's: crashes, hangs, refusals, and the share of files whose tokens are
at least 95% alike. Slow (LibreOffice converts every file), so it is run by hand, not in CI.

  tools/rtf/check-collection.py [--tool build/quillmere-rtf] [--verbose] [PATH ...]

PATH is a file or a folder of .rtf files; by default tests/rtf/collection and tests/rtf/data.
Our text is each paragraph's list marker and runs. LibreOffice's text conversion leaves out
footnotes and endnotes, so the notes section the reader adds at the end is left out too.
Where the conversion cannot write what LibreOffice shows, each side is put in the same terms:
a symbol font's character, which either side may hold as U+F000 plus its byte, is the sign the
published Symbol mapping gives (what the font shows, and what our reader makes of Symbol); a lone UTF-16 surrogate, which
LibreOffice keeps and writes as "?", is held by our reader as U+FFFD.
"""
import argparse
import difflib
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
THRESHOLD = 0.95
TIMEOUT_SECONDS = 30


def rtf_files(paths):
    files = []
    for path in paths:
        if os.path.isdir(path):
            files += sorted(os.path.join(path, name) for name in os.listdir(path)
                            if name.lower().endswith(".rtf"))
        else:
            files.append(path)
    return files


def paragraph_text(paragraph):
    text = "".join(run["text"] for run in paragraph["runs"])
    marker = paragraph.get("marker")
    return marker + "\t" + text if marker else text


def is_notes_heading(paragraphs, index):
    runs = paragraphs[index]["runs"]
    following = paragraphs[index + 1]["runs"] if index + 1 < len(paragraphs) else []
    return (len(runs) == 1 and runs[0]["text"] == "Notes" and runs[0]["bold"]
            and following and following[0].get("vertical") == "super")


def our_text(tool, path):
    """(outcome, text): outcome is ok, crash, hang or refused."""
    try:
        result = subprocess.run([tool, "dump", path], capture_output=True,
                                timeout=TIMEOUT_SECONDS)
    except subprocess.TimeoutExpired:
        return "hang", ""
    if result.returncode < 0:
        return "crash", ""
    if result.returncode != 0:
        return "refused", result.stderr.decode("utf-8", "replace").strip()
    paragraphs = json.loads(result.stdout)["paragraphs"]
    for index in range(len(paragraphs) - 1, -1, -1):
        if is_notes_heading(paragraphs, index):
            paragraphs = paragraphs[:index]
            break
    return "ok", "\n".join(paragraph_text(p) for p in paragraphs)


def libreoffice_texts(files, work):
    """LibreOffice's text of each file, converted in one run; None where it gave none."""
    inputs = os.path.join(work, "in")
    os.makedirs(inputs)
    names = {}
    for index, path in enumerate(files):
        name = "f%04d.rtf" % index
        shutil.copy(path, os.path.join(inputs, name))
        names[path] = name
    subprocess.run(["soffice", "-env:UserInstallation=file://" + os.path.join(work, "profile"),
                    "--headless", "--infilter=Rich Text Format", "--convert-to", "txt:Text",
                    "--outdir", os.path.join(work, "out")]
                   + [os.path.join(inputs, names[path]) for path in files],
                   capture_output=True, timeout=60 + 10 * len(files))
    texts = {}
    for path in files:
        out = os.path.join(work, "out", names[path][:-4] + ".txt")
        if os.path.exists(out):
            with open(out, encoding="utf-8", errors="replace") as f:
                texts[path] = f.read().lstrip("\ufeff")
        else:
            texts[path] = None
    return texts


def symbol_signs():
    """U+F020..U+F0FF to the signs of the Symbol font, from the codec tests' published mapping."""
    with open(os.path.join(ROOT, "tests/rtf/data/code-pages.txt")) as f:
        for line in f:
            fields = line.split()
            if fields and fields[0] == "42":
                return {0xF000 + byte: int(code, 16) for byte, code in enumerate(fields[1:])
                        if byte >= 0x20 and code != "FFFD"}
    raise RuntimeError("no Symbol mapping in tests/rtf/data/code-pages.txt")


def tokens(text):
    return re.findall(r"\w+|[^\w\s]", text)


def similarity(ours, theirs):
    a, b = tokens(ours), tokens(theirs)
    if not a and not b:
        return 1.0
    return difflib.SequenceMatcher(None, a, b, autojunk=False).ratio()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--tool", default=os.path.join(ROOT, "build", "quillmere-rtf"))
    parser.add_argument("--verbose", action="store_true", help="print every file's similarity")
    parser.add_argument("paths", nargs="*", default=[os.path.join(ROOT, "tests/rtf/collection"),
                                                     os.path.join(ROOT, "tests/rtf/data")])
    args = parser.parse_args()
    files = rtf_files(args.paths)
    counts = {"ok": 0, "crash": 0, "hang": 0, "refused": 0}
    matching = 0
    no_peer_text = 0
    signs = symbol_signs()
    with tempfile.TemporaryDirectory() as work:
        theirs = libreoffice_texts(files, work)
        for path in files:
            outcome, ours = our_text(args.tool, path)
            counts[outcome] += 1
            name = os.path.relpath(path, ROOT)
            if outcome != "ok":
                print("%-8s %s %s" % (outcome, name, ours))
                continue
            if theirs[path] is None:
                no_peer_text += 1
                print("no text  %s (LibreOffice gave none)" % name)
                continue
            ratio = similarity(ours.replace("\ufffd", "?").translate(signs),
                               theirs[path].translate(signs))
            matching += ratio >= THRESHOLD
            if args.verbose or ratio < THRESHOLD:
                print("%.3f    %s" % (ratio, name))
    total = len(files)
    print("%d files: %d crashes, %d hangs, %d refused, %d without LibreOffice text; text matches "
          "LibreOffice's (token similarity >= %.2f) for %d of %d (%.1f%%)"
          % (total, counts["crash"], counts["hang"], counts["refused"], no_peer_text, THRESHOLD,
             matching, total, 100.0 * matching / max(total, 1)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
