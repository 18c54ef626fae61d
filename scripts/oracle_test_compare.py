#!/usr/bin/env python3
"""Compares the words of `tessel back html` outputs with LibreOffice's text
export of the same RTF files (see scripts/oracle-test).

Usage: oracle_test_compare.py OURS_DIR THEIRS_DIR KNOWN_LIST NAME.rtf...

OURS_DIR holds NAME.htm for each NAME.rtf the tool converted, THEIRS_DIR
NAME.txt for each file LibreOffice exported. KNOWN_LIST names the files whose
difference is known, one `NAME.rtf: reason` a line. Prints one line per file
that differs and is not listed, one per listed file that no longer differs,
and a summary; exits 1 when a file differs that is not listed.

The same normalisation on both sides, so that only the words are compared:
- Decoding: the HTML output is read in code page 1252 (the back conversion
  writes every other character as a character reference); the tag it writes
  for a line break (`<br>`) becomes a line end and character references are
  decoded. LibreOffice's export is UTF-8; its byte order mark is dropped.
- Characters: Unicode NFC; NUL, soft hyphen, zero-width space and joiners and
  byte order marks are dropped (they are no word's letters); every other kind
  of space (no-break, thin, ideographic, ...) and tabs are blanks.
- List labels: at the start of a line, a label (a bullet character, or a
  number, letter or roman numeral followed by `.` or `)`) is dropped:
  LibreOffice writes the label its numbering makes, the reader the label the
  file holds as text (`\\pntext`, `\\listtext`), in the font's own characters.
- Footnote marks: digits at the end of a word after a letter or punctuation
  are dropped: LibreOffice writes the footnote's number where its mark is,
  the reader leaves footnotes out.
- Words: the text is split at blanks and line ends; the word sequences must
  be equal.
"""
import codecs
import difflib
import html
import os
import re
import sys
import unicodedata

DROPPED = dict.fromkeys(map(ord, "\x00\u00ad\u200b\u200c\u200d\u2060\ufeff"))
BLANK_RE = re.compile(r"[\s\u00a0\u2000-\u200a\u202f\u205f\u3000]+")
LABEL_RE = re.compile(
    r"^[ \t]*(?:[\u2022\u25e6\u25aa\u25ab\u25a0\u25a1\u25cf\u25cb\u2023\u2043"
    r"\u2219\u00b7\u2013\u2014\u2012*\uf0b7\uf0a7\uf0d8\uf076\uf0fc\u00a7o-]"
    r"|\(?(?:[0-9]+|[A-Za-z]|[ivxlcdmIVXLCDM]+)[.)])(?=[ \t\u00a0]|$)",
    re.M,
)
FOOTNOTE_RE = re.compile(r"(?<=[^\W\d_]|[.,;:!?)\"'\u2019\u201d])[0-9]+$")
BR_RE = re.compile(r"<br\s*/?>", re.I)


def latin1_bytes(error):
    """Bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D have no character in 1252: kept
    as their Latin-1 selves so that no byte is lost from the comparison."""
    bad = error.object[error.start : error.end]
    return "".join(map(chr, bad)), error.end


codecs.register_error("latin1-bytes", latin1_bytes)


def read_ours(path):
    text = open(path, "rb").read().decode("cp1252", errors="latin1-bytes")
    return html.unescape(BR_RE.sub("\n", text))


def read_theirs(path):
    return open(path, "rb").read().decode("utf-8", errors="replace").lstrip("\ufeff")


def words(text):
    text = unicodedata.normalize("NFC", text).translate(DROPPED)
    text = text.replace("\r\n", "\n").replace("\r", "\n")
    text = LABEL_RE.sub("", text)
    out = []
    for word in BLANK_RE.split(text):
        word = FOOTNOTE_RE.sub("", word)
        if word:
            out.append(word)
    return out


def first_difference(ours, theirs):
    matcher = difflib.SequenceMatcher(None, ours, theirs, autojunk=False)
    for tag, i1, i2, j1, j2 in matcher.get_opcodes():
        if tag != "equal":
            a = " ".join(ours[i1 : min(i2, i1 + 6)]) or "(nothing)"
            b = " ".join(theirs[j1 : min(j2, j1 + 6)]) or "(nothing)"
            before = " ".join(ours[max(0, i1 - 3) : i1])
            return f"at word {i1 + 1} after '{before}': ours '{a}', LibreOffice '{b}'"
    return None


def read_known(path):
    known = {}
    if os.path.exists(path):
        for line in open(path, encoding="utf-8"):
            line = line.strip()
            if line and not line.startswith("#"):
                name, _, reason = line.partition(":")
                known[name.strip()] = reason.strip()
    return known


def compare(ours_dir, theirs_dir, name):
    """None when both read the file alike, else what differs."""
    stem = name[: -len(".rtf")]
    ours = os.path.join(ours_dir, stem + ".htm")
    theirs = os.path.join(theirs_dir, stem + ".txt")
    have_ours, have_theirs = os.path.exists(ours), os.path.exists(theirs)
    if not have_ours and not have_theirs:
        return None  # both refuse the file
    if not have_ours:
        return "the tool wrote no output, LibreOffice read it"
    if not have_theirs:
        return "LibreOffice could not load it, the tool wrote an output"
    return first_difference(words(read_ours(ours)), words(read_theirs(theirs)))


def main():
    ours_dir, theirs_dir, known_path, *names = sys.argv[1:]
    known = read_known(known_path)
    same = listed = failed = 0
    for name in names:
        difference = compare(ours_dir, theirs_dir, name)
        if difference is None:
            same += 1
            if name in known:
                print(f"oracle-test: {name}: listed as differing, but reads alike now")
                failed += 1
        elif name in known:
            listed += 1
        else:
            print(f"oracle-test: {name}: {difference}")
            failed += 1
    print(f"oracle-test: {len(names)} files, {same} alike, {listed} listed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
