#!/usr/bin/env python3
"""XLIFF 1.2 of every example and corpus file through OmegaT and back.

Usage: xliff_client_check.py TESSEL CORPUS WORK

Extracts each file into an OmegaT project, translates every segment from a
translation memory made of OmegaT's own segments (ASCII letters upper-cased,
placeholders kept), lets OmegaT write the translated XLIFF, merges it back
and extracts the merged file again: its units must be the original units
with their text upper-cased and every tag as it was. Translate Toolkit's
pocount and xliff2po must count the units of each XLIFF as we do.
"""
import glob
import os
import re
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ET

TESSEL, CORPUS, WORK = sys.argv[1], sys.argv[2], os.path.abspath(sys.argv[3])
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
EXAMPLES = os.path.join(ROOT, "examples")
XLIFF = "{urn:oasis:names:tc:xliff:document:1.2}"
MERGED_EXTENSION = {"html": ".htm", "sgml": ".sgm", "quark": ".xtg"}
# OmegaT's placeholders, and text that looks like a tag (a file without its
# header, whose tags the mark-up takes for text), are not translated.
PLACEHOLDER = re.compile(r"<[^<>]*>")
failures = []


def fail(message):
    failures.append(message)
    print("FAIL " + message)


def run(args, expect=(0,)):
    done = subprocess.run(args, capture_output=True, text=True)
    if done.returncode not in expect:
        fail("%s exited %d:\n%s%s" % (" ".join(args), done.returncode, done.stdout, done.stderr))
    return done


def inputs():
    """(format, path) of every file, the SGML ones with their tag file."""
    found = [("html", p) for p in sorted(glob.glob(EXAMPLES + "/html/*.htm") + glob.glob(EXAMPLES + "/html/*.asp"))]
    found.append(("sgml", EXAMPLES + "/sgml/guide.sgml"))
    found += [("pagemaker", p) for p in sorted(glob.glob(EXAMPLES + "/pagemaker/*.txt"))]
    found += [("quark", p) for p in sorted(glob.glob(EXAMPLES + "/quark/*.xtg"))]
    found.append(("ventura4", EXAMPLES + "/ventura/ventura4_sample.txt"))
    found.append(("ventura", EXAMPLES + "/ventura/ventura5_sample.txt"))
    if os.path.isdir(CORPUS):
        for folder, fmt in (("html", "html"), ("encodings/html", "html"), ("pagemaker", "pagemaker"),
                            ("quark", "quark"), ("sgml", "sgml")):
            found += [(fmt, p) for p in sorted(glob.glob(os.path.join(CORPUS, folder, "*")))]
    return found


def upper(text):
    """ASCII letters upper-cased, what PLACEHOLDER matches kept."""
    out, at = [], 0
    for match in PLACEHOLDER.finditer(text):
        out.append(re.sub(r"[a-z]+", lambda m: m.group(0).upper(), text[at:match.start()]))
        out.append(match.group(0))
        at = match.end()
    out.append(re.sub(r"[a-z]+", lambda m: m.group(0).upper(), text[at:]))
    return "".join(out)


def units(xlf, translated=False):
    """Unit id to its source: text (upper-cased when `translated`) and codes."""
    result = {}
    for unit in ET.parse(xlf).getroot().iter(XLIFF + "trans-unit"):
        source = unit.find(XLIFF + "source")
        parts = [upper(source.text or "") if translated else (source.text or "")]
        for code in source:
            parts.append("{%s %s %s}" % (code.tag.replace(XLIFF, ""), code.get("id"), "".join(code.itertext())))
            parts.append(upper(code.tail or "") if translated else (code.tail or ""))
        result[unit.get("id")] = "".join(parts)
    return result


def findings(log):
    """The kinds of the translation check's messages in a merge's log, with
    their paragraphs (the untranslated units' count left out)."""
    if not os.path.exists(log):
        return []
    with open(log, encoding="utf-8", errors="replace") as text:
        messages = re.findall(r"^\[\d+\] (.*? in paragraph \d+)", text.read(), re.M)
    return sorted(messages)


