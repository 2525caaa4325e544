#!/usr/bin/env python3
"""Writes inputs in the fuzz corpus format (two bytes of option bits, then the
main file and up to two include files split at "@@@") for compare_builds.py,
the same for the same seed. Four kinds:

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
       them, marks of every kind, calls cut short, argument texts read as
       comments, and parameters named more than once (whose argument's output
       may be written again).
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
    "#define MAX(a, b) ((a) > (b) ? (a) : (b))", "#define SQ(x) ((x) * (x))",
    "#define TW(x) x, x", "#define PICK(a, b) ((a),(b),(a),(b))", "#define RPT(x) (x)(x) (x)x",
    "#define DUP(f, x) f(x) + (f)(x)", "#define NEST(x) SQ(x) + (x) MAX(x, (x))",
    "#define LNE(x) ((x) __LINE__ (x))", "#define SQS(x) SQ(x), SQ((x))",
    # Object-like chains: apart by blanks, parentheses and commas, or not;
    # a cycle, a line number, a literal, a function-like name on the way.
    "#define K0 (3)", "#define K1 (K0 + 1)", "#define K2 K1", "#define K3 (K2,K1) K0",
    "#define KT\t(K1\tK2)", "#define KE (EMPTY K2)", "#define KN (NUM,K3)",
    "#define KP (K1)+K0", "#define KD K1.5", "#define KX 1e+K0", "#define KC (KC2 - 1)",
    "#define KC2 (KC)", "#define KL (__LINE__ K0)", "#define KF (K1 ID)", "#define KS (K0 \"s\")",
    "#define KO (K1 OBJ)", "#define KSELF (K1, SELF)", "#define KE2 (K1 EMPTY + K0)",
    "#define KW (K2 + 1)", "#define KM (0x7 << K1)", "#define KM2 (KM + KW)",
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
            lines.append(rng.choice(["#undef ID", "#define ID(x) [x]", "#undef SELF", "#undef K0",
                                     "#define K0 (4)", "#define K1 7", "#define OBJ 8",
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


# --- iso -----------------------------------------------------------------

# Programs in ISO C99 for a comparison with other preprocessors, by family;
# every family keeps to what the standard defines: no '#' on the text of an
# expansion whose spacing is left open, no paste that forms no token, no
# signed overflow or shift out of range in #if, no function-like name at the
# end of an expansion that a call from the source could take as nested.
ISO_FAMILIES = ["args", "rescan", "variadic", "empty", "pragma", "if64", "digraph",
                "skipped", "skipdirs", "splice", "limits", "stringise", "argdirs"]

# The examples of the standard's macro section, word for word (#include and
# the line of text a directive would take left out).
ISO_EXAMPLES = [
    """#define x 3
#define f(a) f(x * (a))
#undef x
#define x 2
#define g f
#define z z[0]
#define h g(~
#define m(a) a(w)
#define w 0,1
#define t(a) a
#define p() int
#define q(x) x
#define r(x,y) x ## y
#define str(x) # x
f(y+1) + f(f(z)) % t(t(g)(0) + t)(1);
g(x+(3,4)-w) | h 5) & m
(f)^m(m);
p() i[q()] = { q(1), r(2,3), r(4,), r(,5), r(,) };
char c[2][6] = { str(hello), str() };
#undef x
#undef f
#undef g
#undef z
#undef h
#undef m
#undef w
#undef t
#undef p
#undef q
#undef r
#undef str""",
    """#define str(s) # s
#define xstr(s) str(s)
#define debug(s, t) printf("x" # s "= %d, x" # t "= %s", \\
 x ## s, x ## t)
#define INCFILE(n) vers ## n
#define glue(a, b) a ## b
#define xglue(a, b) glue(a, b)
#define HIGHLOW "hello"
#define LOW LOW ", world"
debug(1, 2);
fputs(str(strncmp("abc\\0d", "abc", '\\4') // this goes away
 == 0) str(: @\\n), s);
xstr(INCFILE(2).h)
glue(HIGH, LOW);
xglue(HIGH, LOW)
#undef str
#undef xstr
#undef debug
#undef INCFILE
#undef glue
#undef xglue
#undef HIGHLOW
#undef LOW""",
    """#define t(x,y,z) x ## y ## z
int j[] = { t(1,2,3), t(,4,5), t(6,,7), t(8,9,),
 t(10,,), t(,11,), t(,,12), t(,,) };
#undef t""",
    """#define OBJ_LIKE (1-1)
#define OBJ_LIKE /* white space */ (1-1) /* other */
#define FUNC_LIKE(a) ( a )
#define FUNC_LIKE( a )( /* note the white space */ \\
 a /* other stuff on this line
 */ )
OBJ_LIKE FUNC_LIKE(q)
#undef OBJ_LIKE
#undef FUNC_LIKE""",
    """#define debug(...) fprintf(stderr, __VA_ARGS__)
#define showlist(...) puts(#__VA_ARGS__)
#define report(test, ...) ((test)?puts(#test):\\
 printf(__VA_ARGS__))
debug("Flag");
debug("X = %d\\n", x);
showlist(The first, second, and third items.);
report(x>y, "x is %d but y is %d", x, y);
#undef debug
#undef showlist
#undef report""",
    """#define hash_hash # ## #
#define mkstr(a) # a
#define in_between(a) mkstr(a)
#define join(c, d) in_between(c hash_hash d)
char p[] = join(x, y);
#undef hash_hash
#undef mkstr
#undef in_between
#undef join""",
    """#define LPAREN() (
#define G(Q) 42
#define F(R, X, ...) __VA_ARGS__ X R
int x = F(LPAREN(), 0, <:-);
#undef LPAREN
#undef G
#undef F""",
    """#define DO_PRAGMA(x) _Pragma (#x)
DO_PRAGMA(listing on "..\\listing.dir")
#undef DO_PRAGMA""",
]

