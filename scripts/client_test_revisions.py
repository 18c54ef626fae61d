#!/usr/bin/env python3
"""Reviews marked-up RTF files in LibreOffice Writer with changes tracked,
as a translator's reviewer would, and saves what Writer writes.

Usage: client_test_revisions.py OUTDIR RTF...

For each RTF file NAME.rtf (through UNO, in a headless Writer):
- NAME.tracked.rtf: with change tracking on, in the translatable text (not
  in the protected tag styles) of several paragraphs, words are replaced by
  new ones (typed inside the old word, so that they keep its style, and the
  old letters deleted), a sentence (or, where a paragraph has none, a run of
  words) is deleted and words are inserted;
- NAME.resaved.rtf: the file as it was, saved again;
- NAME.comment.rtf: the file as it was, with a comment on one word;
- NAME.docx.rtf: NAME.tracked.rtf's document saved as Word 2007 XML
  (NAME.tracked.docx), opened again and saved as RTF.
NAME.expect.txt lists, one a line, what the back-conversion of each must show
with every change accepted: "FILE<TAB>present<TAB>TEXT" for inserted text,
"FILE<TAB>absent<TAB>TEXT" for deleted text and the comment's text, and
"FILE<TAB>message<TAB>CODE" for the log message the file must cause, and
"FILE<TAB>same<TAB>OTHER" where the output must be OTHER's (the comment
left out, the document is the one saved without it). Only
ASCII words that stand once in the document are deleted, so that their
absence says they were left out.
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
AUTHOR = ("Tess", "Reviewer")
# New words: ASCII, so that every format writes them as they are, and of a
# form no document holds.
INSERTED = ["Revisedalpha", "Revisedbravo", "Revisedcharlie", "Reviseddelta", "Revisedecho"]
ADDED = "Addedwords here "
COMMENT = "Reviewer note: check this term"
WORD = re.compile(r"[A-Za-z]{4,}")
SENTENCE = re.compile(r"[A-Z][A-Za-z ,]{8,}?[.!?] ")
PHRASE = re.compile(r"[A-Za-z]{3,}(?: [A-Za-z]{3,}){2}")
RTF = (("FilterName", "Rich Text Format"),)
DOCX = (("FilterName", "MS Word 2007 XML"),)
FODT = (("FilterName", "OpenDocument Text Flat XML"),)


class TooLittleText(Exception):
    """The document has not enough text of the kind an edit needs."""


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


def set_author(ctx):
    """Changes and comments carry the profile's user name."""
    provider = ctx.ServiceManager.createInstanceWithContext(
        "com.sun.star.configuration.ConfigurationProvider", ctx)
    access = provider.createInstanceWithArguments(
        "com.sun.star.configuration.ConfigurationUpdateAccess",
        (prop("nodepath", "/org.openoffice.UserProfile/Data"),))
    access.setPropertyValue("givenname", AUTHOR[0])
    access.setPropertyValue("sn", AUTHOR[1])
    access.commitChanges()


def url(path):
    return uno.systemPathToFileUrl(os.path.abspath(path))


def load(desktop, path):
    return desktop.loadComponentFromURL(url(path), "_blank", 0, (prop("Hidden", True),))


def store(doc, path, options):
    doc.storeToURL(url(path), tuple(prop(name, value) for name, value in options))


def units(text):
    """The length of `text` in Writer's characters (UTF-16 code units)."""
    return len(text.encode("utf-16-le")) // 2


def paragraphs(doc):
    found = doc.getText().createEnumeration()
    while found.hasMoreElements():
        paragraph = found.nextElement()
        if paragraph.supportsService("com.sun.star.text.Paragraph"):
            yield paragraph


def text_portions(paragraph):
    """(offset in the paragraph, text) of each portion of translatable text."""
    offset = 0
    portions = paragraph.createEnumeration()
    while portions.hasMoreElements():
        portion = portions.nextElement()
        text = portion.getString()
        if portion.TextPortionType == "Text" and portion.CharStyleName not in PROTECTED:
            yield offset, text
        offset += units(text)


def cursor_at(paragraph, offset):
    text = paragraph.getText()
    cursor = text.createTextCursorByRange(paragraph.getStart())
    cursor.goRight(offset, False)
    return text, cursor


def replace_word(paragraph, offset, length, word):
    """Types `word` after the first letter of the old word, so that it takes
    the text's style, then deletes the old letters (as client_test_edit.py).
    Each step starts from the paragraph's start: text deleted with changes
    tracked stays in the document, marked deleted."""
    insert_at(paragraph, offset + 1, word)
    delete_range(paragraph, offset + 1 + units(word), length - 1)
    delete_range(paragraph, offset, 1)


def delete_range(paragraph, offset, length):
    _, cursor = cursor_at(paragraph, offset)
    cursor.goRight(length, True)
    cursor.setString("")


def insert_at(paragraph, offset, words):
    text, cursor = cursor_at(paragraph, offset)
    text.insertString(cursor, words, False)


def ascii_once(whole, text):
    return text.isascii() and whole.count(text) == 1