def write_project(project):
    for folder in ("source", "target", "tm", "glossary", "dictionary", "omegat"):
        os.makedirs(os.path.join(project, folder), exist_ok=True)
    with open(os.path.join(project, "omegat.project"), "w", encoding="utf-8") as out:
        out.write("""<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<omegat>
  <project version="1.0">
    <source_dir>__DEFAULT__</source_dir>
    <source_dir_excludes/>
    <target_dir>__DEFAULT__</target_dir>
    <tm_dir>__DEFAULT__</tm_dir>
    <glossary_dir>__DEFAULT__</glossary_dir>
    <glossary_file>__DEFAULT__</glossary_file>
    <dictionary_dir>__DEFAULT__</dictionary_dir>
    <source_lang>EN-US</source_lang>
    <target_lang>DE-DE</target_lang>
    <source_tok>org.omegat.tokenizer.LuceneEnglishTokenizer</source_tok>
    <target_tok>org.omegat.tokenizer.LuceneGermanTokenizer</target_tok>
    <sentence_seg>false</sentence_seg>
    <support_default_translations>true</support_default_translations>
    <remove_tags>false</remove_tags>
  </project>
</omegat>
""")


def omegat(project, *mode):
    env = dict(os.environ, HOME=os.path.join(WORK, "home"))
    done = subprocess.run(["omegat", project] + list(mode), capture_output=True, text=True, env=env,
                          timeout=600)
    if done.returncode != 0 or "Finished" not in done.stdout + done.stderr:
        fail("omegat %s exited %d:\n%s" % (" ".join(mode), done.returncode, (done.stdout + done.stderr)[-2000:]))


def write_memory(pseudo, memory):
    """A TMX translating every segment of OmegaT's pseudo-translation memory."""
    root = ET.parse(pseudo).getroot()
    tmx = ET.Element("tmx", version="1.4")
    ET.SubElement(tmx, "header", creationtool="tessel-client-test", creationtoolversion="1",
                  segtype="paragraph", adminlang="EN-US", srclang="EN-US", datatype="plaintext",
                  **{"o-tmf": "OmegaT TMX"})
    body = ET.SubElement(tmx, "body")
    count = 0
    for tu in root.iter("tu"):
        segs = [tuv.find("seg") for tuv in tu.findall("tuv")]
        if not segs or segs[0] is None:
            continue
        source = "".join(segs[0].itertext())
        unit = ET.SubElement(body, "tu")
        for lang, text in (("EN-US", source), ("DE-DE", upper(source))):
            tuv = ET.SubElement(unit, "tuv", **{"xml:lang": lang})
            ET.SubElement(tuv, "seg").text = text
        count += 1
    ET.ElementTree(tmx).write(memory, encoding="utf-8", xml_declaration=True)
    return count