ISO_WORDS = ["a", "b", "c", "x", "y", "z", "id", "val", "n1", "k_2", "_u"]
ISO_ATOMS = ISO_WORDS + ["0", "1", "42", "0x1f", "7u", "1.5", "'c'", '"s"', '"a,b"', "+", "-",
                         "*", "<<", "==", "&&", "!", "~", "[0]", "->", ".", "?", ":", ";"]


def iso_atom(rng):
    return rng.choice(ISO_ATOMS)


class IsoMacros:
    """A set of macros over the names of one snippet, none of which calls
    itself: the bodies of macro k name macros below k only, and a
    function-like name in a body is always followed by its whole call. A
    macro that stringises a parameter is called from the source only, where
    its argument is text as written."""

    def __init__(self, rng, tag, count):
        self.rng = rng
        self.defs = []
        self.macros = []  # (name, params or None, stringises)
        self.used = {}
        for k in range(count):
            name = "M%d_%s" % (k, tag)
            params = None if rng.random() < 0.3 else [
                "p%d" % j for j in range(rng.choice([1, 1, 2, 2, 3]))]
            body, strings = self.body(params, k)
            head = name if params is None else "%s(%s)" % (name, ", ".join(params))
            self.defs.append("#define %s %s" % (head, body))
            self.macros.append((name, params, strings))

    def call(self, below, depth, params, in_body):
        """A call of a macro below `below`, its arguments made of atoms,
        parameters and further calls."""
        rng = self.rng
        choices = [m for m in self.macros[:below] if not (in_body and m[2])]
        if not choices:
            return iso_atom(rng)
        name, ps, _ = rng.choice(choices)
        if ps is None:
            return name
        args = [self.arg(below, depth + 1, params, in_body) for _ in ps]
        return "%s(%s)" % (name, ", ".join(args))

    def arg(self, below, depth, params, in_body):
        rng = self.rng
        parts = []
        for _ in range(rng.randrange(1, 4)):
            roll = rng.random()
            if roll < 0.35 and depth < 4 and below > 0:
                parts.append(self.call(below, depth, params, in_body))
            elif roll < 0.55 and self.free(params):
                parts.append(self.use(params))
            elif roll < 0.62 and depth < 4:
                parts.append("(" + self.arg(below, depth + 1, params, in_body) + ", " +
                             iso_atom(rng) + ")")
            else:
                parts.append(iso_atom(rng))
        return " ".join(parts)

    def free(self, params):
        return [p for p in params or [] if self.used.get(p, 0) < 2]

    def use(self, params):
        """A parameter, each at most twice in a body (or the text of a call
        grows as a power of the depth)."""
        p = self.rng.choice(self.free(params))
        self.used[p] = self.used.get(p, 0) + 1
        return p

    def body(self, params, k):
        rng = self.rng
        parts = []
        strings = False
        self.used = {}
        for _ in range(rng.randrange(1, 5)):
            roll = rng.random()
            if roll < 0.4 and k > 0:
                # Calls in a body take no further calls in their arguments.
                parts.append(self.call(k, 3, params, True))
            elif roll < 0.7 and self.free(params):
                parts.append(self.use(params))
            elif roll < 0.75 and self.free(params):
                # Operands of # are not expanded first.
                parts.append("#" + self.use(params))
                strings = True
            else:
                parts.append(iso_atom(rng))
        return " ".join(parts), strings

    def uses(self, count):
        self.used = {}
        return [self.call(len(self.macros), 0, None, False) + " ;" for _ in range(count)]