def review(doc, whole):
    """Edits with changes tracked; returns (present, absent) texts."""
    doc.setPropertyValue("RecordChanges", True)
    present, absent = [], []
    replaced = deleted = inserted = 0
    for paragraph in list(paragraphs(doc)):
        edits = []  # (offset, kind, length, text), done from the last
        for offset, text in text_portions(paragraph):
            if deleted < 2 and not any(kind == "delete" for _, kind, _, _ in edits):
                match = SENTENCE.search(text) or PHRASE.search(text)
                if match and ascii_once(whole, match.group(0).strip()):
                    edits.append((offset + units(text[:match.start()]), "delete",
                                  units(match.group(0)), match.group(0)))
                    absent.append(match.group(0).strip())
                    deleted += 1
                    continue
            if replaced < len(INSERTED):
                for match in WORD.finditer(text):
                    if ascii_once(whole, match.group(0)):
                        word = INSERTED[replaced]
                        replaced += 1
                        edits.append((offset + units(text[:match.start()]), "replace",
                                      len(match.group(0)), word))
                        present.append(word)
                        absent.append(match.group(0))
                        break
                else:
                    continue
                continue
            space = text.find(" ", 1)
            if inserted < 2 and space > 0:
                edits.append((offset + units(text[:space + 1]), "insert", 0, ADDED))
                present.append(ADDED.strip())
                inserted += 1
        for offset, kind, length, text in sorted(edits, reverse=True):
            if kind == "replace":
                replace_word(paragraph, offset, length, text)
            elif kind == "delete":
                delete_range(paragraph, offset, length)
            else:
                insert_at(paragraph, offset, text)
    if not (replaced and deleted and inserted):
        raise TooLittleText("%d replaced, %d deleted, %d inserted" % (replaced, deleted, inserted))
    # Inserted text stands once, however often it was typed.
    return sorted(set(present)), absent


def comment_word(doc, whole):
    """The first translatable word that stands once in the document."""
    for paragraph in paragraphs(doc):
        for _, text in text_portions(paragraph):
            for match in WORD.finditer(text):
                if ascii_once(whole, match.group(0)):
                    return match.group(0)
    raise TooLittleText("no word to comment on")


def add_comment(fodt, word):
    """Writes a comment over `word` into the flat ODF document `fodt`.

    Writer 7.4 ends its UNO connection when it stores a document that holds
    a comment made or loaded through UNO, so the comment goes into the flat
    XML that Writer saved, and Writer's own converter writes the RTF."""
    with open(fodt, encoding="utf-8") as f:
        xml = f.read()
    # The word in text content: after a tag's end, before the next tag.
    found = [m for m in re.finditer(r">([^<]*)<", xml) if re.search(r"\b%s\b" % word, m.group(1))]
    if len(found) != 1:
        raise TooLittleText("%s does not stand once in the saved document" % word)
    start = found[0].start(1) + re.search(r"\b%s\b" % word, found[0].group(1)).start()
    annotation = ('<office:annotation office:name="tessel1"><dc:creator>%s</dc:creator>'
                  "<dc:date>2026-12-11T09:30:00</dc:date><text:p>%s</text:p></office:annotation>"
                  % (" ".join(AUTHOR), COMMENT))
    end = start + len(word)
    xml = xml[:start] + annotation + word + '<office:annotation-end office:name="tessel1"/>' + xml[end:]
    with open(fodt, "w", encoding="utf-8") as f:
        f.write(xml)


def convert_to_rtf(fodts, outdir):
    """Writer's own converter, in a process and profile of its own."""
    profile = tempfile.mkdtemp(prefix="tessel-lo-")
    try:
        for fodt in fodts:
            subprocess.run(
                ["soffice", "-env:UserInstallation=" + uno.systemPathToFileUrl(profile),
                 "--headless", "--norestore", "--convert-to", "rtf:Rich Text Format",
                 "--outdir", outdir, fodt],
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=300, check=True)
    finally:
        subprocess.run(["rm", "-rf", profile])


def main():
    outdir = sys.argv[1]
    profile = tempfile.mkdtemp(prefix="tessel-lo-")
    pipe = "tesselrev%d" % os.getpid()
    office = subprocess.Popen(
        ["soffice", "-env:UserInstallation=" + uno.systemPathToFileUrl(profile), "--headless",
         "--invisible", "--norestore", "--nologo", "--accept=pipe,name=%s;urp;" % pipe],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        ctx = connect(pipe)
        set_author(ctx)
        desktop = ctx.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", ctx)
        commented = []
        for rtf in sys.argv[2:]:
            name = os.path.splitext(os.path.basename(rtf))[0]
            out = lambda suffix: os.path.join(outdir, name + suffix)
            expect = []

            doc = load(desktop, rtf)
            whole = doc.getText().getString()
            try:
                present, absent = review(doc, whole)
            except TooLittleText as error:
                print("client_test_revisions: %s not reviewed: %s" % (name, error), file=sys.stderr)
                doc.close(True)
                continue
            store(doc, out(".tracked.rtf"), RTF)
            store(doc, out(".tracked.docx"), DOCX)
            doc.close(True)
            for fixture in (".tracked.rtf", ".docx.rtf"):
                expect += [(name + fixture, "present", text) for text in present]
                expect += [(name + fixture, "absent", text) for text in absent]
                expect.append((name + fixture, "message", "-413"))

            doc = load(desktop, out(".tracked.docx"))
            if not doc.getRedlines().createEnumeration().hasMoreElements():
                raise SystemExit("%s: the changes did not survive Word 2007 XML" % name)
            store(doc, out(".docx.rtf"), RTF)
            doc.close(True)

            doc = load(desktop, rtf)
            store(doc, out(".resaved.rtf"), RTF)
            word = comment_word(doc, whole)
            store(doc, out(".comment.fodt"), FODT)
            doc.close(True)
            add_comment(out(".comment.fodt"), word)
            commented.append(out(".comment.fodt"))
            expect += [(name + ".comment.rtf", "present", word),
                       (name + ".comment.rtf", "absent", COMMENT),
                       (name + ".comment.rtf", "message", "-414"),
                       (name + ".comment.rtf", "same", name + ".resaved.rtf")]

            with open(out(".expect.txt"), "w", encoding="utf-8", newline="\n") as lines:
                for row in expect:
                    lines.write("\t".join(row) + "\n")
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
    convert_to_rtf(commented, outdir)


if __name__ == "__main__":
    main()