def main():
    shutil.rmtree(WORK, ignore_errors=True)
    project = os.path.join(WORK, "project")
    write_project(project)
    files = []  # (format, original copy, xlf, tag file)
    for index, (fmt, path) in enumerate(inputs()):
        folder = os.path.join(WORK, "originals", "%02d" % index)
        os.makedirs(folder)
        original = os.path.join(folder, os.path.basename(path))
        shutil.copyfile(path, original)
        tag_args = []
        if fmt == "sgml":
            tags = os.path.join(folder, "tags", "tags.txt")
            os.makedirs(os.path.dirname(tags))
            if path.startswith(EXAMPLES):
                shutil.copyfile(EXAMPLES + "/sgml/tags.txt", tags)
            else:
                run([TESSEL, "sgml", "collect-tags", "-q", "--tag-file", tags, original], expect=(0, 1, 3))
                if not os.path.exists(tags):
                    print("xliff-client-test: %s has no SGML tags, so nothing to extract" % path)
                    continue
            tag_args = ["--tag-file", tags]
        source = os.path.join(project, "source", "%02d" % index)
        run([TESSEL, "extract", fmt, "-q", "--source-lang", "en-US", "--target-lang", "de-DE", "-o", source]
            + tag_args + [original], expect=(0, 3))
        xlf = os.path.join(source, os.path.splitext(os.path.basename(path))[0] + ".xlf")
        for log in glob.glob(os.path.join(source, "*.err")):
            os.remove(log)
        if not os.path.exists(xlf):
            fail("no XLIFF for " + path)
            continue
        files.append((fmt, original, xlf, tag_args))

    # Translate Toolkit reads every unit.
    for fmt, original, xlf, _ in files:
        count = len(units(xlf))
        csv = run(["pocount", "--csv", xlf]).stdout.strip().splitlines()
        total = int(csv[-1].split(",")[8]) if len(csv) > 1 else -1
        if total != count:
            fail("pocount counts %d units in %s, the XLIFF has %d" % (total, xlf, count))
        po = xlf[:-4] + ".po"
        run(["xliff2po", "--progress=none", xlf, po])
        with open(po, encoding="utf-8") as text:
            entries = sum(1 for line in text if line.startswith("msgid "))
        os.remove(po)
        if entries - 1 != count:
            fail("xliff2po wrote %d entries for %s, the XLIFF has %d units" % (entries - 1, xlf, count))

    # The findings of each file merged untranslated, from the XLIFF as extracted.
    baseline = {}
    for fmt, original, xlf, tag_args in files:
        folder = os.path.join(os.path.dirname(original), "untranslated")
        os.makedirs(folder)
        copy = os.path.join(folder, os.path.basename(xlf))
        shutil.copyfile(xlf, copy)
        shutil.copyfile(original, os.path.join(folder, os.path.basename(original)))
        run([TESSEL, "merge", fmt, "-q", "-o", os.path.join(folder, "merged")] + tag_args + [copy], expect=(0, 3))
        stem = os.path.splitext(os.path.basename(original))[0]
        baseline[original] = findings(os.path.join(folder, "merged", stem + ".err"))

    pseudo = os.path.join(WORK, "pseudo.tmx")
    omegat(project, "--mode=console-createpseudotranslatetmx", "--pseudotranslatetmx=" + pseudo,
           "--pseudotranslatetype=equal")
    # Memories in tm/auto are taken as translations, not only as matches.
    os.makedirs(os.path.join(project, "tm", "auto"), exist_ok=True)
    segments = write_memory(pseudo, os.path.join(project, "tm", "auto", "translations.tmx"))
    omegat(project, "--mode=console-translate")

    merged_units = 0
    for fmt, original, xlf, tag_args in files:
        name = os.path.relpath(xlf, os.path.join(project, "source"))
        translated = os.path.join(project, "target", name)
        if not os.path.exists(translated):
            fail("OmegaT wrote no " + translated)
            continue
        # The translated XLIFF goes back beside its original.
        beside = os.path.join(os.path.dirname(original), os.path.basename(xlf))
        shutil.copyfile(translated, beside)
        out = os.path.join(os.path.dirname(original), "merged")
        done = run([TESSEL, "merge", fmt, "-q", "-o", out] + tag_args + [beside], expect=(0, 3))
        stem = os.path.splitext(os.path.basename(original))[0]
        expected = units(xlf, translated=True)
        # Units whose translation is their source (no lower-case letter to
        # change) are reported as untranslated, and nothing else may be.
        same = sum(1 for unit, text in units(xlf).items() if expected[unit] == text)
        counted = re.search(r"^(\d+) of \d+ translation units had no translation", done.stdout, re.M)
        if (int(counted.group(1)) if counted else 0) != same:
            fail("%s: %s units reported untranslated, %d are the same as their source:\n%s" % (
                original, counted.group(1) if counted else "no", same, done.stdout))
        # The translation check finds nothing the untranslated merge of the
        # same file does not find (findings of the source's own text).
        found = findings(os.path.join(out, stem + ".err"))
        if found != baseline[original]:
            fail("%s: the merge's findings are not those of the untranslated file:\n%s\nagainst\n%s" % (
                original, found, baseline[original]))
        merged = os.path.join(out, stem + MERGED_EXTENSION.get(fmt, ".txt"))
        if not os.path.exists(merged):
            fail("no merged file for " + original)
            continue
        again = os.path.join(os.path.dirname(original), "again")
        os.makedirs(again)
        copy = os.path.join(again, os.path.basename(original))
        shutil.copyfile(merged, copy)
        run([TESSEL, "extract", fmt, "-q"] + tag_args + [copy], expect=(0, 3))
        got = units(os.path.join(again, stem + ".xlf"))
        if got != expected:
            wrong = [i for i in expected if got.get(i) != expected[i]][:3]
            fail("%s: merged units differ from the translation: %s" % (
                original, "; ".join("%s: %r != %r" % (i, got.get(i), expected[i]) for i in wrong)))
        merged_units += len(expected)
    print("xliff-client-test: %d files, %d OmegaT segments translated, %d units merged back, %d failures"
          % (len(files), segments, merged_units, len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
