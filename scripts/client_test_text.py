#!/usr/bin/env python3
"""Checks that Writer shows every character of a marked-up source as itself.

Usage: client_test_text.py SOURCE WRITER_TEXT

SOURCE is an HTML, XHTML or SGML file as it was marked up; WRITER_TEXT the
text Writer read from its RTF (client_test_edit.py's NAME.text.txt, UTF-8).
The source is decoded by Python as its byte-order mark, XML declaration or
META charset says (else as UTF-8 when it is valid UTF-8, else Windows 1252),
the rule the mark-up follows. Both texts are compared with their entities
decoded (the mark-up decodes some and keeps the others as protected text),
blanks and line ends left out (lines join into paragraphs), without the
byte-order mark (a protected run of its own: U+FEFF, or for UTF-16 the kept
bytes of the mark) and without the six-per-em spaces that stand for leading
blanks inside a protected run. Exit status 0 when they are
the same, 1 otherwise, with the place where they part.
"""
import codecs
import html
import sys

from client_test_check import declared_codec

# Blanks, the mark, and the six-per-em spaces the mark-up writes for the
# leading blanks of lines it keeps in one run (comments, scripts).
BLANKS = str.maketrans("", "", " \t\r\n\ufeff\u2006")


# A byte without a character in its code page shows in Writer, and travels
# through the RTF, as the private-use character U+F000 + byte.
codecs.register_error("kept_byte", lambda e: (
    "".join(chr(0xF000 + b) for b in e.object[e.start:e.end]), e.end))
# What Writer shows of a UTF-16 mark: its kept bytes.
UTF16_MARKS = ("\uf0ff\uf0fe", "\uf0fe\uf0ff")


def source_text(data):
    codec = declared_codec(data)
    if codec == "cp1252" and not data.startswith(b"\xef\xbb\xbf"):
        try:
            return data.decode("utf-8")
        except UnicodeDecodeError:
            pass
    return data.decode(codec, errors="kept_byte")


def comparable(text):
    # Bytes without a character are private-use characters on both sides,
    # though not the same ones: Writer reads the undefined bytes of Windows
    # 1252 in the RTF as U+F100 + byte.
    text = html.unescape(text).translate(BLANKS)
    return "".join("\ufffd" if 0xF000 <= ord(c) <= 0xF1FF else c for c in text)


def main():
    source_path, writer_path = sys.argv[1:3]
    source = comparable(source_text(open(source_path, "rb").read()))
    shown = open(writer_path, encoding="utf-8", errors="surrogatepass").read()
    for mark in UTF16_MARKS:
        if shown.startswith(mark):
            shown = shown[len(mark):]
    shown = comparable(shown)
    if source == shown:
        print("text: %s: all %d characters show as themselves" % (source_path, len(source)))
        return 0
    i = next((i for i, (a, b) in enumerate(zip(source, shown)) if a != b),
             min(len(source), len(shown)))
    print("text: %s: Writer shows %r where the source has %r (character %d)" %
          (source_path, shown[max(0, i - 15):i + 15], source[max(0, i - 15):i + 15], i))
    return 1


if __name__ == "__main__":
    sys.exit(main())
