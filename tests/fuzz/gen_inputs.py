#!/usr/bin/env python3
"""Writes inputs in the fuzz corpus format (two bytes of option bits, then the
main file and up to two include files split at "@@@") for compare_builds.py,
the same for the same seed. Three kinds:

plain  Mostly plain C text, made of the tokens where the bulk copy of plain
       lines has its edges: names around the significant length and names
       that share their first two characters with a macro, numbers of every
       form (suffixes, exponents, hexadecimal, a name or number right after
       one), literals (escapes, trigraphs, unended), '?' and '/' beside what
       they may begin, runs of blanks of every kind, and lines of every length
       across the 32-byte steps of the scan and past the 8 KiB line buffer, in
       live and skipped groups. Some inputs then get NUL bytes anywhere in
       them (which the reader turns into spaces wherever the bulk path stops)
       or a UTF-8 byte-order mark in front, drawn from a generator of their
       own so that the text of every input stays the same.
macro  Macro-heavy text, made of what the bulk paths of argument collection
       and of copying macro text have their edges on: calls nested in
       arguments (read again, in place, at every level), arguments holding
       blanks of every kind, line ends, comments, literals, parentheses and
       commas, names around the significant length and names that are macros
       being expanded, numbers run into names, pastes and stringising next to
       them, marks of every kind, calls cut short, and argument texts read as
       comments.
tree   Include trees: a main file that includes inc/a.h and inc/b.h again and
       again, in both forms and under names that only open in lower case, and
       headers that are guarded groups or almost: every guard form, comments
       around the group, a guard defined on the command line, undefined or
       redefined between includes, or cut to the significant length; #else
       and #elif of the group's own, text or a directive after #endif, an
       unknown directive or "#endif junk" in the skipped part, comments that
       hide an #endif or nest, trigraphs, splices, CR line ends, nests deep
       enough to overflow the conditional stack when included deep down,
       includes under #asm, through a macro, and with text after the name. A
       build that passes over a guarded header must do exactly what a build
       that reads it does.

usage: gen_inputs.py plain|macro|tree <out dir> [--count N] [--seed S]
"""
import argparse
import os
import random

# --- plain ---------------------------------------------------------------

PLAIN_DEFINES = ["#define M1 one\n", "#define Mx(a) [a]\n", "#define FN(a, b) a + b\n",
                 "#define ab ba\n", "#define q Q\n", "#define e1 E1\n", "#define u U\n",
                 "#define LONG_MACRO_NAME_THAT_IS_CUT_AT_31_XYZ long\n"]
PLAIN_MACROS = [d.split()[1].split("(")[0] for d in PLAIN_DEFINES]
NUMBERS = [
    "0", "7", "42", "0112", "09", "4508U", "319L", "10UL", "10LU", "10ULL", "10U5",
    "0x118F", "0X1fu", "0x1Fg", "0x", "0b101", "0B2e3", "5.8e4", "1.5f", "1.e5", "1..5",
    ".5", ".5u", "1.5u", ".5.e1", "1.5.e1", "1.2.3", "2.0L", "1e+5", "3E-2", "12abc", "6_", "0xe+1",
]
LITERALS = [
    "'a'", "'\\n'", "'\\''", "\"s\"", "\"a b\"", "\"q\\\"q\"", "\"tri??/\"", "'??='",
    "\"/* x */\"", "\"//\"", "\"?\"", "\"", "'", "\"\\\\\"", "L'x'", "\"a\tb\"",
]
PUNCT = list("+-*%&|^<>!~=;,:()[]{}#.") + ["->", "++", "&&", "<<=", "...", "##"]
SPECIAL = ["?", "??", "??=", "??/", "/", "//", "/*", "*/", "/?", "$x", "a$", "\\",
           "\x1d", "\x1dz", "\x01", "\x7f", "\xe9"]
BLANKS = [" ", " ", " ", " ", "  ", "   ", "\t", " \t", "\t ", "\x1f", " \x1f ", "\x0b",
          "\x0c", "\r"]
