#!/usr/bin/env python3
"""Checks a format other than RTF against LibreOffice, over the RTF collection. Slow (LibreOffice
converts every file), so it is run by hand, not in CI.

  tools/formats/check-formats.py [--format ODT] [--verbose] [--keep DIR] [CHECK ...]

CHECK is one or more of:
  read      files of the format that LibreOffice, pandoc and AbiWord make of the RTF collection:
            our text of each (quillmere --convert-to txt) against LibreOffice's text of it
  write     the RTF collection converted to the format by quillmere: LibreOffice's text of what
            we wrote against LibreOffice's text of the RTF, again without the files damaged on
            purpose, then against our own text of the RTF, which leaves out where LibreOffice
            reads the RTF otherwise than we do
  markdown  the RTF collection converted to Markdown by quillmere and read by pandoc (GitHub
            Markdown to plain text): pandoc's text against LibreOffice's text of the RTF, then
            again with list markers as Markdown has them and without the files damaged on
            purpose
By default all three. --format names the zip format (ODT, DOCX) for read and write. Texts are
compared by tokens, as tools/rtf/check-collection.py does; a file passes at 0.95; files that
both LibreOffice and we refuse (AbiWord writes some with mismatched tags) are not counted.
LibreOffice's text conversion leaves notes out, so the notes section our text ends with is left
out; pandoc's plain text draws tables with rules, which are left out, and bullets as "-", which
become LibreOffice's bullet.
"""
import argparse
import importlib.util
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unicodedata

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
COLLECTION = [os.path.join(ROOT, "tests/rtf/collection"), os.path.join(ROOT, "tests/rtf/data")]
THRESHOLD = 0.95
CHECKS = ["read", "write", "markdown"]
# What LibreOffice calls its export filter for each format's files.
LIBREOFFICE_FILTERS = {"odt": "writer8", "docx": "MS Word 2007 XML"}


def rtf_check():
    spec = importlib.util.spec_from_file_location(
        "check_collection", os.path.join(ROOT, "tools/rtf/check-collection.py"))
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


RTF = rtf_check()


