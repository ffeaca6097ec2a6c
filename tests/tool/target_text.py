#!/usr/bin/env python3
"""target_text.py COUNT KELSOFT [EMULATOR...]: every decimal the command shows
for COUNT random doubles and COUNT random floats (any finite bits) reads back
to those bits through the command's own parse. Prints how many have no text."""
import random, subprocess, sys

count, tool = int(sys.argv[1]), sys.argv[3:] + sys.argv[2:3]
rng = random.Random(seed := random.randrange(1 << 32))
failed = 0


def kelsoft(args, lines):
    out = subprocess.run(tool + args + ["-"], input="\n".join(lines) + "\n", capture_output=True, text=True, check=True)
    return out.stdout.splitlines()


# The patterns: the edges where the parser is furthest off, then random bits.
kinds = {"double": (64, 11, ["0", "8000000000000000", "1", "3F847AE147AE147B", "000FFFFFFFFFFFFF", "7FEFFFFFFFFFFFFF"]),
         "float": (32, 8, ["0", "80000000", "1", "007FFFFF", "7F7FFFFF", "3DCCCCCD"])}
for name, (width, exponent, edges) in kinds.items():
    inf = ((1 << exponent) - 1) << (width - 1 - exponent)
    bits = [int(e, 16) for e in edges]
    while len(bits) < count:
        b = rng.getrandbits(width)
        bits += [b] if b & inf != inf else []
    hexes = [f"0x{b:0{width // 4}X}" for b in bits]
    shown = kelsoft(["format", "--target-text"] + (["--float"] if name == "float" else []), hexes)
    texts = [line.split(" ")[1] for line in shown if "no decimal text" not in line]
    print(f"{len(bits)} {name}s (seed {seed}): {len(bits) - len(texts)} with no text that reads back")
    wanted = [line.split(" ")[-1] for line in shown if "no decimal text" not in line]
    back = [line.split(f"{name}:")[1].split()[1].rstrip(";") for line in kelsoft(["parse"], texts)]
    if len(shown) != len(bits) or [s.split(" ")[-1] for s in shown] != hexes or back != wanted:
        bad = [(t, w, b) for t, w, b in zip(texts, wanted, back) if w != b][:5]
        print(f"FAILED: {name}: shown {len(shown)} of {len(bits)}; texts that read back elsewhere: {bad}")
        failed = 1
sys.exit(failed)