CLEAN_LITERALS = ["'a'", "'\\n'", "'\\''", "\"s\"", "\"a b\"", "\"q\\\"q\"", "\"/* x */\"",
                  "\"?\"", "L'x'", "\"\\\\\""]
CLEAN_PUNCT = PUNCT + ["?", "/", "? ", "/ "]
CLEAN_BLANKS = [" ", " ", " ", " ", " ", "  ", "   "]
# The tokens of a line, by cumulative share (None: a name). A clean line holds
# what the bulk copy of whole lines takes, mostly: its names are rarely macros.
CLEAN_MIX = [(0.45, None), (0.6, NUMBERS), (0.66, CLEAN_LITERALS), (1.0, CLEAN_PUNCT)]
MIX = [(0.4, None), (0.55, NUMBERS), (0.62, LITERALS), (0.93, PUNCT), (1.0, SPECIAL)]
LETTERS = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_"


def plain_name(rng):
    roll = rng.random()
    if roll < 0.15:
        return rng.choice(PLAIN_MACROS)
    if roll < 0.3:  # shares its first two characters with a macro
        return rng.choice(PLAIN_MACROS)[:2] + rng.choice(["", "z", "_9", "xx"])
    n = rng.choice([29, 30, 31, 32, 33, 40, 64]) if roll < 0.4 else rng.randint(1, 12)
    return rng.choice(LETTERS) + "".join(rng.choice(LETTERS + "0123456789") for _ in range(n - 1))


def plain_token(rng, clean):
    roll = rng.random()
    choices = next(c for share, c in (CLEAN_MIX if clean else MIX) if roll < share)
    if choices is not None:
        return rng.choice(choices)
    if clean and rng.random() >= 0.2:
        return plain_name(rng).lstrip("MFaqeu") or "z"
    return plain_name(rng)


def plain_line(rng):
    if rng.random() < 0.06:  # directives, and groups of skipped text
        return rng.choice(["", "#", "# 5", "#if 1", "#endif", "#define T(x) x", "  #  ",
                           "#if 0", "#if 0", "#else", "#elif 1", "#ifdef M1", "#ifndef q",
                           "  # endif", "??=endif"]) + "\n"
    parts = [rng.choice(["", "", "    ", "\t", "  \t "])]
    # Lengths around the 32-byte steps of the scan, and past the line buffer.
    target = rng.choice([8, 20, 31, 32, 33, 40, 63, 64, 65, 100, 200])
    if rng.random() < 0.005:
        target = rng.choice([8189, 8190, 8191, 9000, 20000])
    size = 0
    clean = rng.random() < 0.7
    while size < target:
        parts.append(plain_token(rng, clean))
        size += len(parts[-1])
        if rng.random() < 0.6:
            parts.append(rng.choice(CLEAN_BLANKS if clean else BLANKS))
            size += len(parts[-1])
    if clean and rng.random() < 0.6:
        parts.append(rng.choice(";,){}"))
    if rng.random() < 0.2:
        parts.append(rng.choice([" ", "  ", "\t", " \t "]))
    end = rng.choice(["\\\n", "\r\n", "??/\n"]) if rng.random() < 0.03 else "\n"
    return "".join(parts) + end


def add_odd_bytes(rng, data):
    """NUL bytes at random places, or a byte-order mark in front."""
    roll = rng.random()
    if roll < 0.1:
        data = bytearray(data)
        for _ in range(rng.choice([1, 1, 2, 5, 40])):
            data.insert(rng.randint(0, len(data)), 0)
        return bytes(data)
    return b"\xef\xbb\xbf" + data if roll < 0.15 else data


def plain_input(rng, seed, i):
    # Option bits: mostly none, sometimes comments kept (-C) or others.
    mask = 0 if rng.random() < 0.6 else rng.getrandbits(16) & 0x0FFF
    odd = random.Random(seed * 1000003 + i)
    text = "".join(rng.sample(PLAIN_DEFINES, rng.randint(0, len(PLAIN_DEFINES))))
    for _ in range(rng.randint(1, 60 if rng.random() < 0.8 else 400)):
        text += plain_line(rng)
    if rng.random() < 0.1:
        text = text[:-1]  # no newline at the end
    return mask, add_odd_bytes(odd, text.encode("latin-1"))