def iso_args(rng, tag):
    roll = rng.random()
    if roll < 0.15:
        return rng.choice(ISO_EXAMPLES[:3] + ISO_EXAMPLES[5:7])
    if roll < 0.35:
        # A macro named inside the expansion of its own argument.
        depth = rng.randrange(1, 4)
        lines = ["#define A_%s(c) B_%s(c)" % (tag, tag),
                 "#define B_%s(e) ((e) ? (void)0 : fail(e))" % tag,
                 "#define C_%s(c, e) (A_%s(c), (e))" % (tag, tag),
                 "#define D_%s(u) ((u)->v != 0)" % tag,
                 "#define E_%s(u) C_%s(D_%s(u), (u)->v)" % (tag, tag, tag)]
        inner = "uv"
        for _ in range(depth):
            inner = rng.choice(["E_%s(%s)", "A_%s(%s)", "C_%s(%s, 1)", "D_%s(%s)"]) % (tag, inner)
        lines.append("A_%s(%s < top);" % (tag, inner))
        lines.append("C_%s(A_%s(x), E_%s(y));" % (tag, tag, tag))
        return "\n".join(lines)
    if roll < 0.5:
        # Indirection: an argument expanded before it is pasted one level down.
        one = rng.choice(["1", "ONE_%s" % tag])
        lines = ["#define ONE_%s 1" % tag, "#define G_%s() x ONE_%s" % (tag, tag),
                 "#define CAT_%s(a, b) a ## b" % tag, "#define XCAT_%s(a, b) CAT_%s(a, b)" % (tag, tag),
                 "#define N_%s %s" % (tag, rng.choice(["2", "two", "_3"]))]
        for _ in range(rng.randrange(1, 5)):
            a = rng.choice(["G_%s()" % tag, "ONE_%s" % tag, "N_%s" % tag, "pre", one])
            b = rng.choice(["2", "N_%s" % tag, "ONE_%s" % tag, "post", "G_%s()" % tag])
            if b.startswith("G_"):
                b = "N_%s" % tag  # pastes its first token: keep it a name or number
            macro = rng.choice(["XCAT_%s", "XCAT_%s", "CAT_%s"]) % tag
            if macro.startswith("CAT_") and ("(" in a or "(" in b):
                macro = "XCAT_" + tag
            lines.append("%s(%s, %s);" % (macro, a, b))
        return "\n".join(lines)
    m = IsoMacros(rng, tag, rng.randrange(2, 8))
    return "\n".join(m.defs + m.uses(rng.randrange(1, 6)))


def iso_rescan(rng, tag):
    shapes = [
        "#define f_{t}(x) x f_{t}\nf_{t}(1)(2) f_{t}(f_{t}(3));",
        "#define AA_{t} BB_{t}\n#define BB_{t} AA_{t}\nAA_{t} BB_{t} (AA_{t}) [BB_{t}];",
        "#define S_{t} S_{t} + 1\nS_{t}; (S_{t});",
        "#define obj_{t} (obj_{t} + 1)\n#define ID_{t}(x) x\nID_{t}(obj_{t}) ID_{t}(ID_{t}(obj_{t}));",
        "#define g_{t} h_{t}(g_{t})\n#define h_{t}(a) a\n#define I_{t}(x) x\ng_{t} I_{t}(g_{t}) I_{t}(I_{t}(g_{t}));",
        "#define f_{t}(x) g_{t}(x\n#define g_{t}(x) [x]\nf_{t}(1)) f_{t}(2)+3);",
        "#define f_{t}(a) a*g_{t}\n#define g_{t} f_{t}\nf_{t}(2) + g_{t}(3);",
        "#define q_{t}(x) x\n#define r_{t} q_{t}\nr_{t}(1) r_{t} (2) r_{t}\n(3);",
        "#define F_{t}(x) x\n#define G_{t} F_{t}(G_{t})\nF_{t}(G_{t}) F_{t}(F_{t}(G_{t}));",
        "#define NIL_{t}(x) x\n#define H_{t} NIL_{t}\nH_{t}(NIL_{t})(4) H_{t};",
        "#define e_{t}(x) x e_{t}(x)\ne_{t}(e_{t}(1));",
        "#define lp_{t} (\n#define one_{t}(x) <x>\none_{t} lp_{t} 1) one_{t}(lp_{t});",
        "#define m_{t}(x) n_{t}(x)\n#define n_{t}(x) m_{t}(x) x\nm_{t}(1) n_{t}(2);",
        "#define k_{t} k_{t}\n#define CAT_{t}(a, b) a ## b\nCAT_{t}(k_, {t}) CAT_{t}(k, _{t});",
    ]
    picks = rng.sample(shapes, rng.randrange(1, 4))
    return "\n".join(s.replace("{t}", tag) for s in picks)


