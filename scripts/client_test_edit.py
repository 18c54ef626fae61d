#!/usr/bin/env python3
"""Edits marked-up RTF files in LibreOffice Writer, as a translator would.

Usage: client_test_edit.py OUTDIR RTF...

For each RTF file: opens it in a headless Writer (through UNO), saves it
unchanged as OUTDIR/NAME.resaved.rtf, then replaces the first word of four
letters or more in every run of translatable text (not in the protected tag
styles) with a word in Polish, Russian, Greek or Japanese or a word in
typographic quotes, typed inside the word so that it keeps the text's own
style, and saves OUTDIR/NAME.edited.rtf. The replacements, in
document order, go to OUTDIR/NAME.typed.txt as "original<TAB>typed" lines
(UTF-8); the text Writer read from the RTF, before the edit, goes to
OUTDIR/NAME.text.txt (UTF-8, paragraphs on lines of their own).
"""
import os
import re
import subprocess
import sys
import tempfile
import time

import uno
from com.sun.star.beans import PropertyValue

PROTECTED = {"qz4lexInternal", "qz4lexExternal", "DO_NOT_TRANSLATE"}
WORDS = ["Łódź", "Привет", "Καλημέρα", "日本語", "\u201eżółw\u201c", "\u201cquoted\u201d",
         "Żółć", "Ελλάδα", "Москва", "東京"]
WORD = re.compile(r"[A-Za-z]{4,}")


def prop(name, value):
    p = PropertyValue()
    p.Name = name
    p.Value = value
    return p


def connect(pipe):
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext(
        "com.sun.star.bridge.UnoUrlResolver", local)
    # The first start creates the profile: over a minute on a busy machine.
    for _ in range(1800):
        try:
            return resolver.resolve("uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe)
        except Exception:
            time.sleep(0.1)
    raise SystemExit("LibreOffice did not start")


def save(doc, path):
    doc.storeToURL(uno.systemPathToFileUrl(os.path.abspath(path)),
                   (prop("FilterName", "Rich Text Format"),))


def units(text):
    """The length of `text` in Writer's characters (UTF-16 code units)."""
    return len(text.encode("utf-16-le")) // 2


def replace_word(paragraph, offset, length, word):
    """Types `word` over the `length` characters at `offset` of the paragraph
    as a translator does: the new text goes in after the word's first
    character, so that it takes that character's (the text's own) style and
    not the style of a protected run next to the word, and then the old
    characters are deleted. (Setting a portion's string instead puts the new
    text into the style at the portion's start, which is the tag run before
    it.)"""
    text = paragraph.getText()
    cursor = text.createTextCursorByRange(paragraph.getStart())
    cursor.goRight(offset + 1, False)
    text.insertString(cursor, word, False)  # the cursor stands after it
    cursor.goRight(length - 1, True)
    cursor.setString("")
    cursor.goLeft(units(word) + 1, False)
    cursor.goRight(1, True)
    cursor.setString("")


def edit(doc):
    typed = []
    counter = 0
    paragraphs = doc.getText().createEnumeration()
    while paragraphs.hasMoreElements():
        paragraph = paragraphs.nextElement()
        if not paragraph.supportsService("com.sun.star.text.Paragraph"):
            continue
        # The words to replace, by their offset in the paragraph, then
        # replaced from the last so that the offsets before stay valid.
        edits = []
        offset = 0
        portions = paragraph.createEnumeration()
        while portions.hasMoreElements():
            portion = portions.nextElement()
            text = portion.getString()
            if portion.TextPortionType == "Text" and portion.CharStyleName not in PROTECTED:
                match = WORD.search(text)
                if match:
                    word = WORDS[counter % len(WORDS)]
                    counter += 1
                    edits.append((offset + units(text[:match.start()]), len(match.group(0)), word))
                    typed.append((match.group(0), word))
            offset += units(text)
        for at, length, word in reversed(edits):
            replace_word(paragraph, at, length, word)
    return typed


def main():
    outdir = sys.argv[1]
    profile = tempfile.mkdtemp(prefix="tessel-lo-")
    pipe = "tessel%d" % os.getpid()
    office = subprocess.Popen(
        ["soffice", "-env:UserInstallation=" + uno.systemPathToFileUrl(profile), "--headless",
         "--invisible", "--norestore", "--nologo", "--accept=pipe,name=%s;urp;" % pipe],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        ctx = connect(pipe)
        desktop = ctx.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", ctx)
        for rtf in sys.argv[2:]:
            name = os.path.splitext(os.path.basename(rtf))[0]
            doc = desktop.loadComponentFromURL(uno.systemPathToFileUrl(os.path.abspath(rtf)),
                                               "_blank", 0, (prop("Hidden", True),))
            save(doc, os.path.join(outdir, name + ".resaved.rtf"))
            with open(os.path.join(outdir, name + ".text.txt"), "w", encoding="utf-8",
                      errors="surrogatepass") as out:
                out.write(doc.getText().getString())
            typed = edit(doc)
            save(doc, os.path.join(outdir, name + ".edited.rtf"))
            doc.close(True)
            with open(os.path.join(outdir, name + ".typed.txt"), "w", encoding="utf-8") as out:
                for original, word in typed:
                    out.write("%s\t%s\n" % (original, word))
        try:
            desktop.terminate()
        except Exception:
            pass
    finally:
        try:
            office.wait(timeout=30)
        except subprocess.TimeoutExpired:
            office.kill()
        subprocess.run(["rm", "-rf", profile])


if __name__ == "__main__":
    main()