# --- macro ---------------------------------------------------------------

MACRO_DEFINES = [
    "#define ID(x) x", "#define TWO(a, b) a b", "#define PAIR(a, b) (a, b)",
    "#define WRAP(x) ID(ID(x))", "#define DEEP(x) WRAP(WRAP(x) + 1)",
    "#define CALL(f, x) f(x)", "#define CAT(a, b) a ## b", "#define STR(x) #x",
    "#define XSTR(x) STR(x)", "#define SELF SELF + 1", "#define REC(x) REC(x) x",
    "#define OBJ obj_value", "#define EMPTY", "#define NUM 42", "#define F() f_empty",
    "#define LONG_NAME_OF_THIRTY_ONE_UNITS_AB(x) [x]", "#define ab ba",
    "#define MIX(a, b, c) ((a) * (b) - (c))", "#define COMMA ,", "#define LP (",
    "#define G(x) x ## 12 ## x", "#define Q(x) '?' x \"?\"", "#define SP(x) ( x )",
]
MACRO_NAMES = [d.split()[1].split("(")[0] for d in MACRO_DEFINES]
ATOMS = ["x", "y_1", "12", "0x1F", "1.5e3", "7abc", "a1b2", "'c'", '"s, (t)"', "'\\''",
         '"/* no */"', "+", "-", "*", "/", "&&", "<<", "!", "~", ".", "[0]", "->",
         "LONG_NAME_OF_THIRTY_ONE_UNITS_ABC", "LONG_NAME_OF_THIRTY_ONE_UNITS_AB",
         "name_that_is_longer_than_forty_units_abcdefgh", "abc", "ab", "a", "$d"]
ARG_BLANKS = [" ", " ", "", "", "  ", "\t", " \t ", "\n", " \n  ", "/* c */", "/**/", "// c\n",
              "\x0b", "\x0c", "\r", " /* two\n lines */ "]
ODD = ["??=", "??/\n", "\\\n", "\\x", "\x1d", "\x1e", "\x1f", "\x00", "#", "##", "@"]


def macro_arg(rng, depth):
    parts = []
    for _ in range(rng.randrange(0, 5)):
        roll = rng.random()
        if roll < 0.25 and depth < 4:
            parts.append(macro_call(rng, depth + 1))
        elif roll < 0.3:
            parts.append("(" + macro_arg(rng, depth + 1) + ")")
        elif roll < 0.33:
            parts.append("(" + macro_arg(rng, depth + 1) + ", " + macro_arg(rng, depth + 1) + ")")
        else:
            parts.append(rng.choice(ODD if roll < 0.36 else MACRO_NAMES if roll < 0.45 else ATOMS))
        parts.append(rng.choice(ARG_BLANKS))
    return "".join(parts)


def macro_call(rng, depth):
    name = rng.choice(MACRO_NAMES)
    if rng.random() < 0.1:
        return name  # no call
    n = rng.choice([0, 1, 1, 1, 2, 2, 3])
    args = [rng.choice(ARG_BLANKS) + macro_arg(rng, depth) + rng.choice(ARG_BLANKS)
            for _ in range(n)]
    text = name + rng.choice(["", "", " ", "\n", " \n "]) + "(" + ",".join(args)
    return text + ("" if rng.random() < 0.02 else ")")


