#!/usr/bin/env python3
"""Runs two programs on the same inputs and compares what they do:
preprocessed text, diagnostics, exit status and every file a run leaves in
its folder. Each input is a file in the fuzz corpus format (two bytes of
option bits, then the main file and up to two include files split at "@@@")
from the folders given and, with --golden, a source file of the golden cases,
run as the main file with no options. __DATE__ and __TIME__ come from
SOURCE_DATE_EPOCH, so that the two runs agree. --args adds arguments to
every run (say --udf=r.html).

Meant for a build with the reader's fast path and the pass over guarded
headers against one without them: the bulk paths must give exactly what
reading character by character gives, and passing over a header what
reading it gives.

With --wine PREFIX the second program is the Windows one, run under
tests/windows/wine.sh, and only what Windows itself changes may differ: it
ends every line it writes with CR LF, and joins include candidates with '\\'
(inc\\a.h for inc/a.h), which also changes their order in the dependency
list of -L (the order of the included-files table, hashed by name). An input
whose include opens on Linux only under its lower-case name (message 164) is
left out: Windows opens that file directly. Each run may write 64 MB to a
file, as in the fuzz target; when both stop there, the reason told (wine
names another) and how far the text got are not compared. A difference under
wine is confirmed by a second run before it counts.

usage: compare_builds.py <cpp A> <cpp B> [input dir...] [--golden DIR]
           [--wine PREFIX] [--limit N] [--jobs N] [--args "..."]
Exit status 0 when every run agrees, 1 otherwise (the first few differing
inputs are named).
"""
import argparse
import concurrent.futures
import os
import re
import resource
import shlex
import signal
import subprocess
import sys
import tempfile

OPTIONS = [
    "-C", "-DFOO", "-DBAR=1+2", "-UFOO", "-U__STDC__", "-Iinc", "-L", "-N40",
    "-E1", "-W!", "-W3", "-S1,2,4,4,4,8", "-SP2,2,2,2,2,2,2", "--emax=3",
    "-Fshown.c", "--disl=111,163:off",
]
INPUTS = ["main.c", "inc/a.h", "inc/b.h"]
WINE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "windows", "wine.sh")
ENV = {k: v for k, v in os.environ.items()
       if not k.startswith("ZQT_") and k not in ("LANG", "LC_ALL", "LC_MESSAGES")}
ENV["SOURCE_DATE_EPOCH"] = "0"


def split_input(data):
    mask = data[0] | data[1] << 8
    pieces = data[2:].split(b"@@@", 2)
    args = [opt for bit, opt in enumerate(OPTIONS) if mask >> bit & 1]
    return args, pieces + [b""] * (3 - len(pieces))


def gather(opts):
    """(name, bytes) of every input, at most --limit from each source, spread
    evenly over it."""
    sources = [[os.path.join(d, n) for n in sorted(os.listdir(d))] for d in opts.inputs]
    if opts.golden:
        sources.append([os.path.join(root, n) for root, _, names in sorted(os.walk(opts.golden))
                        for n in sorted(names) if n.endswith((".c", ".h")) or n == "stdin"])
        sources[-1] = [p for p in sources[-1] if os.path.getsize(p) < 8192]
    inputs = []
    for i, files in enumerate(sources):
        if opts.limit and len(files) > opts.limit:
            files = [files[int(k * len(files) / opts.limit)] for k in range(opts.limit)]
        for path in files:
            data = open(path, "rb").read()
            data = b"\0\0" + data if i == len(opts.inputs) else data
            if len(data) >= 2:
                inputs.append((path, data))
    return inputs


def limit_files():
    """64 MB per file written, as in the fuzz target: an expansion bomb
    fails its first write past it instead of filling the disk."""
    signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
    resource.setrlimit(resource.RLIMIT_FSIZE, (64 << 20, 64 << 20))


def run(command, args, workdir, windows=False):
    """Exit status, standard output and error, and every file the run left
    (out.i among them, removed again); for Windows with CR LF read as LF,
    after checking that no line ends in a bare LF. The report names the
    program as it was started: both are "cpp"."""
    try:
        p = subprocess.run(["cpp"] + command[1:] + args + ["main.c", "out.i"],
                           executable=command[0], cwd=workdir, capture_output=True,
                           timeout=120, env=ENV, preexec_fn=limit_files)
        result = [p.returncode, p.stdout, p.stderr]
    except subprocess.TimeoutExpired:
        result = ["timeout"]
    for name in sorted(os.listdir(workdir)):
        path = os.path.join(workdir, name)
        if name not in INPUTS and os.path.isfile(path):
            result += [name, open(path, "rb").read()]
            os.remove(path)
    if windows:
        for i, part in enumerate(result):
            if isinstance(part, bytes):
                if part.replace(b"\r\n", b"").find(b"\n") >= 0:
                    return ["a line ends in LF without CR"]
                result[i] = part.replace(b"\r\n", b"\n")
    return result


