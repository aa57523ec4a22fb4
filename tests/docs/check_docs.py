"""check_docs.py - the documentation checked against the code it describes.

  check_docs.py links FILE...
      Every relative link and image of the Markdown FILEs resolves: the file
      or folder exists, and a #fragment names a heading of the file it
      points to.  Links to other sites (http:, https:, mailto:) are not
      followed.

  check_docs.py examples --octave COMMAND --cpp-prefix PREFIX --work DIR [--build BUILD] FILE...
      Every example of the Markdown FILEs runs and prints what the page
      shows:
        ```matlab   run in a new Octave: COMMAND with the block's file put in
                    place of {script} (a shell command that loads the geoharm
                    package first);
        ```cpp      a block that holds a whole program (a main function) is
                    built against the installed package in PREFIX
                    (find_package(geoharm CONFIG), geoharm::field) and run;
        ```c        likewise, linked with the C library (geoharm::c);
        ```sh       one whose first line is "# FILE: the C program above"
                    (or C++): run by sh -eu beside the page's last whole C
                    (C++) program before it, saved as FILE, /opt/geoharm
                    standing for PREFIX, without the caller's
                    LD_LIBRARY_PATH and PKG_CONFIG_PATH; one whose first
                    line is "# in the checkout, after cmake --build --preset
                    linux": by sh -eu in the checkout, build/linux/ = BUILD.
      A block whose first line is "% not run: <reason>" (matlab) or
      "// not run: <reason>" (cpp, c) is skipped: MATLAB-only code, an
      installation, a path only a user has.
      When a ```text block follows an example directly (blank lines
      between them are allowed), what the example prints on standard output
      must be that text exactly; otherwise it must only run without error.
      Each example runs in a folder of its own under DIR.

Exit status 0 when everything holds, 1 otherwise; each failure is printed
with the file and line of its block.
"""
import os
import re
import shutil
import subprocess
import sys

FENCE = re.compile(r"^( *)```(\w*)\s*$")


def blocks(path):
    """(language, first line number, text, expected) of each fenced block, in
    order: expected is the text of the ```text block that follows it
    directly, or None.  A fence may be indented (a block in a list item);
    its lines lose that indentation."""
    lines = open(path, encoding="utf-8").read().split("\n")
    found = []
    i = 0
    while i < len(lines):
        m = FENCE.match(lines[i])
        if not m:
            i += 1
            continue
        indent, language, start = len(m.group(1)), m.group(2), i + 1
        j = start
        while j < len(lines) and not lines[j].strip().startswith("```"):
            j += 1
        text = "\n".join(line[indent:] if line.startswith(" " * indent) else line.lstrip() for line in lines[start:j])
        found.append([language, start + 1, text + "\n", j + 1])
        i = j + 1
    result = []
    for k, (language, line, text, end) in enumerate(found):
        expected = None
        if k + 1 < len(found) and found[k + 1][0] == "text":
            between = lines[end:found[k + 1][1] - 2]
            if all(not s.strip() for s in between):
                expected = found[k + 1][2]
        result.append((language, line, text, expected))
    return result


def slug(heading):
    """The fragment a heading gets: lower case, punctuation dropped, spaces
    as hyphens (as the usual Markdown renderers make it)."""
    text = re.sub(r"[`*]", "", heading.strip().lower())
    text = re.sub(r"[^\w\- ]", "", text)
    return text.replace(" ", "-")


def headings(path):
    inside = False
    found = set()
    for line in open(path, encoding="utf-8"):
        if line.strip().startswith("```"):
            inside = not inside
        elif not inside and line.startswith("#"):
            found.add(slug(line.lstrip("#")))
    return found


LINK = re.compile(r"!?\[[^\]]*\]\(([^)\s]+)(?:\s+\"[^\"]*\")?\)")


