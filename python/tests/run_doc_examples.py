#!/usr/bin/env python3
"""run_doc_examples.py LANGUAGE FILE... -- COMMAND...

Runs every ```LANGUAGE block of the Markdown FILEs (python or matlab), each
in a new process, and compares what it prints with the ```text block that
follows it directly, if one does (exactly, but for trailing newlines);
without one the block must only succeed.  A block whose first line is
"# not run: <reason>" (python) or "% not run: <reason>" (matlab) is
skipped.  Each block is written to a file example.py / example.m of a new
folder, which is the working directory of

    COMMAND... example.py     (e.g. venv/bin/python)
    COMMAND... example.m      (e.g. run-octave.sh: Octave runs the script)

Ends with "examples: N passed, M failed[, S skipped]"; exit status 1 if
any failed or none ran.
"""

import pathlib
import re
import subprocess
import sys
import tempfile

FENCE = re.compile(r"^```(\w*)\s*$")
SUFFIX = {"python": ".py", "matlab": ".m"}
COMMENT = {"python": "#", "matlab": "%"}


def blocks(markdown: str):
    """(language, code, line number, text) of every fenced block; text is
    the content of a ```text block right after it (blank lines between
    allowed), else None."""
    lines = markdown.splitlines()
    found = []
    i = 0
    while i < len(lines):
        m = FENCE.match(lines[i])
        if not m or not m.group(1):
            i += 1
            continue
        start = i + 1
        end = start
        while end < len(lines) and lines[end].rstrip() != "```":
            end += 1
        found.append([m.group(1), "\n".join(lines[start:end]) + "\n", start, None])
        i = end + 1
        j = i
        while j < len(lines) and not lines[j].strip():
            j += 1
        if j < len(lines) and lines[j].rstrip() == "```text":
            k = j + 1
            while k < len(lines) and lines[k].rstrip() != "```":
                k += 1
            found[-1][3] = "\n".join(lines[j + 1 : k]) + "\n"
            i = k + 1
    return found


def main(argv):
    language = argv[1]
    split = argv.index("--")
    files, command = argv[2:split], argv[split + 1 :]
    passed = failed = skipped = 0
    for name in files:
        path = pathlib.Path(name)
        for lang, code, line, text in blocks(path.read_text()):
            if lang != language:
                continue
            where = f"{path.name}:{line}"
            first = code.lstrip().splitlines()[0] if code.strip() else ""
            if first.startswith(COMMENT[language] + " not run:"):
                print(f"SKIPPED {where}: {first}")
                skipped += 1
                continue
            with tempfile.TemporaryDirectory() as folder:
                script = pathlib.Path(folder) / ("example" + SUFFIX[language])
                script.write_text(code)
                run = subprocess.run(command + [script.name], cwd=folder, capture_output=True, text=True,
                                     stdin=subprocess.DEVNULL, timeout=600)
            problem = None
            if run.returncode != 0:
                problem = f"exit status {run.returncode}\n{run.stderr[-3000:]}"
            elif text is not None and run.stdout.rstrip("\n") != text.rstrip("\n"):
                problem = f"printed:\n{run.stdout}\nthe docs show:\n{text}"
            if problem:
                print(f"FAILED {where}: {problem}")
                failed += 1
            else:
                print(f"ok {where}" + ("" if text is not None else " (no output shown)"))
                passed += 1
    print(f"examples: {passed} passed, {failed} failed" + (f", {skipped} skipped" if skipped else ""))
    return 0 if failed == 0 and passed > 0 else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
