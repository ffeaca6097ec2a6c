#!/usr/bin/env python3
"""json_answers.py KELSOFT [EMULATOR...]: every --json answer is strict JSON over raw
bytes (UTF-8 decoded with errors fatal, then json.loads) with its fields and
exit status, whatever bytes the operands hold, for every way an answer can
carry them. A byte that is not part of valid UTF-8 must come back as the code
point of its value (\\u00XX), valid sequences as themselves."""
import codecs, json, subprocess, sys

tool = [a.encode() for a in sys.argv[2:] + sys.argv[1:2]]
codecs.register_error("latin1", lambda e: ("".join(map(chr, e.object[e.start:e.end])), e.end))
expect = lambda raw: raw.decode("utf-8", "latin1")
failed = 0


def walk(v):
    return [w for x in (v.values() if isinstance(v, dict) else v) for w in walk(x)] if isinstance(v, (dict, list)) else [v]


def check(args, stdin=b"", status=None, holds=lambda a, r: True, raw_texts=()):
    global failed
    args = [a if isinstance(a, bytes) else a.encode() for a in args]
    run = subprocess.run(tool + [b"--json"] + args, input=stdin, capture_output=True)
    try:
        answers = [json.loads(line.decode("utf-8", "strict")) for line in run.stdout.splitlines()]
        assert answers and run.returncode == (status if status is not None else run.returncode), run.returncode
        for a in answers:
            assert sorted(a) == ["error", "function", "operands", "reports", "results"], a
            assert all(sorted(r) == ["bits", "name", "stored", "text", "value"] for r in a["results"]), a
            assert holds(a, a["results"]), a
            strings = [s for s in walk(a) if isinstance(s, str)]
            for t in raw_texts:
                assert any(expect(t) in s for s in strings), f"{t[:20]!r}... not echoed as {expect(t)[:20]!r}..."
    except Exception as e:  # a field missing or of another type too
        print(f"FAILED: kelsoft --json {b' '.join(args)[:40]!r}...: {str(e)[:200]}")
        failed = 1


# Arguments, standard input, exit status, what each answer holds (a, its results r).
check([], b"1\n", 0, lambda a, r: a["function"] == "KEL_Ddiv" and a["reports"] == ["PARA IN ILLEGAL", "FP_INFINITE"]
      and r[0]["value"] is None and r[0]["bits"] == "0x7FF0000000000000" and a["error"] is None)
check(["calc", "Dadd", "1", "2"], b"", 0, lambda a, r: a["reports"] == [] and r[0]["value"] == 3 and r[0]["stored"])
check(["calc", "IntMut", "7", "0"], b"", 0, lambda a, r: r[0]["stored"] is False and r[0]["value"] is None)
check(["convert", "Double2Ushort", "42405"], b"", 0, lambda a, r: r[0]["value"] == 42405 and r[0]["bits"] == "0xA5A5")
check(["convert", "Double2Buff", "1"], b"", 0, lambda a, r: r[0]["bits"] == "0x3FF0000000000000")
check([b"parse", b"\xff\xc3\xa9"], b"", 0, lambda a, r: a["operands"] == ["\u00ffé"] and r[2]["value"] == 0)
check(["format", "Double2String2", "1", "%2147483648f", "--size", "8"], b"", 0,
      lambda a, r: r[1]["name"] == "failed" and r[1]["value"] == "EOVERFLOW")
check(["calc", "Ddiv", "-"], b"8 2\nx 2\n", 2, lambda a, r: a["error"] in (None, "cannot read operand 'x'"))
check(["convert", "Uint322Double", "-1"], b"", 2,
      lambda a, r: a["error"] == "operand '-1' is out of range: 0 to 4294967295")
check(["run", "-"], b"", 2, lambda a, r: a["error"].startswith("--json answers"))

# Each byte alone, as the lead of every sequence shape, and after a lead, in
# each place an answer echoes a text: an operand, a result, an error message.
tails = [b"", b"\x80", b"\xbf\xbf", b"\x80\x80\x80", b"\xa0\x80", b"\x90\x80\x80", b"\x8f\xbf\xbf"]
pieces = [bytes([b]) + t for b in range(1, 256) for t in tails] + [b"\xc3" + bytes([b]) for b in range(1, 256)]
texts = [b"".join(pieces[i:i + 64]) for i in range(0, len(pieces), 64)]
shapes = [["parse", "X"], ["calc", "Dadd", "X", "1"], ["calc", "X", "1", "2"], ["X"], ["convert", "Uint322Double", "X"],
          ["format", "Double2String2", "1", b"%fX"], ["format", "Double2String2", "1", "X"], ["calc", "Dadd", "X"]]
for shape, text in ((s, t) for s in shapes for t in texts):
    check([a.replace(b"X", text) if isinstance(a, bytes) else text if a == "X" else a for a in shape], raw_texts=[text])
# Standard input also holds NUL; the byte after a lead is the one in question.
lines = [p for p in pieces if b"\n" not in p and b"\r" not in p]
check(["parse", "-"], b"\n".join(lines + [b"\x00\xff", b"1\x00\xfe"]) + b"\n")

# A write error: a message on stderr and exit status 3, with or without --json.
for args in (["calc", "Dadd", "1", "2"], ["--help"], ["--json"]):
    with open("/dev/full", "wb") as full:
        run = subprocess.run(tool + [a.encode() for a in args], input=b"1 2\n", stdout=full, stderr=subprocess.PIPE)
    if run.returncode != 3 or b"cannot write" not in run.stderr:
        print(f"FAILED: kelsoft {' '.join(args)} >/dev/full: status {run.returncode}, stderr {run.stderr!r}")
        failed = 1
sys.exit(failed)
