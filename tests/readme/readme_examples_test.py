#!/usr/bin/env python3
"""Runs the fenced blocks of README.md, so that an example that no longer
reproduces fails the tests.

Every fenced block of the README is one of:

* ```console  a transcript. A line starting with "$ " is a command (a line
  ending in a backslash continues on the next one); the lines after it, up to
  the next command, are what it prints: standard output and standard error as
  they arrive in one file.
* ```sh       commands without prompts and without shown output.
* any block preceded by the line <!-- example: skip (REASON) --> is not run;
  the reason is required. A block neither runnable nor skipped fails the test,
  so that a new block cannot go untested unnoticed.

A runnable block may instead be preceded by <!-- example: needs WHAT -->: a
path relative to the README's folder, or a program on PATH. Without it the
block is skipped with a message.

Each runnable block runs in one bash process (a `cd` holds for the commands
after it) in a fresh copy of examples/, laid out as in the repository:
TMP/tessel/examples beside a link TMP/shared to the shared data folder, so
that ../../shared reaches it. `tessel` on PATH is the build's tool. Standard
input is empty. A command must end with status 0, or with the status N its line
names in the comment "# exit status N".

The output is compared line by line after two changes on both sides, for what
varies from run to run: a report's date and time (11/12/2026, 15:18:56) reads
as <date and time>, and the empty lines at the end of a command's output are
left out (the reports end with four).

Arguments: README.md, the examples folder, the tool.
"""

import difflib
import os
import re
import shlex
import shutil
import subprocess
import sys
import tempfile
from dataclasses import dataclass, field

FENCE = re.compile(r"^( *)(`{3,}|~{3,})\s*([^`\s]*)")
DIRECTIVE = re.compile(r"^<!--\s*example:\s*(.*?)\s*-->$")
SKIP = re.compile(r"^skip \((.+)\)$")
NEEDS = re.compile(r"^needs (\S+)$")
EXIT_STATUS = re.compile(r"#.*\bexit status (\d+)\b")
DATE_TIME = re.compile(r"\b\d{1,2}/\d{1,2}/\d{4}, \d{2}:\d{2}:\d{2}\b")
RUNNABLE = ("console", "sh")


@dataclass
class Command:
    line: int  # README line of the command
    text: str
    expected: list = field(default_factory=list)
    status: int = 0


@dataclass
class Block:
    line: int  # README line of the opening fence
    info: str
    lines: list  # (README line, text without the fence's indentation)
    directive: str = ""


def read_blocks(path):
    """The fenced blocks of a Markdown file, each with the directive comment
    on the last non-empty line before it."""
    with open(path, encoding="utf-8") as readme:
        text = readme.read().split("\n")
    blocks, index, previous = [], 0, ""
    while index < len(text):
        opening = FENCE.match(text[index])
        if not opening:
            if text[index].strip():
                previous = text[index].strip()
            index += 1
            continue
        indent, fence, info = len(opening.group(1)), opening.group(2), opening.group(3)
        closing = re.compile(r"^ *" + re.escape(fence[0]) + "{" + str(len(fence)) + r",}\s*$")
        block = Block(index + 1, info, [])
        directive = DIRECTIVE.match(previous)
        block.directive = directive.group(1) if directive else ""
        index += 1
        while index < len(text) and not closing.match(text[index]):
            line = text[index]
            strip = min(indent, len(line) - len(line.lstrip(" ")))
            block.lines.append((index + 1, line[strip:]))
            index += 1
        if index == len(text):
            raise SystemExit(f"{path}:{block.line}: the fenced block is never closed")
        blocks.append(block)
        previous, index = "", index + 1
    return blocks


def commands_of(block):
    """The commands of a runnable block with their shown output and status."""
    commands, continued = [], False
    for number, line in block.lines:
        if continued:
            commands[-1].text += "\n" + line
        elif block.info == "console" and not line.startswith("$ "):
            if not commands:
                raise ValueError(f"README.md:{number}: output before the first command")
            commands[-1].expected.append(line)
            continue
        elif block.info == "sh" and (not line.strip() or line.lstrip().startswith("#")):
            continue
        else:
            commands.append(Command(number, line[2:] if block.info == "console" else line))
        continued = line.endswith("\\")
        status = EXIT_STATUS.search(line)
        if status:
            commands[-1].status = int(status.group(1))
    return commands


def normalised(lines):
    lines = [DATE_TIME.sub("<date and time>", line) for line in lines]
    while lines and not lines[-1].strip():
        lines.pop()
    return lines


