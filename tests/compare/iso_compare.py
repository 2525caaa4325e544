#!/usr/bin/env python3
"""Runs generated ISO C99 programs through `cpp --std=c99` and through
`gcc -E -std=c99 -undef` (and `clang -E -std=c99 -undef` as a second
opinion, where installed) and compares the token streams (bench/tokens.py).
The programs are those of tests/fuzz/gen_inputs.py's iso kind, by family,
the same for the same seed; for the pragma family the #pragma lines are
compared as text as well (blanks collapsed).

usage: iso_compare.py --cpp PATH [--count N] [--seed S] [--only F,F]
           [--xfail F,F] [--show N] [--jobs N] [--keep DIR] [--list]
       iso_compare.py --print FAMILY:N [--seed S]

--count    programs per family (default 10)
--only     run these families only (names as --list shows them)
--xfail    families known to differ today (default: the names in
           tests/compare/iso_known_differences, "" for none): their
           differences are shown but do not fail the run; a listed family
           that agrees is named, to be taken off the list
--show     differences shown in full per family (default 3)
--keep     keep the programs and outputs in this folder
--print    write one program to standard output (and the include file
           inc/a.h it may have, after a comment line naming it)

For each differing program the first differing token is shown with its
context in the reference (gcc) and in cpp's output, with the program's
name (family:N, for --print). Exit status 0 when every family not in
--xfail agrees, 1 otherwise, 77 when gcc is not installed. A program on
which gcc and clang disagree, or an #if whose value gcc and the generator
see differently, is a fault of the generator and fails the run too.
"""
import argparse
import concurrent.futures
import os
import re
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "..", "..")
sys.path.insert(0, os.path.join(ROOT, "bench"))
sys.path.insert(0, os.path.join(ROOT, "tests", "fuzz"))
import gen_inputs  # noqa: E402
import tokens  # noqa: E402

KNOWN = os.path.join(HERE, "iso_known_differences")
PEER_FLAGS = ["-E", "-std=c99", "-undef", "-nostdinc", "-x", "c"]
PRAGMA = re.compile(r"^[ \t]*#[ \t]*pragma\b(.*)$", re.M)
ENV = {k: v for k, v in os.environ.items()
       if not k.startswith("ZQT_") and k not in ("LANG", "LC_ALL", "LC_MESSAGES")}
ENV["SOURCE_DATE_EPOCH"] = "0"


def run(cmd, cwd):
    p = subprocess.run(cmd, cwd=cwd, capture_output=True, env=ENV, timeout=60)
    return p.returncode, p.stderr.decode("latin-1")


def pragmas(path):
    return [" ".join(m.split()) for m in PRAGMA.findall(tokens.read(path))]


def difference(ref_path, out_path, family):
    """None when the outputs agree, otherwise a few lines telling where."""
    ref, ref_lines = tokens.tokenize(tokens.read(ref_path))
    out, out_lines = tokens.tokenize(tokens.read(out_path))
    i = tokens.first_difference(ref, out)
    if i is not None:
        return ["differ at token %d of %d (reference) / %d (output)" % (i + 1, len(ref), len(out)),
                "  reference " + tokens.context(ref, ref_lines, i),
                "  output    " + tokens.context(out, out_lines, i)]
    if family == "pragma":
        a, b = pragmas(ref_path), pragmas(out_path)
        if a != b:
            k = next((k for k in range(min(len(a), len(b))) if a[k] != b[k]), min(len(a), len(b)))
            return ["pragma line %d differs" % (k + 1),
                    "  reference #pragma %s" % (a[k] if k < len(a) else "<none>"),
                    "  output    #pragma %s" % (b[k] if k < len(b) else "<none>")]
    return None


