#!/usr/bin/env python3
"""Writes inputs of mostly plain C text, in the fuzz corpus format (two bytes
of option bits, then the text), for compare_builds.py. The lines are made of
the tokens where the bulk copy of plain lines has its edges: names around
the significant length and names that share their first two characters
with a macro, numbers of every form (suffixes, exponents, hexadecimal, a
name or number right after one), literals (escapes, trigraphs, unended),
'?' and '/' beside what they may begin, runs of blanks of every kind, and
lines of every length across the 32-byte steps of the scan and past the
8 KiB line buffer, in live and skipped groups. Some inputs then get NUL
bytes anywhere in them (which the reader turns into spaces wherever the bulk
path stops) or a UTF-8 byte-order mark in front, drawn from a generator of
their own so that the text of every input stays the same.

usage: gen_plain_text.py <out dir> [--count N] [--seed S]
"""
import argparse
import os
import random

MACROS = ["M1", "Mx", "FN", "ab", "q", "e1", "u", "LONG_MACRO_NAME_THAT_IS_CUT_AT_31_XYZ"]
DEFINES = [
    b"#define M1 one\n",
    b"#define Mx(a) [a]\n",
    b"#define FN(a, b) a + b\n",
    b"#define ab ba\n",
    b"#define q Q\n",
    b"#define e1 E1\n",
    b"#define u U\n",
    b"#define LONG_MACRO_NAME_THAT_IS_CUT_AT_31_XYZ long\n",
]

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


def name(rng):
    roll = rng.random()
    if roll < 0.15:
        return rng.choice(MACROS)
    if roll < 0.3:
        # Shares its first two characters with a macro.
        return rng.choice(MACROS)[:2] + rng.choice(["", "z", "_9", "xx"])
    if roll < 0.4:
        n = rng.choice([29, 30, 31, 32, 33, 40, 64])
    else:
        n = rng.randint(1, 12)
    first = rng.choice("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_")
    rest = "".join(rng.choice("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_0123456789")
                   for _ in range(n - 1))
    return first + rest


CLEAN_LITERALS = ["'a'", "'\\n'", "'\\''", "\"s\"", "\"a b\"", "\"q\\\"q\"", "\"/* x */\"",
                  "\"?\"", "L'x'", "\"\\\\\""]
CLEAN_PUNCT = PUNCT + ["?", "/", "? ", "/ "]
CLEAN_BLANKS = [" ", " ", " ", " ", " ", "  ", "   "]


# The tokens of a line, by cumulative share. A clean line holds what the bulk
# copy of whole lines takes, mostly: its names are rarely macros.
CLEAN_MIX = [(0.45, None), (0.6, NUMBERS), (0.66, CLEAN_LITERALS), (1.0, CLEAN_PUNCT)]
MIX = [(0.4, None), (0.55, NUMBERS), (0.62, LITERALS), (0.93, PUNCT), (1.0, SPECIAL)]


def token(rng, clean):
    roll = rng.random()
    choices = next(c for share, c in (CLEAN_MIX if clean else MIX) if roll < share)
    if choices is not None:
        return rng.choice(choices)
    if clean and rng.random() >= 0.2:
        return name(rng).lstrip("MFaqeu") or "z"
    return name(rng)


def line(rng):
    roll = rng.random()
    if roll < 0.06:
        # Directives, and groups of skipped text.
        return rng.choice(["", "#", "# 5", "#if 1", "#endif", "#define T(x) x", "  #  ",
                           "#if 0", "#if 0", "#else", "#elif 1", "#ifdef M1", "#ifndef q",
                           "  # endif", "??=endif"]) + "\n"
    parts = [rng.choice(["", "", "    ", "\t", "  \t "])]
    # Lengths around the 32-byte steps of the scan.
    target = rng.choice([8, 20, 31, 32, 33, 40, 63, 64, 65, 100, 200])
    if rng.random() < 0.005:
        target = rng.choice([8189, 8190, 8191, 9000, 20000])  # past the line buffer
    size = 0
    clean = rng.random() < 0.7
    while size < target:
        t = token(rng, clean)
        parts.append(t)
        size += len(t)
        if rng.random() < 0.6:
            b = rng.choice(CLEAN_BLANKS if clean else BLANKS)
            parts.append(b)
            size += len(b)
    if clean and rng.random() < 0.6:
        parts.append(rng.choice(";,){}"))
    if rng.random() < 0.2:
        parts.append(rng.choice([" ", "  ", "\t", " \t "]))
    end = "\n"
    if rng.random() < 0.03:
        end = rng.choice(["\\\n", "\r\n", "??/\n"])
    return "".join(parts) + end


def text(rng):
    out = bytearray()
    out += b"".join(rng.sample(DEFINES, rng.randint(0, len(DEFINES))))
    for _ in range(rng.randint(1, 60 if rng.random() < 0.8 else 400)):
        out += line(rng).encode("latin-1")
    if rng.random() < 0.1:
        out = out[:-1]  # no newline at the end
    return bytes(out)


def add_odd_bytes(rng, data):
    """NUL bytes at random places, or a byte-order mark in front."""
    roll = rng.random()
    if roll < 0.1:
        data = bytearray(data)
        for _ in range(rng.choice([1, 1, 2, 5, 40])):
            data.insert(rng.randint(0, len(data)), 0)
        return bytes(data)
    if roll < 0.15:
        return b"\xef\xbb\xbf" + data
    return data


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("out")
    ap.add_argument("--count", type=int, default=1000)
    ap.add_argument("--seed", type=int, default=1)
    opts = ap.parse_args()
    rng = random.Random(opts.seed)
    os.makedirs(opts.out, exist_ok=True)
    for i in range(opts.count):
        # Option bits: mostly none, sometimes comments kept (-C) or others.
        mask = 0 if rng.random() < 0.6 else rng.getrandbits(16) & 0x0FFF
        odd = random.Random(opts.seed * 1000003 + i)
        data = bytes([mask & 0xFF, mask >> 8]) + add_odd_bytes(odd, text(rng))
        with open(os.path.join(opts.out, "plain-%05d" % i), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
