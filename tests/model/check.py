"""Checks the product's answers against the model (model.py).

  check.py [--seed N] [--golden N] [--generated N] [-- [EMULATOR...] KELSOFT]

Answers every line of tests/vectors/*.vec, N lines drawn from the
tests/data/*_golden.txt files together, and with the command: N freshly
generated calls (`kelsoft generate`) and every ASCII byte in each position
of short parser texts, as the command answers them, and the golden hard
texts (which the command spells). Any difference fails, with the line, both
answers and the family. The seed is printed: a failing draw can be made again.
"""
import argparse
import inspect
import pathlib
import random
import subprocess
import sys
import time

import model

TESTS = pathlib.Path(__file__).resolve().parent.parent

# Texts around one byte: the point, the exponent letter and its sign, the
# number's sign, a blank, a digit's place. Any byte taken as one of these
# where the grammar has none shows here.
GRAMMAR = [b"?", b"?1", b"1?", b"1?5", b"-?1", b"1.?5", b"1?e5", b"1?+5", b"1?-5", b"1e?5", b"1e+?5", b"1.5e1?"]


def operand(token):
    if token == "null":
        return None
    if token.startswith('"'):
        return unquote(token[1:-1])
    return int(token, 16)


def unquote(s):
    out, i = bytearray(), 0
    while i < len(s):
        if s[i] == "\\":
            out.append(int(s[i + 2:i + 4], 16))
            i += 4
        else:
            out.append(ord(s[i]))
            i += 1
    return bytes(out)


ARITY = {}


def split(line):
    """(name, operand tokens, null result, expected words or None)."""
    words = line.split(" #")[0].split()
    arrow = words.index("->") if "->" in words else len(words)
    arity = ARITY.setdefault(words[0], sum(p.default is p.empty for p in
                                           inspect.signature(model.CALLS[words[0]]).parameters.values()))
    return words[0], words[1:1 + arity], words[1 + arity:arrow] == ["null"], words[arrow + 1:] if arrow < len(words) else None


def answer(line, texts):
    """The model's words for a line; the library's value, where it is the C library's, from the line."""
    name, ops, null, expected = split(line)
    values = [texts[int(t, 16)] if name == "HardText" else operand(t) for t in ops]
    lib = int(expected[0], 16) if expected and model.FAMILY[name] == "elementary" and expected[0] != "null" else None
    results, reports = model.CALLS[name](*values, null=null, lib=lib)
    return results + [w for r in reports for w in ["!"] + r.split()], expected


def product(command, lines):
    out = subprocess.run(command + ["run", "-"], input="".join(l + "\n" for l in lines).encode(),
                         stdout=subprocess.PIPE, check=True).stdout
    return out.decode("latin-1").splitlines()


def main():
    args = argparse.ArgumentParser()
    args.add_argument("--seed", type=int, default=random.SystemRandom().randrange(1 << 32))
    args.add_argument("--golden", type=int, default=5000)
    args.add_argument("--generated", type=int, default=20000)
    args.add_argument("command", nargs="*")
    a = args.parse_args()
    start, rng = time.monotonic(), random.Random(a.seed)
    print("seed %d (check.py --seed %d draws the same lines)" % (a.seed, a.seed))
    checked = []  # (family, line)
    for path in sorted((TESTS / "vectors").glob("*.vec")):
        checked += [("vectors/" + path.stem, l) for l in path.read_text(encoding="latin-1").splitlines()
                    if l.strip() and not l.startswith("#")]
    golden = sorted((TESTS / "data").glob("*_golden.txt"))
    for path in golden:
        lines = [l for l in path.read_text(encoding="latin-1").splitlines()
                 if not l.startswith("#") and (a.command or not l.startswith("HardText "))]
        checked += [(path.stem, l) for l in rng.sample(lines, min(-(-a.golden // len(golden)), len(lines)))]
    first, texts = rng.randrange(1 << 40), {}
    if a.command:
        generated = subprocess.run(a.command + ["generate", str(first), str(a.generated)], stdout=subprocess.PIPE,
                                   check=True).stdout.decode("latin-1").splitlines()
        grammar = ["KEL_SoftStr2Float " + model.quoted(t.replace(b"?", bytes([c]))) for t in GRAMMAR for c in range(128)]
        indexes = sorted({int(l.split()[1], 16) for _, l in checked if l.startswith("HardText ")})
        answered = product(a.command, generated + grammar + ["HardTextOf %016x" % i for i in indexes])
        spelled = answered[len(generated) + len(grammar):]
        texts = {i: unquote(l.split("-> ")[1][1:-1]) for i, l in zip(indexes, spelled)}
        checked += [("generated " + model.FAMILY[l.split()[0]], l) for l in answered[:len(generated)]]
        checked += [("grammar", l) for l in answered[len(generated):len(generated) + len(grammar)]]
    tally, failed = {}, 0
    for family, line in checked:
        if line.split()[0] not in model.CALLS:  # the C library's failures inside libtarvex
            family = "outside the model: " + line.split()[0]
        else:
            ours, theirs = answer(line, texts)
            if ours != theirs:
                failed += 1
                if failed <= 50:
                    print("DIFFERS (%s): %s\n  model:   %s\n  product: %s" % (family, line, " ".join(ours),
                                                                             " ".join(theirs)))
        tally[family] = tally.get(family, 0) + 1
    for family in sorted(tally):
        print("%-32s %6d lines" % (family, tally[family]))
    print("%d lines, %d differ, %.1f s" % (len(checked), failed, time.monotonic() - start))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
