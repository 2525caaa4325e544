#!/usr/bin/env python3
"""Runs two builds of cpp on every input of a fuzzing corpus and compares
what they do: preprocessed text, diagnostics and exit status. The inputs are
read as the fuzz target reads them (two bytes of option bits, then the main
file and up to two include files split at "@@@"), but each run is a process
of its own with its diagnostics on standard error.

Meant for a build with the reader's fast path and the pass over guarded
headers against one without them: the bulk paths must give exactly what
reading character by character gives, and passing over a header what
reading it gives. --args adds arguments to every run (say --udf=r.html);
every file a run leaves in its folder is compared too. __DATE__ and
__TIME__ come from SOURCE_DATE_EPOCH, so that the two runs agree.

usage: compare_builds.py <cpp A> <cpp B> <corpus dir> [--limit N] [--args "..."]
Exit status 0 when every run agrees, 1 otherwise (the first few differing
inputs are named).
"""
import argparse
import os
import shlex
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


INPUTS = ["main.c", "inc/a.h", "inc/b.h"]


def run(binary, args, workdir):
    """Exit status, standard output and error, and every file the run left
    (out.i among them), which are removed again."""
    env = dict(os.environ, SOURCE_DATE_EPOCH="0")
    try:
        # The report names the program as it was started: both are "cpp".
        p = subprocess.run(["cpp"] + args + ["main.c", "out.i"], executable=binary,
                           cwd=workdir, capture_output=True, timeout=60, env=env)
        result = ("ran", p.returncode, p.stdout, p.stderr)
    except subprocess.TimeoutExpired:
        result = ("timeout",)
    left = {}
    for name in sorted(os.listdir(workdir)):
        path = os.path.join(workdir, name)
        if name not in INPUTS and os.path.isfile(path):
            left[name] = open(path, "rb").read()
            os.remove(path)
    return result + (left,)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("a")
    ap.add_argument("b")
    ap.add_argument("corpus")
    ap.add_argument("--limit", type=int, default=0)
    ap.add_argument("--args", default="", help="arguments added to every run")
    opts = ap.parse_args()
    extra = shlex.split(opts.args)
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
            args += extra
            for file, text in zip(INPUTS, parts):
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