def iso_variadic(rng, tag):
    if rng.random() < 0.1:
        return rng.choice([ISO_EXAMPLES[4], ISO_EXAMPLES[6]])
    t = tag
    lines = ["#define V_%s(a, ...) a , ## __VA_ARGS__" % t,
             "#define W_%s(...) w , ## __VA_ARGS__" % t,
             "#define L_%s(...) __VA_ARGS__" % t,
             "#define S_%s(...) #__VA_ARGS__" % t,
             "#define N_%s(a, b, ...) (a) [b] {__VA_ARGS__}" % t,
             "#define X_%s(fmt, ...) f(fmt, ## __VA_ARGS__)" % t,
             "#define O_%s 7" % t,
             "#define P_%s(x) <x>" % t]
    args = ["1", "O_%s" % t, "P_%s(2)" % t, "a b", "\"s, t\"", "(x, y)", "L_%s(3, 4)" % t,
            "V_%s(5, 6)" % t, "", "'c'"]
    calls = [
        "V_{t}(1)", "V_{t}(1,)", "V_{t}(1, )", "W_{t}()", "W_{t}( )", "V_{t}(1, V_{t}(2,3))",
        "V_{t}(1,2,3)", "W_{t}(4)", "W_{t}(4, 5)", "X_{t}(\"m\")", "X_{t}(\"m\", 1, O_{t})",
        "X_{t}(\"m\",)", "L_{t}()", "L_{t}(O_{t}, P_{t}(O_{t}))", "S_{t}()",
        "N_{t}(1, 2)", "N_{t}(1, 2, 3)", "N_{t}(1, 2, 3, 4)", "N_{t}(,,)",
    ]
    out = []
    for _ in range(rng.randrange(3, 10)):
        roll = rng.random()
        if roll < 0.5:
            out.append(rng.choice(calls).replace("{t}", t) + ";")
        else:
            n = rng.randrange(0, 5)
            vargs = [rng.choice(args) for _ in range(n)]
            macro = rng.choice(["V_%s", "W_%s", "L_%s", "N_%s", "X_%s", "S_%s"]) % t
            if macro.startswith("S_"):
                # Stringised as written: no macro names, spacing from the source.
                vargs = [rng.choice(["1", "a  b", "\"s, t\"", "( x ,y )", "'c'", "", " z "])
                         for _ in range(n)]
            if macro[0] in "VNX":
                vargs = [rng.choice(args[:8])] + vargs
            if macro[0] == "N":
                vargs = [rng.choice(args[:8])] + vargs
            out.append("%s(%s);" % (macro, ",".join(vargs)))
    return "\n".join(lines + out)


def iso_empty(rng, tag):
    t = tag
    if rng.random() < 0.15:
        return ISO_EXAMPLES[2]
    lines = ["#define T_%s(x, y, z) x ## y ## z" % t,
             "#define C_%s(a, b) a ## b" % t,
             "#define S_%s(a) #a" % t,
             "#define S2_%s(a, b) #a #b" % t,
             "#define ONE_%s(x) [x]" % t,
             "#define Z_%s() z" % t,
             "#define E_%s" % t,
             "#define F_%s(a, b, c) {a|b|c}" % t,
             "#define P_%s(a, b) a ## -b- ## a" % t,
             "#define Q_%s(a, b) #a ## b" % t]
    single = ["", "", "1", "x", "E_%s" % t, "_9", "0x1"]
    out = []
    for _ in range(rng.randrange(3, 12)):
        pick = rng.randrange(9)
        a, b, c = (rng.choice(single) for _ in range(3))
        if pick == 0:
            out.append("T_%s(%s,%s,%s)" % (t, a, b, c))
        elif pick == 1:
            out.append("C_%s(%s, %s)" % (t, a, b))
        elif pick == 2:
            out.append("S_%s(%s) S2_%s(%s,%s)" % (t, a, t, b, c))
        elif pick == 3:
            out.append("ONE_%s(%s) ONE_%s() Z_%s() Z_%s( )" % (t, a, t, t, t))
        elif pick == 4:
            out.append("F_%s(%s,%s,%s)" % (t, a, b, c))
        elif pick == 5:
            # Pastes with '-' on either side: valid only with nothing.
            out.append("P_%s(, %s)" % (t, b))
        elif pick == 6:
            # A string pasted to nothing.
            out.append("Q_%s(%s,)" % (t, a))
        elif pick == 7:
            out.append("C_%s(C_%s(,),) C_%s(,C_%s)" % (t, t, t, t))
        else:
            out.append("ONE_%s(E_%s) F_%s(E_%s,,E_%s)" % (t, t, t, t, t))
    return "\n".join(lines + [o + ";" for o in out])


PRAGMA_WORDS = ["tool_x", "listing on", "vendor opt(1, 2)", "section \"data\"", "tool_y a=b",
                "STDC FP_CONTRACT ON", "tool_z \"q\" 'c' 3.5"]


def iso_pragma(rng, tag):
    t = tag
    lines = ["#define DO_%s(x) _Pragma(#x)" % t,
             "#define P_%s(x) x _Pragma(\"tool_p\") x" % t,
             "#define ID_%s(x) x" % t]
    for _ in range(rng.randrange(2, 7)):
        word = rng.choice(PRAGMA_WORDS)
        esc = word.replace("\\", "\\\\").replace('"', '\\"')
        pick = rng.randrange(9)
        if pick == 0:
            lines.append('a _Pragma("%s") b' % esc)
        elif pick == 1:
            lines.append("DO_%s(%s) c" % (t, word))
        elif pick == 2:
            lines.append("P_%s(%s) d" % (t, rng.choice(["1", "y"])))
        elif pick == 3:
            lines.append('_Pragma ( "%s" ) e' % esc)
        elif pick == 4:
            lines.append('_Pragma("tool_w \\\\ \\"in\\" x") f')
        elif pick == 5:
            lines.append("#pragma %s" % word)
        elif pick == 6:
            lines.append('g _Pragma(L"%s") h' % esc)
        elif pick == 7:
            lines.append('ID_%s(_Pragma("%s") i) j' % (t, esc))
        else:
            lines.append(ISO_EXAMPLES[7])
    return "\n".join(lines)


