#!/usr/bin/env python3
"""Checks and times the preprocessor against its peers on the corpus.

    peers.py [--cpp PATH] [--floor PATH] [--corpus DIR] [--runs N]
             [--check-only | --no-check] [--check-peers] [--metric cpu|wall]
             [--markdown FILE] [--label TEXT] [--hyperfine]

Without --cpp (or with a path that does not exist) only the peers run.
The check compares the token stream of `cpp` with that of
`gcc -E -undef -std=gnu89` on every input (see tokens.py). Timing runs
every tool once untimed (warm-up, peak RSS through /usr/bin/time), then
N rounds in which every tool runs once per input in a rotating order, so
that a slow phase of the machine hits all tools alike; the table shows the
medians. A tool too slow for N runs within --budget seconds on an input
gets fewer runs there, which the table notes. All tools write to /dev/null and see the same -I directories.
The table is headed by a line naming the host (processor, cores, system)
and --label.
"""

import argparse
import os
import shlex
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

import tokens

HERE = os.path.dirname(os.path.abspath(__file__))
PEERS = ("gcc", "clang", "mcpp", "tcc", "sdcpp")
# The dialect every tool is run in: None for cpp's own against gnu89, or an
# ISO C standard ("c99") for `cpp --std=` against each peer in that mode.
STD = None


def command(tool, path, source, dirs, output="/dev/null", corpus="."):
    """The command line of `tool` for one input; every tool gets the
    same include directories and writes to `output`."""
    inc = ["-I" + d for d in dirs]
    std = ["-std=" + STD] if STD else []
    if tool == "cpp":
        return [path] + (["--std=" + STD] if STD else []) + inc + [source, output]
    if tool in ("gcc", "clang"):
        return [tool, "-E", "-undef"] + (std or ["-std=gnu89"]) + inc + [source, "-o", output]
    if tool == "mcpp":
        # -W0: its portability warnings would otherwise be timed as well.
        return (["mcpp", "-W0"] + (["-V199901L"] if STD else []) +
                [w for d in dirs for w in ("-I", d)] + [source, output])
    if tool in ("tcc", "sdcpp"):
        return [tool] + (["-E"] if tool == "tcc" else []) + std + inc + [source, "-o", output]
    if tool == "floor":
        # The floor reads every file of the input once, as bytes.
        extra = [os.path.join(d, f) for d in dirs
                 for f in sorted(os.listdir(os.path.join(corpus, d)))]
        return [path, "-o", output, source] + extra
    raise ValueError(tool)


def read_manifest(corpus):
    inputs = []
    with open(os.path.join(corpus, "manifest.txt")) as f:
        for line in f:
            words = line.split()
            if words:
                inputs.append((words[0], words[1:]))
    return inputs


def input_size(corpus, source, dirs):
    total = os.path.getsize(os.path.join(corpus, source))
    for d in dirs:
        for name in os.listdir(os.path.join(corpus, d)):
            total += os.path.getsize(os.path.join(corpus, d, name))
    return total