def run(command, timeout):
    try:
        return subprocess.run(command, capture_output=True, timeout=timeout,
                              env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
    except subprocess.TimeoutExpired:
        return None


class Checker:
    def __init__(self, args, work):
        self.quillmere = args.quillmere
        self.work = work
        self.verbose = args.verbose
        self.signs = RTF.symbol_signs()
        self.rtfs = RTF.rtf_files(COLLECTION)
        self.profile = "file://" + os.path.join(work, "profile")

    def folder(self, name):
        path = os.path.join(self.work, name)
        os.makedirs(path, exist_ok=True)
        return path

    def libreoffice(self, files, target, outdir):
        """Converts files with LibreOffice in one run; target is as --convert-to takes it."""
        run(["soffice", "-env:UserInstallation=" + self.profile, "--headless", "--convert-to",
             target, "--outdir", outdir] + files, 120 + 10 * len(files))

    def libreoffice_texts(self, files, name):
        out = self.folder(name)
        self.libreoffice(files, "txt:Text (encoded):UTF8", out)
        return {path: read_text(os.path.join(out, stem(path) + ".txt")) for path in files}

    def quillmere_convert(self, files, extension, name):
        """Our conversion of each file: its path, or None where we refused, crashed or hung."""
        out = self.folder(name)
        converted = {}
        for path in files:
            result = run([self.quillmere, "--convert-to", extension, "--outdir", out, path], 60)
            target = os.path.join(out, stem(path) + "." + extension)
            if result is None:
                print("hang     %s" % os.path.relpath(path, self.work))
            elif result.returncode < 0:
                print("crash    %s" % os.path.relpath(path, self.work))
            elif result.returncode != 0 or not os.path.exists(target):
                print("refused  %s %s" % (os.path.relpath(path, self.work),
                                          result.stderr.decode("utf-8", "replace").strip()))
            converted[path] = target if result and result.returncode == 0 else None
        return converted

    def score(self, title, pairs):
        """pairs: (name, ours, theirs) texts, None where one side has none."""
        matching = 0
        refused = 0
        for name, ours, theirs in pairs:
            if ours is None and theirs is None:
                refused += 1
                print("refused  %s (by both)" % name)
                continue
            if ours is None or theirs is None:
                print("no text  %s (%s)" % (name, "ours" if ours is None else "LibreOffice's"))
                continue
            ratio = RTF.similarity(comparable(ours, self.signs), comparable(theirs, self.signs))
            matching += ratio >= THRESHOLD
            if self.verbose or ratio < THRESHOLD:
                print("%.3f    %s" % (ratio, name))
        total = len(pairs) - refused
        print("%s: %d of %d files match (token similarity >= %.2f): %.1f%%; %d refused by both "
              "LibreOffice and us, not counted\n"
              % (title, matching, total, THRESHOLD, 100.0 * matching / max(total, 1), refused))

    def make_collection(self, extension):
        """The RTF collection in the format, as LibreOffice, pandoc and AbiWord write it."""
        sources = self.folder("sources")
        for path in self.rtfs:
            shutil.copy(path, os.path.join(sources, os.path.basename(path)))
        made = self.folder("made-" + extension)
        lo = self.folder("lo-" + extension)
        self.libreoffice([os.path.join(sources, os.path.basename(p)) for p in self.rtfs],
                         extension + ":" + LIBREOFFICE_FILTERS[extension], lo)
        for path in self.rtfs:
            name = stem(path) + "." + extension
            if os.path.exists(os.path.join(lo, name)):
                shutil.move(os.path.join(lo, name), os.path.join(made, "lo-" + name))
            run(["pandoc", "-f", "rtf", path, "-o", os.path.join(made, "pandoc-" + name)], 60)
            run(["abiword", "--to=" + extension, "-o", os.path.join(made, "abiword-" + name),
                 path], 60)
        # AbiWord leaves a hidden temporary file where it fails.
        return sorted(os.path.join(made, name) for name in os.listdir(made)
                      if not name.startswith(".") and os.path.getsize(os.path.join(made, name)))

    def check_read(self, extension):
        files = self.make_collection(extension)
        ours = self.quillmere_convert(files, "txt", "read-ours-" + extension)
        theirs = self.libreoffice_texts(files, "read-theirs-" + extension)
        self.score("read %s (%d by LibreOffice, %d by pandoc, %d by AbiWord)"
                   % (extension.upper(), *(sum(os.path.basename(f).startswith(p) for f in files)
                                           for p in ("lo-", "pandoc-", "abiword-"))),
                   [(os.path.basename(path), without_notes(read_text(ours[path])),
                     theirs[path]) for path in files])

    def rtf_texts(self):
        if not hasattr(self, "_rtf_texts"):
            self._rtf_texts = self.libreoffice_texts(self.rtfs, "rtf-theirs")
        return self._rtf_texts

    def check_write(self, extension):
        written = self.quillmere_convert(self.rtfs, extension, "written-" + extension)
        files = [path for path in written.values() if path]
        theirs = self.libreoffice_texts(files, "written-theirs-" + extension)
        pairs = [(os.path.relpath(path, ROOT), theirs.get(written[path]), self.rtf_texts()[path])
                 for path in self.rtfs]
        self.score("write %s: LibreOffice's text of it against LibreOffice's of the RTF"
                   % extension.upper(), pairs)
        # LibreOffice's reading of a file damaged on purpose is no measure of what we wrote.
        self.score("write %s: the same, files damaged on purpose (broken-*) left out"
                   % extension.upper(),
                   [pair for pair in pairs if not os.path.basename(pair[0]).startswith("broken-")])
        # Where LibreOffice reads an RTF file otherwise than we do, the first score blames the
        # writer for the reader; this one measures the writer alone.
        ours = self.quillmere_convert(self.rtfs, "txt", "rtf-ours")
        self.score("write %s: LibreOffice's text of it against our text of the RTF"
                   % extension.upper(),
                   [(os.path.relpath(path, ROOT), theirs.get(written[path]),
                     without_notes(read_text(ours[path]))) for path in self.rtfs])

    def check_markdown(self):
        written = self.quillmere_convert(self.rtfs, "md", "written-md")
        pairs = []
        for path in self.rtfs:
            text = None
            if written[path]:
                result = run(["pandoc", "-f", "gfm", "-t", "plain", "--wrap=none",
                              written[path]], 60)
                text = without_rules(without_notes(result.stdout.decode("utf-8", "replace"))) \
                    if result and result.returncode == 0 else None
            pairs.append((os.path.relpath(path, ROOT), text, self.rtf_texts()[path]))
        self.score("write Markdown, read by pandoc", pairs)
        self.score("write Markdown, read by pandoc: list markers as Markdown has them, files "
                   "damaged on purpose (broken-*) left out",
                   [(name, markers_alike(ours), markers_alike(theirs)) for name, ours, theirs
                    in pairs if not os.path.basename(name).startswith("broken-")])


def stem(path):
    return os.path.splitext(os.path.basename(path))[0]


def read_text(path):
    if not path or not os.path.exists(path):
        return None
    with open(path, encoding="utf-8", errors="replace") as f:
        return f.read().lstrip("\ufeff")


def comparable(text, signs):
    """A character that could not be read is U+FFFD on one side and "?" on the other, and an
    accented letter may be one character or a letter and a combining mark."""
    return unicodedata.normalize("NFC", text.replace("\ufffd", "?").translate(signs))


def without_notes(text):
    """The text before the notes section the readers add at the end: a line "Notes" followed by
    a note numbered 1, or the first of letters, roman numbers or symbols (endnotes, which count
    apart, may come first)."""
    if text is None:
        return None
    match = list(re.finditer(r"^Notes\n+(\S*1\b|[aAiI*][\t ])", text, re.MULTILINE))
    return text[:match[-1].start()] if match else text


def without_rules(text):
    """Pandoc's plain text without its table rules, and with the bullet LibreOffice writes."""
    if text is None:
        return None
    return re.sub(r"(?m)^(\s*)-   ", "\\1\u2022 ", re.sub(r"(?m)^[\s+|:=-]+$", "", text))


def markers_alike(text):
    """Markdown numbers every list 1, 2, 3 and has one bullet: the letters, roman numbers and
    bullets of each level LibreOffice writes count as those. Pandoc's plain text keeps the ~~
    around struck text."""
    if text is None:
        return None
    text = re.sub(r"(?m)^(\s*)(?:\d+|[a-zA-Z]|[ivxlcdm]+|[IVXLCDM]+)([.)])(?=\s)", "\\1#\\2", text)
    text = re.sub(r"(?m)^(\s*)[\u2022\u25e6\u25aa\u25ab\u2023\u2013](?=\s)", "\\1\u2022", text)
    return text.replace("~~", "")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--format", default="ODT", help="ODT or DOCX")
    parser.add_argument("--quillmere", default=os.path.join(ROOT, "build", "quillmere"))
    parser.add_argument("--keep", help="keep the files made in this folder")
    parser.add_argument("--verbose", action="store_true", help="print every file's similarity")
    parser.add_argument("checks", nargs="*", default=CHECKS, help=" ".join(CHECKS))
    args = parser.parse_args()
    if set(args.checks) - set(CHECKS):
        parser.error("the checks are " + ", ".join(CHECKS))
    extension = args.format.lower()
    if extension not in LIBREOFFICE_FILTERS:
        parser.error("--format takes " + ", ".join(e.upper() for e in LIBREOFFICE_FILTERS))
    work = args.keep or tempfile.mkdtemp(prefix="check-formats-")
    checker = Checker(args, work)
    try:
        for check in args.checks:
            if check == "markdown":
                checker.check_markdown()
            else:
                getattr(checker, "check_" + check)(extension)
    finally:
        if not args.keep:
            shutil.rmtree(work, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