# #if arithmetic: values and types as the controlling expression of #if has
# them (intmax_t and uintmax_t); an operation the standard leaves undefined
# raises and the expression is drawn again.
INT_MAX64 = (1 << 63) - 1
MASK64 = (1 << 64) - 1


class IsoUndefined(Exception):
    pass


def to_signed(v):
    v &= MASK64
    return v - (1 << 64) if v >> 63 else v


def iso_literal(rng):
    """(text, value, unsigned)"""
    roll = rng.random()
    if roll < 0.3:
        v = rng.choice([0, 1, 2, 3, 7, 10, 31, 32, 63, 100, 255, 65535, 2147483647, 2147483648,
                        4294967295, 4294967296, INT_MAX64])
    elif roll < 0.5:
        v = rng.choice([1 << 63, MASK64, 0xFFFFFFFF00000000, 0x8000000000000001, 1 << 32])
    else:
        v = rng.getrandbits(rng.choice([4, 8, 16, 33, 48, 62, 63, 64]))
    suffix = rng.choice(["", "", "u", "U", "l", "L", "ll", "LL", "ull", "ULL", "LLU", "uLL", "Ul"])
    unsigned = "u" in suffix.lower()
    form = rng.choice(["dec", "dec", "hex", "HEX", "oct"])
    if form == "dec" and not unsigned and v > INT_MAX64:
        form = "hex"  # a decimal constant too large for intmax_t has no type
    text = {"dec": "%d" % v, "hex": "0x%x" % v, "HEX": "0X%X" % v, "oct": "0%o" % v}[form]
    if v == 0 and form == "oct":
        text = "0"
    if form != "dec" and v > INT_MAX64:
        unsigned = True
    return text + suffix, v, unsigned


def iso_expr(rng, depth):
    """(text, value, unsigned); value held as the mathematical value for a
    signed result and as 0..2**64-1 for an unsigned one."""
    roll = rng.random()
    if depth <= 0 or roll < 0.25:
        if rng.random() < 0.1:
            c = rng.choice("aAz0 ")
            return "'%s'" % c, ord(c), False
        if rng.random() < 0.05:
            name = rng.choice(["undefined_name", "defined(UNDEF_X)", "defined DEF_Y"])
            return name, int(name.endswith("DEF_Y")), False
        return iso_literal(rng)
    if roll < 0.35:
        op = rng.choice(["-", "+", "~", "!"])
        t, v, u = iso_expr(rng, depth - 1)
        if op == "!":
            return "!(%s)" % t, int(v == 0), False
        if op == "+":
            return "+(%s)" % t, v, u
        if op == "~":
            return "~(%s)" % t, (~v) & MASK64 if u else to_signed(~v), u
        if u:
            return "-(%s)" % t, (-v) & MASK64, u
        if v == -(1 << 63):
            raise IsoUndefined
        return "-(%s)" % t, -v, u
    if roll < 0.42:
        c, cv, _ = iso_expr(rng, depth - 1)
        a, av, au = iso_expr(rng, depth - 1)
        b, bv, bu = iso_expr(rng, depth - 1)
        u = au or bu
        v = av if cv else bv
        return "(%s) ? (%s) : (%s)" % (c, a, b), v & MASK64 if u else v, u
    op = rng.choice(["+", "-", "*", "/", "%", "<<", ">>", "<", ">", "<=", ">=", "==", "!=",
                     "&", "^", "|", "&&", "||"])
    a, av, au = iso_expr(rng, depth - 1)
    b, bv, bu = iso_expr(rng, depth - 1)
    text = "(%s) %s (%s)" % (a, op, b)
    if op in ("&&", "||"):
        return text, int(bool(av) and bool(bv)) if op == "&&" else int(bool(av) or bool(bv)), False
    if op in ("<<", ">>"):
        if bv < 0 or bv >= 64:
            raise IsoUndefined
        if au:
            return text, (av << bv) & MASK64 if op == "<<" else av >> bv, True
        if op == ">>":
            if av < 0:
                raise IsoUndefined  # implementation-defined
            return text, av >> bv, False
        if av < 0 or (av << bv) > INT_MAX64:
            raise IsoUndefined
        return text, av << bv, False
    u = au or bu
    x, y = (av & MASK64, bv & MASK64) if u else (av, bv)
    if op in ("<", ">", "<=", ">=", "==", "!="):
        return text, int({"<": x < y, ">": x > y, "<=": x <= y, ">=": x >= y, "==": x == y,
                          "!=": x != y}[op]), False
    if op in ("/", "%"):
        if y == 0 or (not u and x == -(1 << 63) and y == -1):
            raise IsoUndefined
        q = abs(x) // abs(y) * (1 if (x < 0) == (y < 0) else -1)
        v = q if op == "/" else x - q * y
    elif op in ("&", "^", "|"):
        x, y = x & MASK64, y & MASK64
        v = {"&": x & y, "^": x ^ y, "|": x | y}[op]
        return text, v if u else to_signed(v), u
    else:
        v = {"+": x + y, "-": x - y, "*": x * y}[op]
    if u:
        return text, v & MASK64, True
    if not -(1 << 63) <= v <= INT_MAX64:
        raise IsoUndefined
    return text, v, False


