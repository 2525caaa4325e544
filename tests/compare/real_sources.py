#!/usr/bin/env python3
"""Preprocesses real C sources found on this machine with `cpp --std=c99`
and with `gcc -E -std=c99 -undef -nostdinc`, the same -I and -D for both,
and compares the token streams (bench/tokens.py).

    real_sources.py --cpp [LABEL=]PATH [--cpp ...] [--set NAME,...]
                    [--limit N] [--show N] [--keep DIR] [--list]

The -D's are the object-like macros gcc predefines on this machine
(gcc -dM -E), less __STDC__, __STDC_VERSION__ and __STDC_HOSTED__, which
both define themselves; the -I's are gcc's own search list, then what the
set needs. A set whose files are not installed is left out, and so is a
file gcc cannot preprocess (say, a missing configuration header). Sets:

  libc      one file including <stdio.h>, <stdlib.h>, <string.h>,
            <math.h>, <stdint.h>, <inttypes.h>, <limits.h>, <assert.h>,
            <stdarg.h> (the C library's headers and gcc's own)
  zlib      the examples of zlib1g-dev
  nettle    the examples of nettle-dev
  xmlsec    the examples of libxmlsec1-dev (with libxml2's headers, for
            OpenSSL)
  sdcc      the C library sources of sdcc, for its mcs51 port
  pyext     C extension modules of the Python installations, with Python.h

For every file and program: the exit status, the number of tokens, and
where the streams part, the number of differing stretches and of tokens in
them (difflib), and the first difference with its context (--show per
program). Exit status 0 when every program agrees with gcc on every file,
1 otherwise, 77 without gcc.
"""
import argparse
import difflib
import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "bench"))
import tokens  # noqa: E402

LIBC_HEADERS = ["stdio.h", "stdlib.h", "string.h", "math.h", "stdint.h", "inttypes.h",
                "limits.h", "assert.h", "stdarg.h"]
OWN = {"__STDC__", "__STDC_VERSION__", "__STDC_HOSTED__"}


def gcc_search_list():
    p = subprocess.run(["gcc", "-xc", "-E", "-v", "-"], input=b"", capture_output=True)
    text = p.stderr.decode("latin-1")
    part = text.split("#include <...> search starts here:")[-1].split("End of search list.")[0]
    return [d.strip() for d in part.splitlines() if d.strip()]


def gcc_defines():
    p = subprocess.run(["gcc", "-std=c99", "-dM", "-E", "-"], input=b"", capture_output=True)
    out = []
    for line in p.stdout.decode("latin-1").splitlines():
        m = re.match(r"#define ([A-Za-z_][A-Za-z_0-9]*)(?: (.*))?$", line)
        if m and m.group(1) not in OWN:  # function-like ones do not match
            out.append("-D%s=%s" % (m.group(1), m.group(2) or ""))
    return out


def sets(work):
    """{name: [(label, path, extra -I)]}"""
    result = {}
    wrapper = os.path.join(work, "libc.c")
    with open(wrapper, "w") as f:
        f.write("".join("#include <%s>\n" % h for h in LIBC_HEADERS))
        f.write("int main(void) { printf(\"%d\\n\", INT_MAX); assert(1); return 0; }\n")
    result["libc"] = [("libc.c", wrapper, [])]
    for name, pattern, incs in [
            ("zlib", "/usr/share/doc/zlib1g-dev/examples/*.c", []),
            ("nettle", "/usr/share/doc/nettle-dev/examples/*.c", ["/usr/include/nettle"]),
            ("xmlsec", "/usr/share/doc/libxmlsec1-dev/examples/*.c",
             ["/usr/include/libxml2", "/usr/include/xmlsec1"]),
            ("sdcc", "/usr/share/sdcc/lib/src/*.c", ["/usr/share/sdcc/include",
                                                     "/usr/share/sdcc/include/mcs51"])]:
        files = sorted(glob.glob(pattern))
        if files:
            result[name] = [(os.path.basename(p), p, [os.path.dirname(p)] + incs) for p in files]
    pyext = []
    for p in sorted(glob.glob(os.path.expanduser("~/.pyenv/versions/3.1*/lib/python3.*/"
                                                 "site-packages/*/*.c"))):
        version = re.search(r"versions/(3\.\d+)", p).group(1)
        inc = glob.glob(os.path.join(p.split("/lib/python")[0], "include", "python" + version))
        if inc:
            pyext.append(("py%s/%s" % (version, os.path.basename(p)), p, [os.path.dirname(p)] + inc))
    if pyext:
        result["pyext"] = pyext
    return result