def run_block(block, commands, examples, tool, shared):
    """Runs the commands in a copy of the examples; returns the problems."""
    with tempfile.TemporaryDirectory(prefix="readme-example-") as work:
        copy = os.path.join(work, "tessel", "examples")
        shutil.copytree(examples, copy, symlinks=True)
        if os.path.isdir(shared):
            os.symlink(shared, os.path.join(work, "shared"))
        bin_dir = os.path.join(work, "bin")
        os.makedirs(bin_dir)
        os.symlink(tool, os.path.join(bin_dir, "tessel"))
        os.makedirs(os.path.join(work, "tmp"))
        script = ["cd " + shlex.quote(copy), "exec </dev/null"]
        for number, command in enumerate(commands):
            out = os.path.join(work, f"out.{number}")
            script += ["{ " + command.text, "} >" + shlex.quote(out) + " 2>&1",
                       f"echo $? >{shlex.quote(out)}.status"]
        env = dict(os.environ, PATH=bin_dir + os.pathsep + os.environ.get("PATH", ""),
                   LC_ALL="C.UTF-8", TZ="UTC", TMPDIR=os.path.join(work, "tmp"))
        env.pop("CDPATH", None)
        shell = subprocess.run(["bash", "-c", "\n".join(script)], env=env, timeout=120,
                               stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        problems = []
        for number, command in enumerate(commands):
            out = os.path.join(work, f"out.{number}")
            shown = command.text.split("\n")[0]
            if not os.path.exists(out + ".status"):
                problems.append(f"README.md:{command.line}: `{shown}` never ran; the shell "
                                f"said: {shell.stdout.decode(errors='replace').strip()}")
                break
            with open(out + ".status", encoding="utf-8") as status_file:
                status = int(status_file.read())
            with open(out, encoding="utf-8", errors="surrogateescape") as out_file:
                printed = out_file.read().split("\n")
            if status != command.status:
                problems.append(f"README.md:{command.line}: `{shown}` ended with status "
                                f"{status}, the README shows {command.status} (a line's "
                                f"comment '# exit status N' shows N); it printed:\n"
                                + "\n".join(printed))
            if block.info != "console":
                continue
            expected, actual = normalised(command.expected), normalised(printed)
            if expected != actual:
                first = next((index for index, pair in enumerate(zip(expected, actual))
                              if pair[0] != pair[1]), min(len(expected), len(actual)))
                where = command.line + command.text.count("\n") + 1 + first
                diff = difflib.unified_diff(expected, actual, "README.md", "printed", lineterm="")
                problems.append(f"README.md:{where}: `{shown}` (line {command.line}) printed "
                                f"other than the README shows:\n" + "\n".join(diff))
        return problems


def main():
    if len(sys.argv) != 4:
        raise SystemExit("usage: readme_examples_test.py README.md EXAMPLES_DIR TOOL")
    readme, examples, tool = (os.path.abspath(arg) for arg in sys.argv[1:])
    root = os.path.dirname(readme)
    shared = os.path.realpath(os.path.join(root, "..", "shared"))
    problems, ran, skipped = [], 0, 0
    for block in read_blocks(readme):
        skip, needs = SKIP.match(block.directive), NEEDS.match(block.directive)
        if block.directive and not (skip or needs):
            problems.append(f"README.md:{block.line}: unknown directive '{block.directive}' "
                            "(skip (REASON) or needs WHAT)")
            continue
        if skip:
            skipped += 1
            continue
        if block.info not in RUNNABLE:
            kind = f" ({block.info})" if block.info else ""
            problems.append(f"README.md:{block.line}: a fenced block{kind} neither runnable "
                            "(console or sh) nor skipped (<!-- example: skip (REASON) --> on "
                            "the line before it)")
            continue
        if needs:
            what = needs.group(1)
            present = (os.path.exists(os.path.join(root, what)) if "/" in what
                       else shutil.which(what))
            if not present:
                print(f"README.md:{block.line}: block skipped: it needs {what}, which is absent")
                skipped += 1
                continue
        try:
            commands = commands_of(block)
        except ValueError as error:
            problems.append(str(error))
            continue
        if not commands:
            problems.append(f"README.md:{block.line}: a runnable block without commands")
            continue
        problems += run_block(block, commands, examples, tool, shared)
        ran += 1
    for problem in problems:
        print(problem + "\n")
    print(f"readme examples: {ran} blocks run, {skipped} skipped, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