def iso_value_text(v, u):
    if u:
        return "0x%xULL" % v
    if v == -(1 << 63):
        return "(-0x7fffffffffffffffLL - 1)"
    return "(%dLL)" % v if v >= 0 else "(-%dLL)" % -v


def iso_if64(rng, tag):
    lines = ["#define DEF_Y", "#define BIG_%s 0x7fffffffffffffffLL" % tag,
             "#define UBIG_%s 18446744073709551615ULL" % tag]
    for k in range(rng.randrange(4, 16)):
        while True:
            try:
                text, v, u = iso_expr(rng, rng.randrange(0, 4))
                break
            except IsoUndefined:
                continue
        lines.append("#if (%s) == %s" % (text, iso_value_text(v, u)))
        lines.append("ok_%s_%d" % (tag, k))
        lines.append("#elif %s" % text)
        lines.append("true_%s_%d" % (tag, k))
        lines.append("#else")
        lines.append("false_%s_%d" % (tag, k))
        lines.append("#endif")
    fixed = ["#if BIG_{t} > 2147483647\nwide_{t}\n#endif",
             "#if -1 < 0u\nsigned_{t}\n#else\nunsigned_{t}\n#endif",
             "#if UBIG_{t} == -1\nall_ones_{t}\n#endif",
             "#if 0x8000000000000000 > 0\nhex_unsigned_{t}\n#endif",
             "#if (BIG_{t} + 1u) / 2 == 0x4000000000000000\nhalf_{t}\n#endif",
             "#if 1ULL << 63 == 0x8000000000000000\nshift_{t}\n#endif",
             "#if 4294967296 * 4294967295 == 18446744069414584320u\nmul_{t}\n#endif",
             "#if __STDC_VERSION__ >= 199901L && __STDC_HOSTED__\nc99_{t} __STDC_VERSION__\n#endif",
             "#if defined __STDC__ && __STDC__ == 1\nstdc_{t} __STDC__ __STDC_HOSTED__\n#endif"]
    lines += [f.replace("{t}", tag) for f in rng.sample(fixed, 3)]
    return "\n".join(lines)


def iso_digraph(rng, tag):
    t = tag
    shapes = [
        "%:define DG_{t} <: :> <% %>\nDG_{t} %:%: %:",
        "%:define STR_{t}(x) %:x\nSTR_{t}(<:) STR_{t}(%:%:) STR_{t}(<% a %>)",
        "%:define CAT_{t}(a, b) a %:%: b\nCAT_{t}(x, y) CAT_{t}(1, 2) CAT_{t}(<, :) CAT_{t}(%:, %:)",
        "%:if 1\nlive_{t} <:0:>\n%:else\ndead_{t}\n%:endif",
        "%:ifdef DG2_{t}\nno_{t}\n%:elif 2 > 1\nyes_{t} %>\n%:endif",
        "%: define SP_{t}(x) [%: x]\nSP_{t}(1) SP_{t}(a b)",
        "#define HH_{t} %: %:%: %:\nHH_{t}",
        "int a_{t}<:3:> = <%1, 2%>; x = a_{t}<:1:>;",
        "%:define MK_{t}(a) %: a\nMK_{t}(q) <::> <%%> %:%:%:",
    ]
    picks = rng.sample(shapes, rng.randrange(2, 6))
    return "\n".join(s.replace("{t}", t) for s in picks)


def iso_skipped(rng, tag):
    t = tag
    dead = ['const char *s = "/*";', "it's an apostrophe", "don't, won't, can't",
            "char c = '\"';", 'a = "it\'s";', "/* a comment */ x", "// a line comment's",
            '"*/" and "/*"', "'/*'", "x = '/' * 2;", "#define X_%s 1" % t, "#error no",
            'p = "//";', "'\\''", "#include <nonexistent.h>", "O'Reilly's book"]
    live = ["live1_%s" % t, "live2_%s" % t, "/* c */", "// line", "z_%s" % t, "\"/*\" s", "'\"'"]
    out = []
    for k in range(rng.randrange(2, 7)):
        head = rng.choice(["#if 0", "#ifdef NOT_DEFINED", "#ifndef __STDC__", "#if 1 - 1"])
        body = rng.sample(dead, rng.randrange(1, 5))
        if rng.random() < 0.3:
            body += ["#if 1", rng.choice(dead), "#else", rng.choice(dead), "#endif"]
        tail = []
        roll = rng.random()
        if roll < 0.3:
            tail = ["#else", rng.choice(live)]
        elif roll < 0.5:
            tail = ["#elif 1", rng.choice(live), "#else"] + rng.sample(dead, 1)
        out += [head] + body + tail + ["#endif", rng.choice(live), rng.choice(live)]
    return "\n".join(out)