def check_links(files):
    failures = []
    count = 0
    for path in files:
        inside = False
        for number, line in enumerate(open(path, encoding="utf-8"), 1):
            if line.strip().startswith("```"):
                inside = not inside
                continue
            if inside:
                continue
            for target in LINK.findall(re.sub(r"`[^`]*`", "", line)):
                if re.match(r"^(https?|mailto):", target):
                    continue
                count += 1
                file_part, _, fragment = target.partition("#")
                resolved = os.path.normpath(os.path.join(os.path.dirname(path), file_part)) if file_part else path
                if not os.path.exists(resolved):
                    failures.append(f"{path}:{number}: link to {target}: {resolved} does not exist")
                elif fragment and resolved.endswith(".md") and fragment not in headings(resolved):
                    failures.append(f"{path}:{number}: link to {target}: no heading '#{fragment}' in {resolved}")
    for f in failures:
        print(f)
    print(f"{count} relative links in {len(files)} files: {len(failures)} broken")
    return not failures


def run(command, cwd, shell=False):
    return subprocess.run(command, cwd=cwd, shell=shell, capture_output=True, text=True)


def compare(where, got, expected):
    if expected is None or got == expected:
        return None
    diff = [f"{where}: prints other text than the page shows"]
    want_lines, got_lines = expected.split("\n"), got.split("\n")
    for n in range(max(len(want_lines), len(got_lines))):
        w = want_lines[n] if n < len(want_lines) else "<none>"
        g = got_lines[n] if n < len(got_lines) else "<none>"
        if w != g:
            diff.append(f"  line {n + 1}: shown   {w!r}\n  line {n + 1}: printed {g!r}")
            break
    return "\n".join(diff)


def outcome(where, what, r, expected, failures):
    """An example's run r: it ended well and printed what the page shows."""
    if r.returncode != 0:
        failures.append(f"{where}: {what} failed (status {r.returncode}):\n{r.stderr.strip()}")
        return
    problem = compare(where, r.stdout, expected)
    if problem:
        failures.append(problem)


# The first line of a ```sh block that is run, naming the program it builds.
SHELL_EXAMPLE = re.compile(r"^# (\S+): the (C|C\+\+) program above$")
INSTALL_PREFIX = "/opt/geoharm"
# The first line of a ```sh block run in the checkout with the build's programs.
CHECKOUT_EXAMPLE = "# in the checkout, after cmake --build --preset linux"
CHECKOUT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def run_shell_example(where, text, programs_above, prefix, folder, expected, failures):
    """A ```sh block: the page's program written where the block's first
    line says, the block run by sh -eu there with the package in prefix."""
    m = SHELL_EXAMPLE.match(text.split("\n", 1)[0])
    language = "c" if m.group(2) == "C" else "cpp"
    if language not in programs_above:
        failures.append(f"{where}: no whole {m.group(2)} program above it on the page")
        return
    os.makedirs(folder)
    with open(os.path.join(folder, m.group(1)), "w") as f:
        f.write(programs_above[language])
    with open(os.path.join(folder, "example.sh"), "w") as f:
        f.write(text.replace(INSTALL_PREFIX, prefix))
    environment = {k: v for k, v in os.environ.items() if k not in ("LD_LIBRARY_PATH", "PKG_CONFIG_PATH")}
    r = subprocess.run(["sh", "-eu", "example.sh"], cwd=folder, capture_output=True, text=True, env=environment)
    outcome(where, "the shell example", r, expected, failures)


def run_checkout_example(where, text, build, folder, expected, failures):
    """A ```sh block of the build's programs: run by sh -eu in the checkout,
    build/linux/ standing for the build being tested."""
    os.makedirs(folder)
    script = os.path.join(folder, "example.sh")
    with open(script, "w") as f:
        f.write(text if build is None else text.replace("build/linux/", os.path.abspath(build) + "/"))
    r = subprocess.run(["sh", "-eu", script], cwd=CHECKOUT, capture_output=True, text=True)
    outcome(where, "the shell example", r, expected, failures)


