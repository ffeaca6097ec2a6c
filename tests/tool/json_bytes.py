#!/usr/bin/env python3
"""json_bytes.py KELSOFT [EMULATOR...]: every --json answer is strict JSON over
raw bytes (UTF-8 decoded with errors fatal, then json.loads), whatever bytes
the operands hold, for every way an answer can carry them. A byte that is not
part of valid UTF-8 must come back as the code point of its value (\\u00XX),
valid sequences as themselves."""
import codecs, json, subprocess, sys

tool = sys.argv[2:] + sys.argv[1:2]
codecs.register_error("latin1", lambda e: ("".join(map(chr, e.object[e.start:e.end])), e.end))
expect = lambda raw: raw.decode("utf-8", "latin1")

# Each byte alone, as the lead of every sequence shape, and after a lead.
tails = [b"", b"\x80", b"\xbf\xbf", b"\x80\x80\x80", b"\xa0\x80", b"\x90\x80\x80", b"\x8f\xbf\xbf"]
pieces = [bytes([b]) + t for b in range(1, 256) for t in tails] + [b"\xc3" + bytes([b]) for b in range(1, 256)]
texts = [b"".join(pieces[i:i + 64]) for i in range(0, len(pieces), 64)]

# Where an answer echoes a text: an operand, a result, and each error message.
shapes = [["parse", "X"], ["calc", "Dadd", "X", "1"], ["calc", "X", "1", "2"], ["X"], ["convert", "Uint322Double", "X"],
          ["format", "Double2String2", "1", b"%f" + b"X"], ["format", "Double2String2", "1", "X"], ["calc", "Dadd", "X"]]
failed = 0


def walk(v):
    return [w for x in (v.values() if isinstance(v, dict) else v) for w in walk(x)] if isinstance(v, (dict, list)) else [v]


def check(args, stdin, raw_texts):
    global failed
    out = subprocess.run(tool + ["--json"] + args, input=stdin, capture_output=True).stdout
    try:
        answers = [json.loads(line.decode("utf-8", "strict")) for line in out.splitlines()]
        for a in answers:
            assert sorted(a) == ["error", "function", "operands", "reports", "results"], a
            strings = [s for s in walk(a) if isinstance(s, str)]
            for t in raw_texts:
                assert any(expect(t) in s for s in strings), f"{t[:20]!r}... not echoed as {expect(t)[:20]!r}..."
        assert answers
    except (AssertionError, ValueError) as e:
        print(f"FAILED: kelsoft --json {b' '.join(args)[:40]!r}...: {str(e)[:200]}")
        failed = 1


for shape in shapes:
    for text in texts:
        args = [a.replace(b"X", text) if isinstance(a, bytes) else text if a == "X" else a for a in shape]
        check([a if isinstance(a, bytes) else a.encode() for a in args], b"", [text])
# Standard input also holds NUL; the byte after a lead is the one in question.
lines = [p for p in pieces if b"\n" not in p and b"\r" not in p]
check([b"parse", b"-"], b"\n".join(lines + [b"\x00\xff", b"1\x00\xfe"]) + b"\n", [])
sys.exit(failed)
