#!/usr/bin/env python3
"""man3.py HEADER MAN3: each reference page describes its own function: its
DESCRIPTION is the comment written just above that function's declarations
in the header (no other), its NAME line names them with the comment's first
phrase, whatis (lexgrog, what apropos reads) gives that line, and the
overview libkelsoft(3) lists every name."""
import gzip, re, shutil, subprocess, sys
from pathlib import Path

header, man3 = Path(sys.argv[1]).read_text().splitlines(), Path(sys.argv[2])
declared = re.compile(r"((?:KEL|LUM)_\w+)\(|^typedef [^(]*\(\*(\w+)\)|^extern [^(;]* (\w+);")
failures = []


def unroff(text):
    return re.sub(r"\\&|\\f[BP]", "", text).replace("\\-", "-").replace("\\e", "\\")


def comment_above(i):  # the comment that ends just above the declarations holding line i
    while not header[i - 1].startswith(("/*", " *")):
        i -= 1
    end = i
    while not header[i - 1].startswith("/*"):
        i -= 1
    lines = [re.sub(r"^(/\*| \*/?)? ?|\s*\*/$", "", l) for l in header[i - 1:end]]
    return "\n".join(l for l in lines if l)


overview = unroff(gzip.open(man3 / "libkelsoft.3.gz", "rt").read())
for i, line in enumerate(header):
    if line.startswith((" ", "/")) or not (m := declared.search(line)):
        continue
    name = next(g for g in m.groups() if g)
    contract = comment_above(i)
    what = re.match(r"[^.:]*", contract)[0].replace("\n", " ")
    what = what[0].lower() + what[1:]
    page = unroff(gzip.open(man3 / f"{name}.3.gz", "rt").read())
    description = re.search(r"\.SH DESCRIPTION\n\.nf\n(.*?)\n\.fi\n", page, re.S)
    if not description or description[1] != contract:
        failures.append(f"{name}: DESCRIPTION is not the header's comment above it:\n{description and description[1]}")
    names = re.search(r"\.SH NAME\n(.*) - (.*)\n", page)
    if not names or name not in names[1].split(", ") or names[2] != what:
        failures.append(f"{name}: NAME line {names and names[0]!r} does not say '{name}' - '{what}'")
    if f"{name}(3)" not in overview:
        failures.append(f"{name}: not listed in libkelsoft(3)")
    if shutil.which("lexgrog"):
        whatis = subprocess.run(["lexgrog", man3 / f"{name}.3.gz"], capture_output=True, text=True).stdout
        if f" - {what}" not in whatis.replace("\n", " ").replace("  ", " "):
            failures.append(f"{name}: whatis gives {whatis!r}")
print("".join(f"FAILED: man 3 {f}\n" for f in failures), end="")
sys.exit(bool(failures))