def iso_skipdirs(rng, tag):
    """Skipped groups holding what only a live group would read as a
    directive: unknown names, and known ones with text that would be wrong."""
    dead = ["#bogus directive", "  # elifx", "#import <x.h>", "#include_next <x.h>",
            "#sccs \"id\"", "#define", "#undef 3", "#line x", "#include garbage",
            "#pragma tool_x", "#error it's wrong", "#warning \"w\""]
    out = []
    for k in range(rng.randrange(2, 6)):
        body = rng.sample(dead, rng.randrange(1, 5))
        if rng.random() < 0.3:
            body = ["#if 1"] + body + ["#else"] + rng.sample(dead, 1) + ["#endif"]
        head = rng.choice(["#if 0", "#ifdef NOT_DEFINED_%s" % tag, "#if 1 - 1"])
        tail = ["#else", "live_%s_%d" % (tag, k)] if rng.random() < 0.4 else []
        out += [head] + body + tail + ["#endif", "after_%s_%d" % (tag, k)]
    return "\n".join(out)


def iso_splice(rng, tag):
    t = tag
    pieces = [
        "ab\\\ncd_{t}", "\"str\\\ning\"", "'\\\nx'", "12\\\n34", "0x\\\n1f", "+\\\n+ x",
        "-\\\n> y", "<\\\n<= z", "\"a\\\\\\\nb\"", "\"x\\\n\\\ny\"", "L\\\n\"wide\"",
        "/\\\n* comment *\\\n/ after_{t}", "// comment \\\ncontinued\nnext_{t}",
        "id\\\n\\\n\\\nent_{t}", ".\\\n.\\\n. dots", "1.\\\n5e\\\n+3",
    ]
    lines = ["#def\\\nine SPL_{t}(a, b) a ## \\\nb \"in\\\nbody\"",
             "#define STR_{t}(x) #x",
             "# \\\n if 1\nok_{t}\n#en\\\ndif"]
    out = [l.replace("{t}", t) for l in rng.sample(lines, rng.randrange(1, 4))]
    for _ in range(rng.randrange(2, 8)):
        out.append(" ".join(p.replace("{t}", t) for p in rng.sample(pieces, rng.randrange(1, 4))))
    if "SPL_" in "".join(out):
        out.append("SPL_%s(x, y) SPL_%s(1, \\\n2)" % (t, t))
    if "STR_" in "".join(out):
        out.append("STR_%s(\"a\\\nb\" c\\\nd)" % t)
    if rng.random() < 0.3:
        out.append("#if 0\n\"/\\\n*\" skipped\n#endif\nafter_%s" % t)
    return "\n".join(out)


def iso_limits(rng, tag):
    t = tag
    out = []
    # Names that differ only past the 31st character, up to the 63rd.
    stem = "long_identifier_%s_" % t
    stem += "x" * (40 - len(stem))
    names = [stem + "a" * rng.randrange(1, 23) + s for s in ("A", "B", "C")]
    names = [n[:63] for n in names]
    names = list(dict.fromkeys(names))
    for k, n in enumerate(names):
        out.append("#define %s value_%d" % (n, k))
    out.append(" ".join(names) + ";")
    # Conditionals nested deeper than 31.
    depth = rng.randrange(32, 70)
    for k in range(depth):
        out.append(rng.choice(["#if 1", "#ifdef __STDC__", "#ifndef NOPE", "#if %d" % k])
                   if k else "#if 1")
    out.append("deep_%s_%d" % (t, depth))
    for k in range(depth):
        if rng.random() < 0.2:
            out += ["#else", "never_%d" % k]
        out.append("#endif")
    # A macro of many parameters.
    n = rng.randrange(32, 128)
    params = ["a%d" % k for k in range(n)]
    used = rng.sample(params, min(n, 12))
    body = " ".join(rng.choice(["%s", "#%s", "(%s)"]) % p for p in used)
    out.append("#define MANY_%s(%s) %s" % (t, ", ".join(params), body))
    out.append("MANY_%s(%s);" % (t, ", ".join(str(k) for k in range(n))))
    # A long logical line.
    out.append("#define LONG_%s " % t + " ".join("t%d" % k for k in range(rng.randrange(300, 900))))
    out.append("LONG_%s;" % t)
    # Line numbers up to the largest #line takes (the rest of the program
    # stays below it).
    if rng.random() < 0.3:
        out += ["#line %d" % rng.choice([65535, 65536, 2147480000]), "line_%s __LINE__" % t]
    return "\n".join(out)


