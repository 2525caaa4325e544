#!/usr/bin/env python3
"""Runs two builds of cpp on every input of a fuzzing corpus and compares
what they do: preprocessed text, diagnostics and exit status. The inputs are
read as the fuzz target reads them (two bytes of option bits, then the main
file and up to two include files split at "@@@"), but each run is a process
of its own with its diagnostics on standard error.

Meant for a build with the reader's fast path against one without it: the
bulk paths must give exactly what reading character by character gives.

usage: compare_builds.py <cpp A> <cpp B> <corpus dir> [--limit N]
Exit status 0 when every run agrees, 1 otherwise (the first few differing
inputs are named).
"""
import argparse
import os
import subprocess
import sys
import tempfile

OPTIONS = [
    "-C", "-DFOO", "-DBAR=1+2", "-UFOO", "-U__STDC__", "-Iinc", "-L", "-N40",
    "-E1", "-W!", "-W3", "-S1,2,4,4,4,8", "-SP2,2,2,2,2,2,2", "--emax=3",
    "-Fshown.c", "--disl=111,163:off",
]


def split_input(data):
    mask = data[0] | data[1] << 8
    rest = data[2:]
    parts = [rest, b"", b""]
    pieces = rest.split(b"@@@", 2)
    if len(pieces) > 1:
        parts = pieces + [b""] * (3 - len(pieces))
    args = [opt for bit, opt in enumerate(OPTIONS) if mask >> bit & 1]
    return args, parts


def run(binary, args, workdir):
    out = os.path.join(workdir, "out.i")
    if os.path.exists(out):
        os.remove(out)
    try:
        p = subprocess.run([binary] + args + ["main.c", "out.i"], cwd=workdir,
                           capture_output=True, timeout=60)
    except subprocess.TimeoutExpired:
        return ("timeout",)
    text = open(out, "rb").read() if os.path.exists(out) else None
    return (p.returncode, p.stdout, p.stderr, text)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("a")
    ap.add_argument("b")
    ap.add_argument("corpus")
    ap.add_argument("--limit", type=int, default=0)
    opts = ap.parse_args()
    opts.a, opts.b = os.path.abspath(opts.a), os.path.abspath(opts.b)
    names = sorted(os.listdir(opts.corpus))
    if opts.limit:
        names = names[:opts.limit]
    differing = []
    compared = 0
    with tempfile.TemporaryDirectory() as workdir:
        os.mkdir(os.path.join(workdir, "inc"))
        for name in names:
            data = open(os.path.join(opts.corpus, name), "rb").read()
            if len(data) < 2:
                continue
            args, parts = split_input(data)
            for file, text in zip(["main.c", "inc/a.h", "inc/b.h"], parts):
                with open(os.path.join(workdir, file), "wb") as f:
                    f.write(text)
            compared += 1
            if run(opts.a, args, workdir) != run(opts.b, args, workdir):
                differing.append(name)
    print(f"{compared} inputs compared, {len(differing)} differ")
    for name in differing[:20]:
        print("  differs:", os.path.join(opts.corpus, name))
    return 1 if differing else 0


if __name__ == "__main__":
    sys.exit(main())
