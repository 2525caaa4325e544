#!/usr/bin/env python3
"""Writes include trees in the fuzz corpus format (two bytes of option bits,
then main.c, inc/a.h and inc/b.h split at "@@@") for compare_builds.py: a
main file that includes the two headers again and again, in both forms and
under names that only open in lower case, and headers that are guarded
groups or almost: every guard form, comments around the group, a guard
defined on the command line, undefined or redefined between includes, or
cut to the significant length; #else and #elif of the group's own, text or
a directive after #endif, an unknown directive or "#endif junk" in the
skipped part, comments that hide an #endif or nest, trigraphs, splices, CR
line ends, nests deep enough to overflow the conditional stack when
included deep down, includes under #asm, through a macro, and with text
after the name.

A build that passes over a guarded header instead of reading it must do
exactly what a build that reads it does.

usage: gen_include_tree.py <out dir> [--count N] [--seed S]
"""
import argparse
import os
import random

# Bits of compare_builds.py's option list.
OPT_C, OPT_DFOO, OPT_UFOO, OPT_INC, OPT_L, OPT_N40, OPT_E1, OPT_EMAX, OPT_F = (
    0, 1, 3, 5, 6, 7, 8, 13, 14)

LONG = "GUARD_NAME_LONGER_THAN_FORTY_UNITS_ABCDEFG"  # 42 units; -N40 cuts it

GUARDS = ["A_H", "B_H", "FOO", LONG, LONG[:40] + "XY"]


GOOD_GUARDS = [
    "#ifndef %s", "#if !defined %s", "#if !defined(%s)", "#if ! defined ( %s )",
    "  #  ifndef %s", "#ifndef %s /* guard */", "#ifndef %s // guard",
    "#if !defined(%s) /* spans\n   two lines */", "#ifndef /* x */ %s",
]
# Not a guard the skip may take, or one that misreads.
BAD_GUARDS = ["#ifdef %s", "#if !defined %s || 0", "#ifndef %s junk", "#if !defined(%s",
              "#if !(defined %s)", "#ifndef", "#IFNDEF %s"]


def guard_open(rng, name, clean):
    forms = GOOD_GUARDS if clean or rng.random() < 0.5 else BAD_GUARDS
    return rng.choice(forms).replace("%s", name)


def body_line(rng, depth, clean):
    """A line of the group, or a nest of lines. A clean one is one that a
    skipped group takes quietly (it may still report when read)."""
    k = rng.randrange(17 if clean else 40)
    if clean and rng.random() < 0.04:
        k = 21  # a deep nest
    if k < 8:
        return rng.choice(["int x_%d;" % rng.randrange(9), "X(1) + G_VALUE", "text line",
                           "  indented(text);", "", "", "M(a, b)"])
    if k < 11:
        return rng.choice(["#define X(a) ((a) + 1)", "#define M(a, b) a ## b",
                           "#define G_VALUE 7", "#undef X", "#pragma pack 1",
                           "#line 40", "# 12 \"other.h\"", "#", "#ident \"x\"",
                           "#error in the group", "#warning in the group"])
    if k < 13:
        return rng.choice(['#include "b.h"', "#include <b.h>", '#include "a.h"'])
    if k < 15 and depth < 40:
        inner = [body_line(rng, depth + 1, clean) for _ in range(rng.randrange(3))]
        head = rng.choice(["#if 0", "#if 1", "#ifdef X", "#ifndef Y", "#if X(1)"])
        middle = rng.choice([[], ["#else"], ["#elif 1"], ["#elif 0", "#else"]] + (
            [] if clean else [["#else", "#else"], ["#else junk"], ["#else", "#elif 1"]]))
        tail = rng.choice(["#endif", "#endif", "#endif /* c */", "# endif"] +
                          ([] if clean else ["#endif junk"]))
        return "\n".join([head] + inner + middle + inner + [tail])
    if k < 17:
        return rng.choice(["/* a comment */", "// a line comment", "/* a comment\n   over lines */",
                           "/* hides\n#endif\n */", "a = b / c; d = e * f;", "x = '\"';"] + (
            [] if clean else ["/* nested /* comment */", 'char *s = "/* a comment in text";',
                              "*/"]))
    if k < 19:
        return rng.choice(["#foo unknown directive", "#asm", "#endasm", "# 7",
                           "#include", "#elifx", "#if_not"])
    if k < 21:
        return rng.choice(["??=define T 1", "a ??/\nb", "line \\\ncontinued", "tab\there",
                           "form\x0cfeed", "cr\r", "nul\x00byte", "??!", "'??''"])
    if k < 23:
        # Deep nests: with the includer's own depth they may pass 31.
        n = rng.randrange(10, 32)
        return "\n".join(["#if 1"] * n + ["deep"] + ["#endif"] * n)
    return rng.choice(["", "  ", "\t", "y;"])


ODD_LINES = [
    "#if 0 \\\n#endif", "#if 0 ??/\n#endif", "skipped \\\n#endif", "??=endif",
    "/* opens\n#endif", "/* a /* nested comment */", 'char *s = "/*";\n#endif\n*/',
    "lone\rcr", "nul\x00byte", "#unknown", "#else", "#elif 1", "#endif junk",
    "#if 1\n#else\n#else\n#endif", "#endif\nafter;\n#if 1", "x" * 5000,
    "#if 1 // spliced \\\n#endif", "#ifdef X\n#else junk\n#endif",
]


