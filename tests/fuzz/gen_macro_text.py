#!/usr/bin/env python3
"""Writes macro-heavy inputs in the fuzz corpus format (two bytes of option
bits, then the text) for compare_builds.py, made of what the bulk paths of
argument collection and of copying macro text have their edges on: calls
nested in arguments (which are read again, in place, at every level),
arguments holding blanks of every kind, line ends, comments, literals,
parentheses and commas, names around the significant length and names
that are macros being expanded, numbers run into names, pastes and
stringising next to them, marks of every kind, calls cut short, and
argument texts read as comments.

usage: gen_macro_text.py <out dir> [--count N] [--seed S]
"""
import argparse
import os
import random

DEFINES = [
    "#define ID(x) x", "#define TWO(a, b) a b", "#define PAIR(a, b) (a, b)",
    "#define WRAP(x) ID(ID(x))", "#define DEEP(x) WRAP(WRAP(x) + 1)",
    "#define CALL(f, x) f(x)", "#define CAT(a, b) a ## b", "#define STR(x) #x",
    "#define XSTR(x) STR(x)", "#define SELF SELF + 1", "#define REC(x) REC(x) x",
    "#define OBJ obj_value", "#define EMPTY", "#define NUM 42", "#define F() f_empty",
    "#define LONG_NAME_OF_THIRTY_ONE_UNITS_AB(x) [x]", "#define ab ba",
    "#define MIX(a, b, c) ((a) * (b) - (c))", "#define COMMA ,", "#define LP (",
    "#define G(x) x ## 12 ## x", "#define Q(x) '?' x \"?\"", "#define SP(x) ( x )",
]
NAMES = ["ID", "TWO", "PAIR", "WRAP", "DEEP", "CALL", "CAT", "STR", "XSTR", "SELF",
         "REC", "OBJ", "EMPTY", "NUM", "F", "LONG_NAME_OF_THIRTY_ONE_UNITS_AB", "ab",
         "MIX", "COMMA", "LP", "G", "Q", "SP"]
ATOMS = ["x", "y_1", "12", "0x1F", "1.5e3", "7abc", "a1b2", "'c'", '"s, (t)"', "'\\''",
         '"/* no */"', "+", "-", "*", "/", "&&", "<<", "!", "~", ".", "[0]", "->",
         "LONG_NAME_OF_THIRTY_ONE_UNITS_ABC", "LONG_NAME_OF_THIRTY_ONE_UNITS_AB",
         "name_that_is_longer_than_forty_units_abcdefgh", "abc", "ab", "a", "$d"]
BLANKS = [" ", " ", "", "", "  ", "\t", " \t ", "\n", " \n  ", "/* c */", "/**/", "// c\n",
          "\x0b", "\x0c", "\r", " /* two\n lines */ "]
ODD = ["??=", "??/\n", "\\\n", "\\x", "\x1d", "\x1e", "\x1f", "\x00", "#", "##", "@"]


def arg(rng, depth):
    parts = []
    for _ in range(rng.randrange(0, 5)):
        roll = rng.random()
        if roll < 0.25 and depth < 4:
            parts.append(call(rng, depth + 1))
        elif roll < 0.3:
            parts.append("(" + arg(rng, depth + 1) + ")")
        elif roll < 0.33:
            parts.append("(" + arg(rng, depth + 1) + ", " + arg(rng, depth + 1) + ")")
        elif roll < 0.36:
            parts.append(rng.choice(ODD))
        elif roll < 0.45:
            parts.append(rng.choice(NAMES))
        else:
            parts.append(rng.choice(ATOMS))
        parts.append(rng.choice(BLANKS))
    return "".join(parts)


def call(rng, depth):
    name = rng.choice(NAMES)
    if rng.random() < 0.1:
        return name  # no call
    n = rng.choice([0, 1, 1, 1, 2, 2, 3])
    args = [rng.choice(BLANKS) + arg(rng, depth) + rng.choice(BLANKS) for _ in range(n)]
    text = name + rng.choice(["", "", " ", "\n", " \n "]) + "(" + ",".join(args)
    return text + ("" if rng.random() < 0.02 else ")")


def text(rng):
    lines = rng.sample(DEFINES, rng.randrange(len(DEFINES) // 2, len(DEFINES)))
    for _ in range(rng.randrange(1, 30)):
        roll = rng.random()
        if roll < 0.05:
            # (A string in #if ends the expression, and the rest of the line,
            # argument text included, is read as comments and all.)
            lines.append(rng.choice(["#undef ID", "#define ID(x) [x]", "#undef SELF",
                                     "#if DEEP(1)", "#endif", "#define ab ab",
                                     '#if ID("/* c */1")\n#endif',
                                     '#if TWO("/* c */2", x)\n#endif']))
        else:
            lines.append(" ".join(call(rng, 0) for _ in range(rng.randrange(1, 4))) + ";")
    return "\n".join(lines) + "\n"


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("out")
    ap.add_argument("--count", type=int, default=1000)
    ap.add_argument("--seed", type=int, default=1)
    opts = ap.parse_args()
    rng = random.Random(opts.seed)
    os.makedirs(opts.out, exist_ok=True)
    for i in range(opts.count):
        # Option bits: mostly none; sometimes -C (bit 0) or -N40 (bit 7).
        mask = rng.choice([0, 0, 0, 1, 1 << 7, 1 | 1 << 7])
        data = bytes([mask & 0xFF, mask >> 8]) + text(rng).encode("latin-1")
        with open(os.path.join(opts.out, "macro-%05d" % i), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