def run_timed(cmd, cwd, env):
    """Runs `cmd`; returns (wall seconds, cpu seconds, exit status)."""
    start = time.perf_counter()
    proc = subprocess.Popen(cmd, cwd=cwd, env=env, stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(proc.pid, 0)
    wall = time.perf_counter() - start
    return wall, usage.ru_utime + usage.ru_stime, os.waitstatus_to_exitcode(status)


def peak_rss_kb(cmd, cwd, env):
    """Peak resident set size in KB as GNU time reports it (%M)."""
    with tempfile.NamedTemporaryFile("r") as out:
        subprocess.run(["/usr/bin/time", "-f", "%M", "-o", out.name] + cmd, cwd=cwd,
                       env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        text = out.read().split()
    return int(text[-1]) if text and text[-1].isdigit() else None


def check_peers(tools, corpus, inputs, workdir, env):
    """Informational: which peers agree with gcc's tokens on which input."""
    for source, dirs in inputs:
        ref = os.path.join(workdir, source + ".gcc.i")
        for tool, path in tools:
            if tool in ("gcc", "cpp", "floor"):
                continue
            out = os.path.join(workdir, "%s.%s.i" % (source, tool))
            subprocess.run(command(tool, path, source, dirs, out), cwd=corpus, env=env,
                           stdin=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            sys.stdout.write("%-12s %-6s " % (source, tool))
            sys.stdout.flush()
            tokens.compare(ref, out)


def check(cpp, corpus, inputs, workdir, env):
    """Compares cpp's tokens with gcc's on every input; returns the number of
    inputs that differ or fail."""
    failures = 0
    os.makedirs(workdir, exist_ok=True)
    for source, dirs in inputs:
        ref = os.path.join(workdir, source + ".gcc.i")
        out = os.path.join(workdir, source + ".cpp.i")
        subprocess.run(command("gcc", None, source, dirs, ref), cwd=corpus, env=env,
                       check=True)
        if cpp is None:
            continue
        res = subprocess.run(command("cpp", cpp, source, dirs, out), cwd=corpus, env=env,
                             stdin=subprocess.DEVNULL, stderr=subprocess.PIPE)
        notes = res.stderr.decode("latin-1").splitlines()
        print("%-12s exit %d, %d diagnostic line(s)" % (source, res.returncode, len(notes)))
        for line in notes[:3]:
            print("    " + line)
        if res.returncode != 0:
            failures += 1
        if tokens.compare(ref, out) != 0:
            failures += 1
    return failures


def measure(tools, corpus, inputs, runs, budget, env):
    """Returns {(source, tool): (wall median, cpu median, rss KB, status,
    runs)}. A tool whose warm-up run shows that `runs` runs would take more
    than `budget` seconds gets fewer runs (at least one)."""
    results = {}
    for source, dirs in inputs:
        cmds = {t: command(t, p, source, dirs, corpus=corpus) for t, p in tools}
        status = {}
        rss = {}
        wanted = {}
        for t, cmd in cmds.items():
            start = time.perf_counter()
            rss[t] = peak_rss_kb(cmd, corpus, env)
            warm = time.perf_counter() - start
            wanted[t] = max(1, min(runs, int(budget / warm))) if warm > 0 else runs
        walls = {t: [] for t in cmds}
        cpus = {t: [] for t in cmds}
        order = list(cmds)
        for r in range(runs):
            for t in order[r % len(order):] + order[:r % len(order)]:
                if r >= wanted[t]:
                    continue
                wall, cpu, code = run_timed(cmds[t], corpus, env)
                walls[t].append(wall)
                cpus[t].append(cpu)
                status[t] = code
        for t in cmds:
            results[(source, t)] = (statistics.median(walls[t]), statistics.median(cpus[t]),
                                    rss[t], status[t], wanted[t])
        sys.stderr.write("timed %s\n" % source)
    return results


def run_hyperfine(tools, corpus, inputs, runs, env, outdir):
    """Hands every input's commands to hyperfine as a second opinion
    (consecutive rather than interleaved runs)."""
    for source, dirs in inputs:
        cmds = [shlex.join(command(t, p, source, dirs, corpus=corpus)) for t, p in tools]
        md = os.path.join(outdir, "hyperfine-%s.md" % source)
        subprocess.run(["hyperfine", "-N", "-i", "--warmup", "1", "--runs", str(runs),
                        "--export-markdown", md] + cmds, cwd=corpus, env=env, check=False)


def table(tools, corpus, inputs, results, metric, max_runs):
    """The result table as a list of rows (header first). MB/s and the
    ratio to the fastest peer use `metric`: "wall" or "cpu" seconds."""
    pick = 0 if metric == "wall" else 1
    rows = [("input", "MB", "tool", "wall s", "cpu s", "MB/s", "RSS MB", "/ best peer")]
    for source, dirs in inputs:
        size = input_size(corpus, source, dirs) / 1e6
        peers = [(results[(source, t)][pick], t) for t, _ in tools if t in PEERS]
        best = min(peers) if peers else None
        label, shown = source, "%.2f" % size
        for t, _ in tools:
            wall, cpu, rss, status, runs = results[(source, t)]
            secs = (wall, cpu)[pick]
            ratio = "%.2f %s" % (secs / best[0], best[1]) if best and best[0] > 0 else "-"
            name = t if status == 0 else "%s [exit %d]" % (t, status)
            if runs < max_runs:
                name += " (%d run%s)" % (runs, "" if runs == 1 else "s")
            rate = "%.1f" % (size / secs) if secs > 0 else "-"
            rss_mb = "%.1f" % (rss / 1024) if rss else "?"
            rows.append((label, shown, name, "%.3f" % wall, "%.3f" % cpu, rate, rss_mb, ratio))
            label, shown = "", ""
    return rows


def print_table(rows, stream):
    widths = [max(len(r[i]) for r in rows) for i in range(len(rows[0]))]
    for r in rows:
        stream.write("  ".join(c.ljust(w) if i < 3 or i == len(r) - 1 else c.rjust(w)
                               for i, (c, w) in enumerate(zip(r, widths))).rstrip() + "\n")


def cpu_model(cpuinfo):
    """The processor's name in the text of /proc/cpuinfo, or "unknown
    processor" when it names none."""
    for line in cpuinfo.splitlines():
        key, _, value = line.partition(":")
        if key.strip() in ("model name", "Processor", "cpu model") and value.strip():
            return " ".join(value.split())
    return "unknown processor"


def host_description(label=None):
    """One line naming what the table was measured on: the processor and
    its cores (ratios move with the processor: one build's time has
    differed by a third between two hosts where sdcpp's was the same), the
    system, and `label` (the build measured) when given."""
    try:
        with open("/proc/cpuinfo") as f:
            model = cpu_model(f.read())
    except OSError:
        model = "unknown processor"
    parts = ["%s, %d cores" % (model, os.cpu_count() or 0), "%s %s" % (os.uname().sysname,
                                                                      os.uname().release)]
    if label:
        parts.append(label)
    parts.append(time.strftime("%Y-%m-%d %H:%M UTC", time.gmtime()))
    return "host: " + "; ".join(parts)


def write_markdown(rows, path, caption=None):
    with open(path, "w") as f:
        if caption:
            f.write(caption + "\n\n")
        f.write("| " + " | ".join(rows[0]) + " |\n")
        f.write("|" + "|".join("---" if i < 3 else "---:" for i in range(len(rows[0]))) + "|\n")
        for r in rows[1:]:
            f.write("| " + " | ".join(r) + " |\n")


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--cpp", help="the preprocessor under test")
    ap.add_argument("--floor", help="the widen/narrow floor program")
    ap.add_argument("--corpus", default=os.path.join(HERE, "out", "corpus"))
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--budget", type=float, default=30,
                    help="seconds one tool may spend on one input (fewer runs past it)")
    ap.add_argument("--check-only", action="store_true")
    ap.add_argument("--no-check", action="store_true")
    ap.add_argument("--markdown", help="also write the table as Markdown here")
    ap.add_argument("--label", help="what the host line names as the build measured "
                    "(a commit, say)")
    ap.add_argument("--metric", choices=("cpu", "wall"), default="cpu",
                    help="seconds behind MB/s and the ratio (default: cpu, which a "
                    "busy shared machine disturbs less)")
    ap.add_argument("--check-peers", action="store_true",
                    help="also compare every peer's tokens with gcc's")
    ap.add_argument("--hyperfine", action="store_true",
                    help="also time every input with hyperfine")
    ap.add_argument("--std", help="an ISO C standard (c99, c11, c17): cpp --std= against "
                    "every peer in that mode")
    args = ap.parse_args()
    global STD
    STD = args.std

    env = dict(os.environ, LC_ALL="C")
    corpus = os.path.abspath(args.corpus)
    inputs = read_manifest(corpus)
    cpp = os.path.abspath(args.cpp) if args.cpp and os.path.exists(args.cpp) else None
    if args.cpp and cpp is None:
        print("no preprocessor at %s: peers only" % args.cpp)

    tools = [("cpp", cpp)] if cpp else []
    tools += [(t, None) for t in PEERS if shutil.which(t)]
    if args.floor and os.path.exists(args.floor):
        tools.append(("floor", os.path.abspath(args.floor)))
    missing = [t for t in PEERS if not shutil.which(t)]
    if missing:
        print("peers not installed: " + ", ".join(missing))

    failures = 0
    workdir = os.path.join(os.path.dirname(corpus), "check")
    if (cpp or args.check_peers) and not args.no_check:
        print("== token check against gcc -E -undef -std=%s" % (STD or "gnu89"))
        failures = check(cpp, corpus, inputs, workdir, env)
        if cpp:
            print("check: %s" % ("all inputs agree" if failures == 0
                                 else "%d problem(s)" % failures))
        if args.check_peers:
            check_peers(tools, corpus, inputs, workdir, env)
    if args.check_only:
        return 1 if failures else 0

    print("== timing: median of %d interleaved runs per tool and input; MB/s and the "
          "ratio from %s seconds" % (args.runs, args.metric))
    results = measure(tools, corpus, inputs, args.runs, args.budget, env)
    rows = table(tools, corpus, inputs, results, args.metric, args.runs)
    host = host_description(args.label)
    print(host)
    print_table(rows, sys.stdout)
    if args.markdown:
        write_markdown(rows, args.markdown, host)
    if args.hyperfine and shutil.which("hyperfine"):
        run_hyperfine(tools, corpus, inputs, args.runs, env, os.path.dirname(corpus))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
