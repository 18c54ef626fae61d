#!/usr/bin/env python3
"""Edits marked-up RTF files in LibreOffice Writer, as a translator would.

Usage: client_test_edit.py OUTDIR RTF...

For each RTF file: opens it in a headless Writer (through UNO), saves it
unchanged as OUTDIR/NAME.resaved.rtf, then replaces the first word of four
letters or more in every run of translatable text (not in the protected tag
styles) with a word in Polish, Russian, Greek or Japanese or a word in
typographic quotes, and saves OUTDIR/NAME.edited.rtf. The replacements, in
document order, go to OUTDIR/NAME.typed.txt as "original<TAB>typed" lines
(UTF-8).
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
    for _ in range(300):
        try:
            return resolver.resolve("uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe)
        except Exception:
            time.sleep(0.1)
    raise SystemExit("LibreOffice did not start")


def save(doc, path):
    doc.storeToURL(uno.systemPathToFileUrl(os.path.abspath(path)),
                   (prop("FilterName", "Rich Text Format"),))


def edit(doc):
    typed = []
    counter = 0
    paragraphs = doc.getText().createEnumeration()
    while paragraphs.hasMoreElements():
        paragraph = paragraphs.nextElement()
        if not paragraph.supportsService("com.sun.star.text.Paragraph"):
            continue
        portions = paragraph.createEnumeration()
        while portions.hasMoreElements():
            portion = portions.nextElement()
            if portion.TextPortionType != "Text" or portion.CharStyleName in PROTECTED:
                continue
            text = portion.getString()
            match = WORD.search(text)
            if not match:
                continue
            word = WORDS[counter % len(WORDS)]
            counter += 1
            portion.setString(text[:match.start()] + word + text[match.end():])
            typed.append((match.group(0), word))
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
