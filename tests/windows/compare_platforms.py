#!/usr/bin/env python3
"""Runs the Linux and the Windows program (under wine) on the same inputs and
compares what they do: preprocessed text, diagnostics, dependency list and
exit status, so that the two cannot drift apart.

Inputs are files in the fuzz corpus format (two bytes of option bits, then
the main file and up to two include files split at "@@@", read as
tests/fuzz/compare_builds.py reads them) from the folders given, and, with
--golden, the source files of the golden cases, each run as the main file
with no options. Both programs run with -U__DATE__ -U__TIME__, which the
clock would otherwise tell apart.

Only what Windows itself changes is allowed to differ: it ends every line
it writes with CR LF, and joins include candidates with '\\' (inc\\a.h for
inc/a.h), which also changes their order in the dependency list of -L (the
order of the included-files table, hashed by name). An input whose include
opens on Linux only under its lower-case name (message 164) is left out:
Windows opens that file directly. Each run may write 64 MB to a file, as in
the fuzz target; when both stop there, the reason told (wine names another)
and how far the text got are not compared. A difference is confirmed by a
second run under wine before it counts.

usage: compare_platforms.py <linux cpp> <windows cpp.exe> <wine prefix>
           [--golden DIR] [--limit N] [--jobs N] [corpus dir...]
Exit status 0 when every input gives the same, 1 otherwise (the first few
differing inputs are shown).
"""
import argparse
import concurrent.futures
import os
import re
import resource
import signal
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "fuzz"))
from compare_builds import split_input  # noqa: E402

WINE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "wine.sh")
FIXED = ["-U__DATE__", "-U__TIME__"]
CLEAN_ENV = {k: v for k, v in os.environ.items()
             if not k.startswith("ZQT_") and k not in ("LANG", "LC_ALL", "LC_MESSAGES")}


def gather(opts):
    """(name, bytes) of every input, at most --limit of each source, spread
    evenly over it."""
    sources = []
    for folder in opts.corpus:
        if not os.path.isdir(folder):
            print(f"no inputs in {folder}: not there")
            continue
        names = sorted(os.listdir(folder))
        sources.append([os.path.join(folder, n) for n in names])
    if opts.golden:
        files = []
        for root, _, names in sorted(os.walk(opts.golden)):
            for n in sorted(names):
                path = os.path.join(root, n)
                if (n.endswith((".c", ".h")) or n == "stdin") and os.path.getsize(path) < 8192:
                    files.append(path)
        sources.append(files)
    inputs = []
    for files in sources:
        if opts.limit and len(files) > opts.limit:
            step = len(files) / opts.limit
            files = [files[int(i * step)] for i in range(opts.limit)]
        for path in files:
            data = open(path, "rb").read()
            if opts.golden and path.startswith(opts.golden):
                data = b"\0\0" + data
            if len(data) >= 2:
                inputs.append((path, data))
    return inputs


def limit_files():
    """64 MB per file written, as in the fuzz target: an expansion bomb
    fails its first write past it instead of filling the disk."""
    signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
    resource.setrlimit(resource.RLIMIT_FSIZE, (64 << 20, 64 << 20))


def run(command, args, workdir):
    out = os.path.join(workdir, "out.i")
    if os.path.exists(out):
        os.remove(out)
    try:
        p = subprocess.run(command + FIXED + args + ["main.c", "out.i"], cwd=workdir,
                           capture_output=True, timeout=120, env=CLEAN_ENV,
                           preexec_fn=limit_files)
    except subprocess.TimeoutExpired:
        return ("timeout",)
    text = open(out, "rb").read() if os.path.exists(out) else None
    return (p.returncode, p.stdout, p.stderr, text)