def check_examples(files, octave, prefix, work, build=None):
    failures = []
    programs = []  # (where, language, name, expected)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    project = os.path.join(work, "programs")
    os.makedirs(project)
    counts = {"matlab": 0, "cpp": 0, "c": 0, "sh": 0, "skipped": 0}
    for path in files:
        programs_above = {}  # language: the page's last whole program of it so far
        for language, line, text, expected in blocks(path):
            where = f"{path}:{line}"
            if language == "matlab":
                if text.lstrip().startswith("% not run:"):
                    counts["skipped"] += 1
                    continue
                counts["matlab"] += 1
                folder = os.path.join(work, f"matlab-{counts['matlab']}")
                os.makedirs(folder)
                script = os.path.join(folder, "page_example.m")  # (example.m would shadow Octave's example)
                with open(script, "w") as f:
                    f.write(text)
                outcome(where, "Octave", run(octave.replace("{script}", script), folder, shell=True), expected,
                        failures)
            elif language in ("cpp", "c") and text.lstrip().startswith("// not run:"):
                counts["skipped"] += 1
            elif language == "sh" and text.split("\n", 1)[0] == CHECKOUT_EXAMPLE:
                counts["sh"] += 1
                run_checkout_example(where, text, build, os.path.join(work, f"sh-{counts['sh']}"), expected,
                                     failures)
            elif language == "sh" and SHELL_EXAMPLE.match(text.split("\n", 1)[0]):
                counts["sh"] += 1
                run_shell_example(where, text, programs_above, prefix, os.path.join(work, f"sh-{counts['sh']}"),
                                  expected, failures)
            elif language in ("cpp", "c") and re.search(r"\bint\s+main\s*\(", text):
                programs_above[language] = text
                counts[language] += 1
                name = f"{language}_example_{counts[language]}"
                with open(os.path.join(project, f"{name}.{language}"), "w") as f:
                    f.write(text)
                programs.append((where, language, name, expected))
    if programs:
        with open(os.path.join(project, "CMakeLists.txt"), "w") as f:
            f.write("cmake_minimum_required(VERSION 3.20)\nproject(geoharm_docs_examples LANGUAGES C CXX)\n"
                    "set(CMAKE_CXX_STANDARD 17)\nfind_package(geoharm CONFIG REQUIRED)\n")
            for _, language, name, _ in programs:
                target = "geoharm::field" if language == "cpp" else "geoharm::c"
                f.write(f"add_executable({name} {name}.{language})\n"
                        f"target_link_libraries({name} PRIVATE {target})\n")
        build = os.path.join(work, "programs-build")
        r = run(["cmake", "-S", project, "-B", build, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
                 f"-DCMAKE_PREFIX_PATH={prefix}", "-DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF"], work)
        if r.returncode == 0:
            r = run(["cmake", "--build", build, "--", "-k", "0"], work)
        if r.returncode != 0:
            failures.append(f"the programs of the pages do not build:\n{r.stdout[-4000:]}{r.stderr[-2000:]}")
        for where, language, name, expected in programs:
            exe = os.path.join(build, name)
            if not os.path.exists(exe):
                failures.append(f"{where}: the program does not build")
                continue
            outcome(where, "the program", run([exe], work), expected, failures)
    for f in failures:
        print(f)
    print(f"examples in {len(files)} files: {counts['matlab']} Octave, {counts['cpp']} C++, {counts['c']} C, "
          f"{counts['sh']} shell ({counts['skipped']} not run): {len(failures)} failing")
    return not failures


def main(argv):
    if len(argv) >= 2 and argv[0] == "links":
        return 0 if check_links(argv[1:]) else 1
    if len(argv) >= 8 and argv[0] == "examples" and argv[1] == "--octave" and argv[3] == "--cpp-prefix" \
            and argv[5] == "--work":
        files, build = argv[7:], None
        if len(files) >= 2 and files[0] == "--build":
            files, build = files[2:], files[1]
        return 0 if check_examples(files, argv[2], argv[4], argv[6], build) else 1
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