SET_DEFINES = {"xmlsec": ["-DXMLSEC_CRYPTO_OPENSSL=1", "-DXMLSEC_NO_XSLT=1"]}
SET_DEFINES["sdcc"] = ["-D__SDCC", "-DSDCC=420", "-D__SDCC_mcs51", "-D__SDCC_MODEL_SMALL",
                "-D__SDCC_VERSION_MAJOR=4", "-D__SDCC_VERSION_MINOR=2",
                "-D__SDCC_VERSION_PATCH=0", "-D__SDCC_CHAR_UNSIGNED"]


def differences(ref, out):
    """(stretches, tokens) that differ."""
    matcher = difflib.SequenceMatcher(None, ref, out, autojunk=len(ref) > 20000)
    stretches = changed = 0
    for op, a1, a2, b1, b2 in matcher.get_opcodes():
        if op != "equal":
            stretches += 1
            changed += max(a2 - a1, b2 - b1)
    return stretches, changed


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--cpp", action="append", default=[])
    ap.add_argument("--set", default="")
    ap.add_argument("--limit", type=int, default=0, help="files per set (spread evenly)")
    ap.add_argument("--show", type=int, default=2)
    ap.add_argument("--keep")
    ap.add_argument("--list", action="store_true")
    opts = ap.parse_args()
    if shutil.which("gcc") is None:
        print("gcc is not installed: nothing to compare with")
        return 77
    programs = []
    for given in opts.cpp:
        label, _, path = given.rpartition("=")
        programs.append((label or "cpp", os.path.abspath(path)))

    work = opts.keep or tempfile.mkdtemp(prefix="real-sources-")
    os.makedirs(work, exist_ok=True)
    try:
        found = sets(work)
        if opts.list:
            for name, files in found.items():
                print("%-8s %d file(s)" % (name, len(files)))
            return 0
        chosen = [s for s in opts.set.split(",") if s] or list(found)
        system = gcc_search_list()
        defines = gcc_defines()
        failed = False
        shown = {label: 0 for label, _ in programs}
        totals = {}
        for name in chosen:
            files = found.get(name, [])
            if opts.limit and len(files) > opts.limit:
                files = [files[int(k * len(files) / opts.limit)] for k in range(opts.limit)]
            for label, path, incs in files:
                args = ["-I" + d for d in incs + system] + defines
                args += SET_DEFINES.get(name, [])
                stem = os.path.join(work, "%s-%s" % (name, label.replace("/", "-")))
                ref = stem + ".gcc.i"
                p = subprocess.run(["gcc", "-E", "-std=c99", "-undef", "-nostdinc"] + args +
                                   [path, "-o", ref], capture_output=True)
                if p.returncode != 0:
                    print("%-7s %-28s skipped: gcc exit %d" % (name, label, p.returncode))
                    continue
                ref_tokens, ref_lines = tokens.tokenize(tokens.read(ref))
                row = "%-7s %-28s %7d tokens" % (name, label, len(ref_tokens))
                details = ""
                for prog, cpp in programs:
                    out = stem + ".%s.i" % prog
                    r = subprocess.run([cpp, "--std=c99"] + args + [path, out],
                                       capture_output=True)
                    out_tokens, out_lines = tokens.tokenize(tokens.read(out)) \
                        if os.path.exists(out) else ([], [])
                    i = tokens.first_difference(ref_tokens, out_tokens)
                    t = totals.setdefault((name, prog), [0, 0, 0, 0])
                    t[0] += 1
                    t[1] += len(ref_tokens)
                    if i is None and r.returncode == 0:
                        row += " | %s: same" % prog
                        continue
                    failed = True
                    stretches, changed = differences(ref_tokens, out_tokens) \
                        if i is not None else (0, 0)
                    t[2] += i is not None or r.returncode != 0
                    t[3] += changed
                    row += " | %s: exit %d, %d stretch(es), %d token(s) differ" % (
                        prog, r.returncode, stretches, changed)
                    if shown[prog] < opts.show:
                        shown[prog] += 1
                        notes = r.stderr.decode("latin-1").splitlines()
                        details += "".join("\n      %s: %s" % (prog, n) for n in notes[:4])
                        if i is not None:
                            details += "\n      %s: first at token %d\n        gcc %s\n        %s %s" % (
                                prog, i + 1, tokens.context(ref_tokens, ref_lines, i), prog,
                                tokens.context(out_tokens, out_lines, i))
                print(row + details)
        print("\nset     program       files   tokens  files differing  tokens differing")
        for (name, prog), (files, toks, bad, changed) in totals.items():
            print("%-7s %-12s %6d %8d %16d %17d" % (name, prog, files, toks, bad, changed))
        return 1 if failed else 0
    finally:
        if not opts.keep:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