def canonical(result, args, windows):
    """The result with the include folder written with '/' and the lines of a
    dependency list in order; for Windows also with CR LF as LF, after
    checking that no line ends in a bare LF."""
    if len(result) == 1:
        return result
    status, parts = result[0], []
    for part in result[1:]:
        if part is not None:
            if windows:
                if part.replace(b"\r\n", b"").find(b"\n") >= 0:
                    return ("a line ends in LF without CR",)
                part = part.replace(b"\r\n", b"\n")
            part = part.replace(b"inc\\", b"inc/")
        parts.append(part)
    if "-L" in args:
        parts[0] = sorted(parts[0].split(b"\n"))
    return (status, *parts)


def compare(item, linux, windows, workdir):
    name, data = item
    args, parts = split_input(data)
    for file, text in zip(["main.c", "inc/a.h", "inc/b.h"], parts):
        with open(os.path.join(workdir, file), "wb") as f:
            f.write(text)
    a = run(linux, args, workdir)
    if len(a) > 1 and b"(164)" in a[2]:
        return "skipped"
    a = canonical(a, args, False)
    b = canonical(run(windows, args, workdir), args, True)
    if a == b or same_but_for_limit(a, b):
        return "same"
    # Wine on a busy machine now and then fails a run of its own: a
    # difference counts when a second run shows it too.
    b = canonical(run(windows, args, workdir), args, True)
    return "run again" if a == b or same_but_for_limit(a, b) else (name, a, b)


def same_but_for_limit(a, b):
    """Both stopped at the 64 MB limit, which wine reports as another error;
    Windows got less text that far, its line ends being two bytes."""
    reason = re.compile(rb"(cpp: error writing output: )[^\n]*")
    if len(a) == 1 or len(b) == 1 or b"error writing output: File too large" not in a[2]:
        return False
    if (a[:2], reason.sub(rb"\1", a[2])) != (b[:2], reason.sub(rb"\1", b[2])):
        return False
    return a[3] is not None and b[3] is not None and a[3].startswith(b[3].rstrip(b"\r"))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("linux")
    ap.add_argument("windows")
    ap.add_argument("prefix")
    ap.add_argument("corpus", nargs="*")
    ap.add_argument("--golden")
    ap.add_argument("--limit", type=int, default=0)
    ap.add_argument("--jobs", type=int, default=2)
    opts = ap.parse_intermixed_args()
    if opts.golden:
        opts.golden = os.path.abspath(opts.golden)
    linux = [os.path.abspath(opts.linux)]
    wine = [WINE, os.path.abspath(opts.prefix)]
    windows = wine + [os.path.abspath(opts.windows)]
    inputs = gather(opts)

    subprocess.run(wine + ["--start"], check=True)
    results = []
    with tempfile.TemporaryDirectory() as top:
        dirs = []
        for i in range(opts.jobs):
            d = os.path.join(top, str(i))
            os.makedirs(os.path.join(d, "inc"))
            dirs.append(d)
        with concurrent.futures.ThreadPoolExecutor(opts.jobs) as pool:
            chunks = [inputs[i::opts.jobs] for i in range(opts.jobs)]
            work = [pool.submit(lambda c, d: [compare(x, linux, windows, d) for x in c], c, d)
                    for c, d in zip(chunks, dirs)]
            for w in work:
                results += w.result()
    subprocess.run(wine + ["--stop"])

    differing = [r for r in results if r not in ("same", "skipped", "run again")]
    print(f"{len(results)} inputs compared, {len(differing)} differ, "
          f"{results.count('skipped')} left out (opened under the lower-case name on Linux), "
          f"{results.count('run again')} the same when run again under wine")
    for name, a, b in differing[:20]:
        print("  differs:", name)
    if differing:
        # What the first one gives: status, output, messages, output file.
        _, a, b = differing[0]
        for what, x, y in zip(["status", "stdout", "stderr", "out.i"], a, b):
            if x != y:
                print(f"  {what}, Linux:   {x!r:.300}")
                print(f"  {what}, Windows: {y!r:.300}")
    return 1 if differing else 0


if __name__ == "__main__":
    sys.exit(main())