def header(rng, own, other):
    """A guarded header, or one that is almost: in a clean one, only what a
    skipped group takes quietly."""
    clean = rng.random() < 0.6
    guard = rng.choice(GUARDS + [own, own, own])
    lines = []
    for _ in range(rng.randrange(3)):
        lines.append(rng.choice(["/* header %s */" % own, "// %s" % own, "",
                                 "/* license\n * text\n */", "  ", "/**/"]))
    if not clean and rng.random() < 0.2:
        lines.append(rng.choice(["text before;", "#define BEFORE 1", "#pragma once"]))
    lines.append(guard_open(rng, guard, clean))
    if rng.random() < (0.95 if clean else 0.8):
        lines.append(rng.choice(["#define %s", "#define %s 1", "#  define %s /* c */",
                                 "#define %s()"]).replace("%s", guard))
    for _ in range(rng.randrange(8)):
        lines.append(body_line(rng, 0, clean))
    if clean and rng.random() < 0.3:
        # One line that a skipped group does not take as it reads: the
        # header must be read every time (or the two builds part).
        lines.insert(rng.randrange(1, len(lines) + 1), rng.choice(ODD_LINES))
    if not clean and rng.random() < 0.3:
        lines.append(rng.choice(["#else", "#elif 1", "#elif defined(%s)" % other]))
        lines.append(body_line(rng, 0, clean))
    lines.append(rng.choice(["#endif", "#endif", "#endif /* %s */" % guard, "#endif // g",
                             "  # endif", "#endif /* over\n lines */"] +
                            ([] if clean else ["#endif junk"])))
    for _ in range(rng.randrange(3)):
        lines.append(rng.choice(["", "", "/* after */", "// after"] + (
            [] if clean else ["text after;", "#define AFTER 1", "#endif", "#",
                              "/* unterminated"])))
    text = "\n".join(lines)
    roll = rng.random()
    if roll < 0.1:
        text = text.replace("\n", "\r\n")
    elif roll < 0.2:
        return text  # no line end at the end
    elif roll < 0.22:
        return ""
    return text + "\n"


def include_line(rng):
    name = rng.choice(["a.h", "b.h"])
    form = rng.choice(['#include "inc/%s"', "#include <%s>", '#include "%s"',
                       '#include "inc/%s"', "#include <%s>", '#include "INC/%s"',
                       '#include "inc/%s"'])
    line = form % (name.upper() if rng.random() < 0.1 else name)
    if rng.random() < 0.05:
        line += rng.choice([" trailing", " /* c */", " // c", "x"])
    return line


def main_text(rng):
    lines = []
    depth = 0
    for _ in range(rng.randrange(4, 40)):
        k = rng.randrange(30)
        if k < 14:
            lines.append(include_line(rng))
        elif k < 17:
            lines.append(rng.choice(["#undef A_H", "#undef B_H", "#undef FOO",
                                     "#define A_H", "#define B_H 2", "#define FOO",
                                     "#define " + LONG, "#undef " + LONG[:40] + "ZZ"]))
        elif k < 21:
            lines.append(rng.choice(["text;", "X(2) G_VALUE", "", "", "  x = 1;",
                                     "/* comment */", "// comment", "#pragma here",
                                     "M(p, q)", "A_H B_H"]))
        elif k < 23:
            lines.append(rng.choice(["#define HDR \"inc/a.h\"\n#include HDR",
                                     "#define HDR <b.h>\n#include HDR",
                                     "#define defined 1", "#undef defined",
                                     "#line 200 \"renamed.c\"", "# 9"]))
        elif k < 25:
            lines.append(rng.choice(["#asm", "#endasm"]))
        elif k < 27 and depth < 32:
            n = rng.choice([1, 1, 2, 20, 25, 28, 29, 30])
            lines.extend(["#if 1"] * n)
            depth += n
        elif k < 29 and depth > 0:
            lines.append("#endif")
            depth -= 1
        else:
            lines.append(rng.choice(["#if 0", "#else", "#endif", "#ifdef FOO", "#elif 1"]))
    lines.extend(["#endif"] * depth)
    return "\n".join(lines) + "\n"


def options(rng):
    mask = 1 << OPT_INC if rng.random() < 0.8 else 0
    for bit, share in ((OPT_C, 0.2), (OPT_DFOO, 0.2), (OPT_UFOO, 0.05), (OPT_L, 0.15),
                       (OPT_N40, 0.2), (OPT_E1, 0.1), (OPT_EMAX, 0.1), (OPT_F, 0.1)):
        if rng.random() < share:
            mask |= 1 << bit
    return mask


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("out")
    ap.add_argument("--count", type=int, default=1000)
    ap.add_argument("--seed", type=int, default=1)
    opts = ap.parse_args()
    rng = random.Random(opts.seed)
    os.makedirs(opts.out, exist_ok=True)
    for i in range(opts.count):
        mask = options(rng)
        parts = [main_text(rng), header(rng, "A_H", "B_H"), header(rng, "B_H", "A_H")]
        data = bytes([mask & 0xFF, mask >> 8]) + "@@@".join(parts).encode("latin-1")
        with open(os.path.join(opts.out, "tree-%05d" % i), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
