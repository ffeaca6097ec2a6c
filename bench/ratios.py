#!/usr/bin/env python3
"""Runs benchmark programs and prints a Markdown table of the CPU time per
call, with each variant's ratio to the "plain" variant of the same name.
The fastest of several interleaved repetitions is kept: on a shared machine
other load only ever adds time.

usage: bench/ratios.py PROGRAM... [-- BENCHMARK ARGS]
"""
import json
import subprocess
import sys


def run(program, extra):
    args = [program, "--benchmark_format=json", "--benchmark_repetitions=7",
            "--benchmark_enable_random_interleaving=true"] + extra
    out = subprocess.run(args, check=True, capture_output=True, text=True).stdout
    listed = subprocess.run([program, "--benchmark_list_tests=true"] + extra, check=True,
                            capture_output=True, text=True).stdout.split()
    rows = dict.fromkeys(listed, float("inf"))
    for b in json.loads(out)["benchmarks"]:
        if b.get("run_type") == "iteration":
            name = b["run_name"]
            rows[name] = min(rows[name], b["cpu_time"])
    return rows


def main():
    argv = sys.argv[1:]
    extra = []
    if "--" in argv:
        i = argv.index("--")
        argv, extra = argv[:i], argv[i + 1:]
    print("| Benchmark | ns/call (CPU, best of 7) | ratio to plain |")
    print("|---|---:|---:|")
    for program in argv:
        rows = run(program, extra)
        for name, ns in rows.items():
            base = name.rsplit("/", 1)[0] + "/plain"
            ratio = f"{ns / rows[base]:.2f}" if base in rows and base != name else ""
            print(f"| {name} | {ns:.2f} | {ratio} |")


if __name__ == "__main__":
    main()