# A name Windows cannot hold (one with '<', '*', '?', '"', '|' or ':'), or
# one too long for either system, fails to open for another reason on each.
BAD_NAME_REASON = re.compile(
    rb"(cannot open [a-z]+ file [^\n]*): "
    rb"(?:Invalid argument|No such file or directory|File name too long)")


def platform(result, args):
    """The result with the include folder written with '/', the lines of a
    dependency list in order, and the reason of a failed open of a name
    one of the systems cannot hold taken as the same on both."""
    result = [x.replace(b"inc\\", b"inc/") if isinstance(x, bytes) else x for x in result]
    result = [BAD_NAME_REASON.sub(rb"\1: (no such name)", x) if isinstance(x, bytes) else x
              for x in result]
    if "-L" in args and len(result) > 1:
        result[1] = sorted(result[1].split(b"\n"))
    return result


def same_but_for_limit(a, b):
    """Both stopped at the 64 MB limit, which wine reports as another error;
    Windows got less text that far, its line ends being two bytes."""
    if len(a) < 5 or len(b) < 5 or b"error writing output: File too large" not in a[2]:
        return False
    reason = re.compile(rb"(cpp: error writing output: )[^\n]*")
    return ((a[:2], reason.sub(rb"\1", a[2]), a[3]) == (b[:2], reason.sub(rb"\1", b[2]), b[3])
            and a[4].startswith(b[4].rstrip(b"\r")))


def compare(item, opts, workdir):
    name, data = item
    args, parts = split_input(data)
    args += shlex.split(opts.args)
    for file, text in zip(INPUTS, parts):
        open(os.path.join(workdir, file), "wb").write(text)
    a = run(opts.a, args, workdir)
    if opts.wine and len(a) > 1 and b"(164)" in a[2]:
        return "skipped"
    a = platform(a, args) if opts.wine else a
    for again in range(2 if opts.wine else 1):
        b = run(opts.b, args, workdir, opts.wine)
        b = platform(b, args) if opts.wine else b
        if a == b or same_but_for_limit(a, b):
            return "run again" if again else "same"
    return (name, a, b)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("a")
    ap.add_argument("b")
    ap.add_argument("inputs", nargs="*")
    ap.add_argument("--golden")
    ap.add_argument("--wine", help="wine prefix: B is the Windows program")
    ap.add_argument("--limit", type=int, default=0)
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--args", default="", help="arguments added to every run")
    opts = ap.parse_intermixed_args()
    opts.inputs = [d for d in opts.inputs if os.path.isdir(d) or print(f"no inputs in {d}")]
    opts.a = [os.path.abspath(opts.a)]
    opts.b = ([WINE, os.path.abspath(opts.wine)] if opts.wine else []) + [os.path.abspath(opts.b)]
    if opts.wine:
        subprocess.run(opts.b[:2] + ["--start"], check=True)
    inputs = gather(opts)
    with tempfile.TemporaryDirectory() as top, \
            concurrent.futures.ThreadPoolExecutor(opts.jobs) as pool:
        def chunk(i):
            os.makedirs(os.path.join(top, str(i), "inc"))
            return [compare(x, opts, os.path.join(top, str(i))) for x in inputs[i::opts.jobs]]
        results = sum(pool.map(chunk, range(opts.jobs)), [])
    if opts.wine:
        subprocess.run(opts.b[:2] + ["--stop"])
    differing = sorted(r for r in results if r not in ("same", "skipped", "run again"))
    print(f"{len(results)} inputs compared, {len(differing)} differ, "
          f"{results.count('skipped')} left out (opened under the lower-case name on Linux), "
          f"{results.count('run again')} the same when run again")
    for name, _, _ in differing[:20]:
        print("  differs:", name)
    if differing:
        # Where the first one differs: status, output, messages or a file.
        _, a, b = differing[0]
        for x, y in zip(a + [None] * len(b), b + [None] * len(a)):
            if x != y:
                print(f"  A: {x!r:.300}\n  B: {y!r:.300}")
    return 1 if differing else 0


if __name__ == "__main__":
    sys.exit(main())
