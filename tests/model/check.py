# Checks the product's answers against the model (model.py).
#
#   check.py [--seed N] [--golden N] [--generated N] [-- [EMULATOR...] KELSOFT]
#
# Answers every line of tests/vectors/*.vec, N lines drawn from the
# tests/data/*_golden.txt files together, and with the command: N freshly
# generated calls (`kelsoft generate`) and every ASCII byte in each position
# of short parser texts, as the command answers them, and the golden hard
# texts (which the command spells). Any difference fails, with the line, both
# answers and the family. The seed is printed: a failing draw can be made again.
import argparse
import inspect
import pathlib
import random
import re
import subprocess
import sys
import time

import model

TESTS = pathlib.Path(__file__).resolve().parent.parent

# Texts around one byte: the point, the exponent letter and its sign, the
# number's sign, a blank, a digit's place. Any byte taken as one of these
# where the grammar has none shows here.
GRAMMAR = [b"?", b"?1", b"1?", b"1?5", b"-?1", b"1.?5", b"1?e5", b"1?+5", b"1?-5", b"1e?5", b"1e+?5", b"1.5e1?"]


def unquote(token):
    return re.sub(rb"\\x(..)", lambda m: bytes.fromhex(m[1].decode()), token[1:-1].encode("latin-1"))


def operand(token): return None if token == "null" else unquote(token) if token[0] == '"' else int(token, 16)


# The model's words for a line, and the line's. The C library's value for an
# elementary function (which the model leaves to it) is the line's.
def answer(line, texts):
    words = line.split(" #")[0].split()
    name, arrow = words[0], words.index("->")
    call = model.CALLS[name]
    parameters = inspect.signature(call).parameters
    arity = len(parameters) - 1 - ("lib" in parameters)
    values = [texts[int(t, 16)] if name == "HardText" else operand(t) for t in words[1:1 + arity]]
    lib = {"lib": int(words[arrow + 1], 16)} if "lib" in parameters else {}
    results, reports = call(*values, words[1 + arity:arrow] == ["null"], **lib)
    return results + [w for r in reports for w in ["!"] + r.split()], words[arrow + 1:]


def product(command, lines):
    out = subprocess.run(command + ["run", "-"], input="".join(l + "\n" for l in lines).encode("latin-1"),
                         stdout=subprocess.PIPE, check=True).stdout
    answered = out.decode("latin-1").splitlines()
    assert len(answered) == len(lines), "the command answered %d of %d lines" % (len(answered), len(lines))
    return answered


def main():
    args = argparse.ArgumentParser()
    for flag, default in (("--seed", random.SystemRandom().randrange(1 << 32)), ("--golden", 5000), ("--generated", 20000)):
        args.add_argument(flag, type=int, default=default)
    args.add_argument("command", nargs="*")
    a = args.parse_args()
    start, rng = time.monotonic(), random.Random(a.seed)
    print("seed %d (check.py --seed %d draws the same lines)" % (a.seed, a.seed))
    checked = [("vectors/" + path.stem, l) for path in sorted((TESTS / "vectors").glob("*.vec"))  # (family, line)
               for l in path.read_text(encoding="latin-1").splitlines() if l.strip() and not l.startswith("#")]
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
        texts = {i: unquote(l.split("-> ")[1]) for i, l in zip(indexes, spelled)}
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