def macro_input(rng, seed, i):
    # Option bits: mostly none; sometimes -C (bit 0) or -N40 (bit 7).
    mask = rng.choice([0, 0, 0, 1, 1 << 7, 1 | 1 << 7])
    lines = rng.sample(MACRO_DEFINES, rng.randrange(len(MACRO_DEFINES) // 2, len(MACRO_DEFINES)))
    for _ in range(rng.randrange(1, 30)):
        if rng.random() < 0.05:
            # (A string in #if ends the expression, and the rest of the line,
            # argument text included, is read as comments and all.)
            lines.append(rng.choice(["#undef ID", "#define ID(x) [x]", "#undef SELF",
                                     "#if DEEP(1)", "#endif", "#define ab ab",
                                     '#if ID("/* c */1")\n#endif',
                                     '#if TWO("/* c */2", x)\n#endif']))
        else:
            lines.append(" ".join(macro_call(rng, 0) for _ in range(rng.randrange(1, 4))) + ";")
    return mask, ("\n".join(lines) + "\n").encode("latin-1")


# --- tree ----------------------------------------------------------------

# Bits of compare_builds.py's option list, with the share of inputs using each.
OPT_INC = 5
OPT_SHARES = ((0, 0.2), (1, 0.2), (3, 0.05), (6, 0.15), (7, 0.2), (8, 0.1), (13, 0.1), (14, 0.1))
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
# The lines of a group by kind (body_line's roll k below each bound); a clean
# kind is one that a skipped group takes quietly (it may still report when
# read), and the unclean lines are added to it otherwise.
BODY_KINDS = [
    (8, ["int x_%d;", "X(1) + G_VALUE", "text line", "  indented(text);", "", "", "M(a, b)"], []),
    (11, ["#define X(a) ((a) + 1)", "#define M(a, b) a ## b", "#define G_VALUE 7", "#undef X",
          "#pragma pack 1", "#line 40", "# 12 \"other.h\"", "#", "#ident \"x\"",
          "#error in the group", "#warning in the group"], []),
    (13, ['#include "b.h"', "#include <b.h>", '#include "a.h"'], []),
    (15, None, None),  # a nest
    (17, ["/* a comment */", "// a line comment", "/* a comment\n   over lines */",
          "/* hides\n#endif\n */", "a = b / c; d = e * f;", "x = '\"';"],
     ["/* nested /* comment */", 'char *s = "/* a comment in text";', "*/"]),
    (19, ["#foo unknown directive", "#asm", "#endasm", "# 7", "#include", "#elifx", "#if_not"],
     []),
    (21, ["??=define T 1", "a ??/\nb", "line \\\ncontinued", "tab\there", "form\x0cfeed", "cr\r",
          "nul\x00byte", "??!", "'??''"], []),
]


def body_line(rng, depth, clean):
    """A line of the group, or a nest of lines."""
    k = rng.randrange(17 if clean else 40)
    if clean and rng.random() < 0.04:
        k = 21  # a deep nest
    for bound, lines, unclean in BODY_KINDS:
        if k >= bound or (lines is None and depth >= 40):
            continue
        if lines is not None:
            n = rng.randrange(9) if bound == 8 else 0  # for "int x_%d;"
            return rng.choice(lines + ([] if clean else unclean)).replace("%d", str(n))
        inner = [body_line(rng, depth + 1, clean) for _ in range(rng.randrange(3))]
        head = rng.choice(["#if 0", "#if 1", "#ifdef X", "#ifndef Y", "#if X(1)"])
        middle = rng.choice([[], ["#else"], ["#elif 1"], ["#elif 0", "#else"]] + (
            [] if clean else [["#else", "#else"], ["#else junk"], ["#else", "#elif 1"]]))
        tail = rng.choice(["#endif", "#endif", "#endif /* c */", "# endif"] +
                          ([] if clean else ["#endif junk"]))
        return "\n".join([head] + inner + middle + inner + [tail])
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
    lines = [rng.choice(["/* header %s */" % own, "// %s" % own, "", "/* license\n * text\n */",
                         "  ", "/**/"]) for _ in range(rng.randrange(3))]
    if not clean and rng.random() < 0.2:
        lines.append(rng.choice(["text before;", "#define BEFORE 1", "#pragma once"]))
    forms = GOOD_GUARDS if clean or rng.random() < 0.5 else BAD_GUARDS
    lines.append(rng.choice(forms).replace("%s", guard))
    if rng.random() < (0.95 if clean else 0.8):
        lines.append(rng.choice(["#define %s", "#define %s 1", "#  define %s /* c */",
                                 "#define %s()"]).replace("%s", guard))
    lines += [body_line(rng, 0, clean) for _ in range(rng.randrange(8))]
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
    lines += [rng.choice(["", "", "/* after */", "// after"] + (
        [] if clean else ["text after;", "#define AFTER 1", "#endif", "#", "/* unterminated"]))
        for _ in range(rng.randrange(3))]
    text = "\n".join(lines)
    roll = rng.random()
    # CR LF line ends, no line end at the end, or an empty header.
    return (text.replace("\n", "\r\n") + "\n" if roll < 0.1 else text if roll < 0.2 else
            "" if roll < 0.22 else text + "\n")


def include_line(rng):
    name = rng.choice(["a.h", "b.h"])
    form = rng.choice(['#include "inc/%s"', "#include <%s>", '#include "%s"',
                       '#include "inc/%s"', "#include <%s>", '#include "INC/%s"',
                       '#include "inc/%s"'])
    line = form % (name.upper() if rng.random() < 0.1 else name)
    if rng.random() < 0.05:
        line += rng.choice([" trailing", " /* c */", " // c", "x"])
    return line


# The other lines of a main file, by roll (below each bound).
MAIN_KINDS = [
    (17, ["#undef A_H", "#undef B_H", "#undef FOO", "#define A_H", "#define B_H 2",
          "#define FOO", "#define " + LONG, "#undef " + LONG[:40] + "ZZ"]),
    (21, ["text;", "X(2) G_VALUE", "", "", "  x = 1;", "/* comment */", "// comment",
          "#pragma here", "M(p, q)", "A_H B_H"]),
    (23, ["#define HDR \"inc/a.h\"\n#include HDR", "#define HDR <b.h>\n#include HDR",
          "#define defined 1", "#undef defined", "#line 200 \"renamed.c\"", "# 9"]),
    (25, ["#asm", "#endasm"]),
]


def main_text(rng):
    lines = []
    depth = 0
    for _ in range(rng.randrange(4, 40)):
        k = rng.randrange(30)
        if k < 14:
            lines.append(include_line(rng))
        elif k < 25:
            lines.append(rng.choice(next(c for bound, c in MAIN_KINDS if k < bound)))
        elif k < 27 and depth < 32:
            n = rng.choice([1, 1, 2, 20, 25, 28, 29, 30])
            lines += ["#if 1"] * n
            depth += n
        elif k < 29 and depth > 0:
            lines.append("#endif")
            depth -= 1
        else:
            lines.append(rng.choice(["#if 0", "#else", "#endif", "#ifdef FOO", "#elif 1"]))
    return "\n".join(lines + ["#endif"] * depth) + "\n"


def tree_input(rng, seed, i):
    mask = 1 << OPT_INC if rng.random() < 0.8 else 0
    for bit, share in OPT_SHARES:
        mask |= (rng.random() < share) << bit
    parts = [main_text(rng), header(rng, "A_H", "B_H"), header(rng, "B_H", "A_H")]
    return mask, "@@@".join(parts).encode("latin-1")


KINDS = {"plain": plain_input, "macro": macro_input, "tree": tree_input}


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("kind", choices=KINDS)
    ap.add_argument("out")
    ap.add_argument("--count", type=int, default=1000)
    ap.add_argument("--seed", type=int, default=1)
    opts = ap.parse_args()
    rng = random.Random(opts.seed)
    os.makedirs(opts.out, exist_ok=True)
    for i in range(opts.count):
        mask, data = KINDS[opts.kind](rng, opts.seed, i)
        with open(os.path.join(opts.out, "%s-%05d" % (opts.kind, i)), "wb") as f:
            f.write(bytes([mask & 0xFF, mask >> 8]) + data)


if __name__ == "__main__":
    main()