def check(opts, work, family, n):
    """(family, n, problems): problems is a list of (kind, lines), kind
    "cpp" for a difference of cpp's, "peers" for gcc against clang."""
    name = "%s-%d" % (family, n)
    src = os.path.join(work, name + ".c")
    main, *headers = gen_inputs.iso_source(opts.seed, family, n).split("@@@")
    with open(src, "wb") as f:
        f.write(main.encode("latin-1"))
    if headers:
        # The main file includes "inc/a.h": a folder of the program's own.
        work = os.path.join(work, name)
        src_dir = os.path.join(work, "inc")
        os.makedirs(src_dir, exist_ok=True)
        os.replace(src, os.path.join(work, "main.c"))
        src = os.path.join(work, "main.c")
        for header, text in zip(["a.h", "b.h"], headers):
            with open(os.path.join(src_dir, header), "wb") as f:
                f.write(text.encode("latin-1"))
    problems = []
    ref = os.path.join(work, name + ".gcc.i")
    status, notes = run(["gcc"] + PEER_FLAGS + [src, "-o", ref], work)
    if status != 0:
        return family, n, [("peers", ["gcc exit %d" % status] + notes.splitlines()[:4])]
    if family == "if64":
        # Each #if compares an expression with the value the generator
        # computed: gcc must take that branch every time.
        wrong = re.search(r"\b(?:true|false)_\w+", tokens.read(ref))
        if wrong:
            problems.append(("peers", ["gcc and the generator disagree on #if: " +
                                       wrong.group(0)]))
    if opts.clang:
        other = os.path.join(work, name + ".clang.i")
        status, notes = run(["clang"] + PEER_FLAGS + [src, "-o", other], work)
        lines = (["clang exit %d" % status] + notes.splitlines()[:4] if status != 0 else
                 difference(ref, other, family))
        if lines:
            problems.append(("peers", ["gcc and clang disagree: " + lines[0]] + lines[1:]))
    if opts.cpp:
        out = os.path.join(work, name + ".cpp.i")
        status, notes = run([opts.cpp, "--std=c99", src, out], work)
        lines = difference(ref, out, family) if os.path.exists(out) else ["no output"]
        if status != 0 or lines:
            head = ["cpp exit %d" % status] + ["    " + x for x in notes.splitlines()[:3]]
            problems.append(("cpp", (head if status != 0 else []) + (lines or [])))
    return family, n, problems


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--cpp")
    ap.add_argument("--count", type=int, default=10)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--only", default="")
    ap.add_argument("--xfail")
    ap.add_argument("--show", type=int, default=3)
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--keep")
    ap.add_argument("--list", action="store_true")
    ap.add_argument("--print", dest="print_one")
    ap.add_argument("--no-clang", dest="clang", action="store_false")
    opts = ap.parse_args()

    families = gen_inputs.ISO_FAMILIES
    if opts.list:
        print("\n".join(families))
        return 0
    if opts.print_one:
        family, _, n = opts.print_one.partition(":")
        if family not in families or not n.isdigit():
            ap.error("--print FAMILY:N, FAMILY one of " + ", ".join(families))
        text = gen_inputs.iso_source(opts.seed, family, int(n))
        sys.stdout.write(text.replace("@@@", "/* ---- inc/a.h ---- */\n"))
        return 0
    chosen = [f for f in opts.only.split(",") if f] or families
    if opts.xfail is None:
        with open(KNOWN) as f:
            opts.xfail = ",".join(line.split("#")[0].strip() for line in f)
    xfail = {f for f in opts.xfail.split(",") if f}
    unknown = [f for f in chosen + sorted(xfail) if f not in families]
    if unknown:
        ap.error("unknown family %s (one of %s)" % (", ".join(unknown), ", ".join(families)))
    if shutil.which("gcc") is None:
        print("gcc is not installed: nothing to compare with")
        return 77
    opts.clang = opts.clang and shutil.which("clang") is not None
    if opts.cpp:
        opts.cpp = os.path.abspath(opts.cpp)

    work = opts.keep or tempfile.mkdtemp(prefix="iso-compare-")
    os.makedirs(work, exist_ok=True)
    try:
        with concurrent.futures.ThreadPoolExecutor(max(1, opts.jobs)) as pool:
            results = list(pool.map(lambda job: check(opts, work, *job),
                                    [(f, n) for f in chosen for n in range(opts.count)]))
    finally:
        if not opts.keep:
            shutil.rmtree(work, ignore_errors=True)

    failed = False
    rows = []
    for family in chosen:
        mine = [(n, p) for f, n, p in results if f == family]
        differ = [(n, p) for n, p in mine if any(k == "cpp" for k, _ in p)]
        peers = [(n, p) for n, p in mine if any(k == "peers" for k, _ in p)]
        shown = 0
        for n, problems in mine:
            for kind, lines in problems:
                if kind == "peers" or shown < opts.show:
                    print("%s:%d: %s" % (family, n, lines[0]))
                    for line in lines[1:]:
                        print("    " + line)
                    shown += kind == "cpp"
        if peers:
            failed = True
        if family in xfail:
            verdict = "differs (known)" if differ else "agrees: take it off the known list"
        else:
            verdict = "agrees" if not differ else "DIFFERS"
            failed |= bool(differ)
        if not opts.cpp:
            verdict = "peers only"
        rows.append("%-10s %4d programs %4d differ %3d peers disagree  %s"
                    % (family, len(mine), len(differ), len(peers), verdict))
    print("\n".join(["", "seed %d, %s and gcc -std=c99%s" % (
        opts.seed, "cpp --std=c99" if opts.cpp else "no cpp",
        ", clang -std=c99" if opts.clang else "")] + rows))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
