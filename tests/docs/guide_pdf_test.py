#!/usr/bin/env python3
"""Reads a user guide's PDF back as text (pdftotext) and checks it against its
Markdown source: every name and option written as code shows whole on one line
(not "ShowInfoPanelOnStart" / "up", not "--no-" / "gui"), as often as the
source writes it; every line of a code block shows whole; no Markdown escape
shows. Usage: guide_pdf_test.py GUIDE.md GUIDE.pdf"""
import re
import subprocess
import sys

TOKEN = re.compile(r"[A-Za-z0-9_][A-Za-z0-9_.-]*[A-Za-z0-9_]|-{1,2}[A-Za-z][A-Za-z0-9_-]*")


def code_of(markdown):
    """The fenced code blocks' lines and the inline code spans of the source."""
    blocks, spans, fenced = [], [], False
    for line in markdown.splitlines():
        if line.strip().startswith("```"):
            fenced = not fenced
        elif fenced:
            blocks.append(line.strip())
        else:
            spans += [s.replace("\\|", "|") for s in re.findall(r"`([^`]+)`", line)]
    return blocks, spans


def whole(token, text):
    edge = r"[A-Za-z0-9_-]"
    return len(re.findall(rf"(?<!{edge}){re.escape(token)}(?!{edge})", text))


def main(md_path, pdf_path):
    markdown = open(md_path, encoding="utf-8").read()
    text = subprocess.run(["pdftotext", "-enc", "UTF-8", pdf_path, "-"], check=True,
                          capture_output=True, text=True).stdout
    # What the layout puts in place of breakable characters reads as those.
    text = text.replace("\u2011", "-").replace("\u00a0", " ")
    lines = [" ".join(line.split()) for line in text.splitlines()]
    flat = "\n".join(lines)
    blocks, spans = code_of(markdown)
    problems = []
    if "\\|" in text:
        problems.append("a Markdown escape \"\\|\" shows")
    for line in blocks:
        if " ".join(line.split()) not in flat:
            problems.append(f"the code line \"{line}\" is not whole on one line")
    wanted = {}
    for span in spans:
        for token in TOKEN.findall(span):
            if len(token) >= 4:
                wanted[token] = wanted.get(token, 0) + 1
    for token, count in sorted(wanted.items()):
        found = whole(token, flat)
        if found < count:
            problems.append(f"\"{token}\" shows whole {found} time(s), written {count} time(s)")
    for problem in problems:
        print(f"{pdf_path}: {problem}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
