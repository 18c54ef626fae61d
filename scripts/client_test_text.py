#!/usr/bin/env python3
"""Checks that Writer shows every character of a marked-up source as itself.

Usage: client_test_text.py SOURCE WRITER_TEXT

SOURCE is an HTML, XHTML or SGML file as it was marked up; WRITER_TEXT the
text Writer read from its RTF (client_test_edit.py's NAME.text.txt, UTF-8).
The source is decoded by Python as its byte-order mark, XML declaration or
META charset says (else as UTF-8 when it is valid UTF-8, else Windows 1252),
the rule the mark-up follows. Both texts are compared with their entities
decoded (the mark-up decodes some and keeps the others as protected text),
blanks and line ends left out (lines join into paragraphs), and without the
byte-order mark (a protected run of its own). Exit status 0 when they are
the same, 1 otherwise, with the place where they part.
"""
import html
import sys

from client_test_check import declared_codec

BLANKS = str.maketrans("", "", " \t\r\n\ufeff")


def source_text(data):
    codec = declared_codec(data)
    if codec == "cp1252" and not data.startswith(b"\xef\xbb\xbf"):
        try:
            return data.decode("utf-8")
        except UnicodeDecodeError:
            pass
    return data.decode(codec, errors="replace")


def comparable(text):
    return html.unescape(text).translate(BLANKS)


def main():
    source_path, writer_path = sys.argv[1:3]
    source = comparable(source_text(open(source_path, "rb").read()))
    shown = comparable(open(writer_path, encoding="utf-8", errors="surrogatepass").read())
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
