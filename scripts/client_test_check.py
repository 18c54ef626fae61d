#!/usr/bin/env python3
"""Checks one back-conversion of a file edited in LibreOffice.

Usage: client_test_check.py FORMAT RESAVED_OUTPUT EDITED_OUTPUT TYPED [EDITED_LOG]

FORMAT is html, html-compatible, sgml, pagemaker, quark, ventura4 or text.
Both outputs are read as the format writes characters: HTML and SGML in the
encoding their byte-order mark or declaration names (Windows 1252 without
one), with entities and numeric references; Windows 1252 or, by the
header, Macintosh Roman with literal character tags "<\\#N>" (PageMaker,
QuarkXPress); Windows 1252 with "?" for what it cannot hold (Ventura 4 and
the text of Ventura 5 to 7). Going through the typed words in document
order, each must stand in the edited output where the original word stood
in the re-saved one, character by character. A character the format cannot
hold must be named in the error log. Exit status 0 when all holds, 1
otherwise.
"""
import html
import re
import sys


# Compatible HTML writes the 1252 punctuation as plain characters.
COMPATIBLE = str.maketrans({"\u201a": "'", "\u201e": '"', "\u2039": "<", "\u0152": "OE",
                            "\u2018": "'", "\u2019": "'", "\u201c": '"', "\u201d": '"',
                            "\u2022": "*", "\u2013": "-", "\u2014": "-", "\u203a": ">",
                            "\u0153": "oe"})
LITERAL_TAGS = ("pagemaker", "quark")
WITH_ENTITIES = ("html", "html-compatible", "sgml")


def macintosh(fmt, data):
    first = data.split(b"\r")[0].split(b"\n")[0].lower()
    if fmt == "pagemaker":
        return data.startswith(b"<PMTags") and b"mac>" in first
    return fmt == "quark" and b"<e0>" in first


# The codecs of the names a document declares, as the library reads them.
CODECS = {"utf-8": "utf-8", "utf8": "utf-8", "shift_jis": "cp932", "shift-jis": "cp932",
          "sjis": "cp932", "x-sjis": "cp932", "windows-31j": "cp932", "gb2312": "gbk",
          "gbk": "gbk", "euc-kr": "cp949", "ks_c_5601-1987": "cp949", "big5": "cp950",
          "tis-620": "cp874", "iso-8859-1": "cp1252", "latin1": "cp1252", "us-ascii": "cp1252",
          "iso-8859-6": "iso8859_6", "iso-8859-9": "cp1254", "latin5": "cp1254",
          "iso-8859-11": "cp874"}
DECLARATION = re.compile(rb"""(?:<\?xml[^>]*encoding|<meta[^>]*charset)\s*=\s*["']?([A-Za-z0-9_.:-]+)""",
                         re.IGNORECASE)


def unicode_quark(fmt, data):
    """A QuarkXPress file whose header declares Unicode (<e8>, <e9>) is UTF-8."""
    first = data.lstrip(b"\xef\xbb\xbf").split(b"\r")[0].split(b"\n")[0].lower()
    return fmt == "quark" and (b"<e8>" in first or b"<e9>" in first)


def declared_codec(data):
    """The codec of an HTML or SGML output: its mark, else its declaration."""
    for mark, codec in ((b"\xef\xbb\xbf", "utf-8-sig"), (b"\xff\xfe", "utf-16"),
                        (b"\xfe\xff", "utf-16")):
        if data.startswith(mark):
            return codec
    match = DECLARATION.search(data[:65536])
    if not match:
        return "cp1252"
    name = match.group(1).decode("ascii").lower()
    if name.startswith("windows-") or name.startswith("cp"):
        return "cp" + name.split("-")[-1].lstrip("cp")
    return CODECS.get(name, "cp1252")


def decode(fmt, data):
    if macintosh(fmt, data):
        # Literal character tags up to 255 are Macintosh bytes.
        text = data.decode("mac_roman").replace("\r", "\n")
        return re.sub(r"<\\#(\d+)>", lambda m: chr(int(m.group(1))) if int(m.group(1)) > 255
                      else bytes([int(m.group(1))]).decode("mac_roman"), text)
    if fmt in WITH_ENTITIES:
        codec = declared_codec(data)
        text = data.decode(codec, errors="surrogateescape").replace("\r\n", "\n")
        return html.unescape(text)
    codec = "utf-8-sig" if unicode_quark(fmt, data) else "cp1252"
    text = data.decode(codec, errors="surrogateescape").replace("\r\n", "\n")
    if fmt in LITERAL_TAGS:
        return re.sub(r"<\\#(\d+)>", lambda m: chr(int(m.group(1))), text)
    return text


def holds(fmt, c, codec="cp1252"):
    if fmt in WITH_ENTITIES or codec.startswith("utf"):
        return True
    try:
        c.encode("cp1252")
        return True
    except UnicodeEncodeError:
        return False


def as_written(fmt, word, codec="cp1252"):
    """The word as the output shows it once decoded."""
    if fmt == "html-compatible" and codec == "cp1252":
        return word.translate(COMPATIBLE)
    if fmt in LITERAL_TAGS:
        return word
    # Without a character escape the RTF's fallback is written: "?".
    return "".join(c if holds(fmt, c, codec) else "?" for c in word)


def main():
    fmt, resaved_path, edited_path, typed_path = sys.argv[1:5]
    log = open(sys.argv[5], encoding="cp1252", errors="replace").read() if len(sys.argv) > 5 else ""
    resaved = decode(fmt, open(resaved_path, "rb").read())
    edited_bytes = open(edited_path, "rb").read()
    edited = decode(fmt, edited_bytes)
    if fmt in WITH_ENTITIES:
        codec = declared_codec(edited_bytes)
    else:
        codec = "utf-8" if unicode_quark(fmt, edited_bytes) else "cp1252"
    typed = [line.rstrip("\n").split("\t") for line in open(typed_path, encoding="utf-8") if line.strip()]
    rebuilt = []
    at = 0
    for original, word in typed:
        written = as_written(fmt, word, codec)
        found = edited.find(written, at)
        if found < 0:
            print("%s: typed word %r not found in %s" % (fmt, written, edited_path))
            return 1
        rebuilt.append(edited[at:found])
        rebuilt.append(original)
        at = found + len(written)
        for c in word:
            if not holds(fmt, c, codec) and ("U+%04X" % ord(c)) not in log:
                print("%s: %r is not named in the log of %s" % (fmt, c, edited_path))
                return 1
    rebuilt.append(edited[at:])
    rebuilt = "".join(rebuilt)
    if rebuilt != resaved:
        for i, (a, b) in enumerate(zip(rebuilt, resaved)):
            if a != b:
                break
        else:
            i = min(len(rebuilt), len(resaved))
        print("%s: %s differs from %s at character %d: %r / %r" %
              (fmt, edited_path, resaved_path, i, rebuilt[i - 20:i + 20], resaved[i - 20:i + 20]))
        return 1
    print("%s: %s: %d typed words come back as typed" % (fmt, edited_path, len(typed)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
