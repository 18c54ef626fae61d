#!/usr/bin/env python3
"""Checks the back-conversions of files reviewed in LibreOffice with changes
tracked and comments (client_test_revisions.py).

Usage: client_test_revisions_check.py TESSEL EXPECT_FILE

Each RTF file that EXPECT_FILE names (beside it) is converted back with
TESSEL's back-conversion of its format (by the name's prefix) in a folder of
its own; the output must hold each "present" text and no "absent" one, the
log must hold the message of each "message" code once and the job must end
with the warning status (3), and a "same" file's output must equal the
other's. Texts are ASCII, so they are looked for in the bytes as written.
Exit status 0 when all holds, 1 otherwise.
"""
import os
import shutil
import subprocess
import sys
import tempfile

COMMANDS = {"html": "html", "sgml": "sgml", "pagemaker": "pagemaker", "quark": "quark",
            "ventura4": "ventura4", "ventura": "text"}
MESSAGES = {"-413": b"The RTF file holds tracked changes. They have been accepted",
            "-414": b"The RTF file holds comments. They have been left out"}
WARNING_STATUS = 3


def back(tessel, rtf, work):
    """(exit status, output bytes, log bytes) of the file's back-conversion."""
    name = os.path.basename(rtf)
    folder = tempfile.mkdtemp(dir=work)
    copy = os.path.join(folder, "r.rtf")
    shutil.copyfile(rtf, copy)
    command = COMMANDS[name.split("_")[0]]
    status = subprocess.run([tessel, "back", command, copy], stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode
    output = log = b""
    for entry in os.listdir(folder):
        with open(os.path.join(folder, entry), "rb") as data:
            if entry.lower().endswith(".err"):
                log = data.read()
            elif entry != "r.rtf":
                output = data.read()
    return status, output, log


def entries(log):
    """The log's numbered entries, without its header (which names the tool
    and the files, words a document may hold too)."""
    first = log.find(b"\n[1]")
    return log[first:] if first >= 0 else b""


def main():
    tessel, expect = sys.argv[1], sys.argv[2]
    here = os.path.dirname(os.path.abspath(expect))
    work = tempfile.mkdtemp(prefix="tessel-revisions-")
    failures = []
    results = {}

    def result(name):
        if name not in results:
            results[name] = back(tessel, os.path.join(here, name), work)
        return results[name]

    try:
        with open(expect, encoding="utf-8") as lines:
            for line in lines:
                fixture, kind, value = line.rstrip("\n").split("\t", 2)
                status, output, log = result(fixture)
                data = value.encode("ascii")
                if kind == "present" and data not in output:
                    failures.append("%s: %r not written" % (fixture, value))
                elif kind == "absent" and (data in output or data in entries(log)):
                    failures.append("%s: %r written" % (fixture, value))
                elif kind == "message":
                    if log.count(MESSAGES[value]) != 1:
                        failures.append("%s: message %s not in the log once" % (fixture, value))
                    if status != WARNING_STATUS:
                        failures.append("%s: exit status %d" % (fixture, status))
                elif kind == "same" and output != result(value)[1]:
                    failures.append("%s: output differs from %s's" % (fixture, value))
    finally:
        shutil.rmtree(work, ignore_errors=True)
    for failure in failures:
        print("client-test: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