def iso_stringise(rng, tag):
    t = tag
    if rng.random() < 0.15:
        return ISO_EXAMPLES[1]
    lines = ["#define S_%s(x) #x" % t, "#define S2_%s(x, y) #x #y" % t]
    args = [": @\\n", "\"a\\n\" '\\''", "  spaced   out  ", "a/* c */b", "a /* c */ b",
            "'\"' \"\\\\\"", "L\"wide\"", "(a, b)", "\"\\\"q\\\"\"",
            "1.5e+3 0x1f", "a\n b", "// c\n d", "'\\0'", "@ $ `", "\"?\" '?'"]
    out = []
    for _ in range(rng.randrange(2, 8)):
        if rng.random() < 0.7:
            out.append("S_%s(%s)" % (t, rng.choice(args)))
        else:
            a = rng.choice([x for x in args if "," not in x])
            b = rng.choice([x for x in args if "," not in x])
            out.append("S2_%s(%s, %s)" % (t, a, b))
    return "\n".join(lines + [o + ";" for o in out])


def iso_argdirs(rng, tag):
    """Calls whose argument lines hold directives: a group around some of
    the arguments, a macro defined there and used further on, the called
    name removed or redefined, an #if that makes calls of its own, a
    #pragma."""
    t = tag
    restore = ["#undef F_%s" % t, "#define F_%s(x, y) [x|y]" % t,
               "#undef G_%s" % t, "#define G_%s(a) {a}" % t]
    lines = ["#define F_%s(x, y) [x|y]" % t, "#define G_%s(a) {a}" % t, "#define ONE_%s 1" % t,
             "#define E_%s(a) (a)" % t]
    for k in range(rng.randrange(1, 5)):
        shape = rng.randrange(6)
        if shape == 0:
            cond = rng.choice(["ONE_%s", "E_%s(0)", "defined F_%s", "!ONE_%s", "E_%s(ONE_%s) > 0"])
            lines += ["F_%s(a%d," % (t, k), "#if " + cond.replace("%s", t), "b", "#else", "c",
                      "#endif", ")"]
        elif shape == 1:
            lines += ["G_%s(p%d" % (t, k), "#define Q%d_%s G_%s(q)" % (k, t, t),
                      "Q%d_%s) Q%d_%s" % (k, t, k, t)]
        elif shape == 2:
            lines += ["G_%s(r%d" % (t, k), "#undef G_%s" % t, "s) G_%s(s)" % t] + restore
        elif shape == 3:
            lines += ["F_%s(1," % t, "#undef F_%s" % t, "#define F_%s(x) <x>" % t,
                      "2) F_%s(3)" % t] + restore
        elif shape == 4:
            lines += ["F_%s(u%d" % (t, k), "#if E_%s(1) + E_%s(ONE_%s)" % (t, t, t), "#endif",
                      ", G_%s(v))" % t]
        else:
            lines += ["F_%s(w%d," % (t, k), "#ifdef ONE_%s" % t, "#undef ONE_%s" % t, "#define ONE_%s 2" % t, "#endif",
                      "ONE_%s)" % t, "#undef ONE_%s" % t, "#define ONE_%s 1" % t]
    return "\n".join(lines)


ISO_MAKERS = {"args": iso_args, "rescan": iso_rescan, "variadic": iso_variadic,
              "empty": iso_empty, "pragma": iso_pragma, "if64": iso_if64,
              "digraph": iso_digraph, "skipped": iso_skipped, "skipdirs": iso_skipdirs,
              "splice": iso_splice,
              "limits": iso_limits, "stringise": iso_stringise,
              "argdirs": iso_argdirs}


def iso_nested_header(depth):
    """inc/a.h, which includes itself until `depth` files are open."""
    lines = []
    for k in range(1, depth):
        lines += ["#%s !defined INC_LEVEL_%d" % ("if" if k == 1 else "elif", k),
                  "#define INC_LEVEL_%d" % k, '#include "a.h"', "level_%d" % k]
    return "\n".join(lines + ["#else", "deepest_%d" % depth, "#endif"]) + "\n"


def iso_program(rng, family):
    """The text of the main file; for some programs of the limits family,
    "@@@" and an include file (inc/a.h) after it."""
    parts = []
    for k in range(rng.randrange(1, 6 if family != "limits" else 3)):
        parts.append(ISO_MAKERS[family](rng, "%s%d" % (family[:2], k)))
    if family == "limits" and rng.random() < 0.4:
        # Include nesting far past the 15 levels of the minimum.
        depth = rng.choice([16, 17, 40, 100, 190])
        return "\n".join(parts + ['#include "inc/a.h"']) + "\n@@@" + iso_nested_header(depth)
    return "\n".join(parts) + "\n"


def iso_source(seed, family, n):
    """The n-th program of a family: the same for the same seed, whatever
    other families are drawn."""
    return iso_program(random.Random("%d-%s-%d" % (seed, family, n)), family)


def iso_input(rng, seed, i):
    family = ISO_FAMILIES[i % len(ISO_FAMILIES)]
    return 0, iso_source(seed, family, i // len(ISO_FAMILIES)).encode("latin-1")


KINDS = {"plain": plain_input, "macro": macro_input, "tree": tree_input, "iso": iso_input}


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
