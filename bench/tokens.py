#!/usr/bin/env python3
"""Compares preprocessed texts token by token.

    tokens.py compare REFERENCE OUTPUT   exit 0 when the token streams agree
    tokens.py dump FILE                  one token per line

Line markers (`# 12 "f.c"`, `# 12`, `#line 12 ...`) and blank lines are
dropped; the rest is cut into C tokens, string and character literals and
pp-numbers each counting as one token, so that two outputs which differ
only in spacing, line breaks or line synchronisation compare equal. Tokens
are split by longest match, so text that two preprocessors glue
differently (`- -` against `--`) does count as a difference.
"""

import re
import sys

MARKER = re.compile(r"[ \t]*#[ \t]*(?:line[ \t]+)?\d+(?:[ \t].*)?$")

TOKEN = re.compile(r"""
    [ \t\f\v\r]+                                    # spacing (dropped)
  | (?P<tok>
      L?"(?:[^"\\\n]|\\.)*"                         # string literal
    | L?'(?:[^'\\\n]|\\.)*'                         # character constant
    | \.?[0-9](?:[eEpP][+-]|[0-9A-Za-z_.])*         # pp-number
    | [A-Za-z_$][0-9A-Za-z_$]*                      # identifier
    | \.\.\.|<<=|>>=|->|\+\+|--|<<|>>|<=|>=|==|!=|&&|\|\||\#\#
    | [-+*/%&|^]=|[=!<>]
    | .                                             # any other character
    )""", re.VERBOSE)


def tokenize(text):
    """Returns (tokens, lines): the tokens and the 1-based output line of
    each."""
    tokens = []
    lines = []
    for number, line in enumerate(text.split("\n"), 1):
        if not line.strip() or MARKER.match(line):
            continue
        for m in TOKEN.finditer(line):
            tok = m.group("tok")
            if tok is not None:
                tokens.append(tok)
                lines.append(number)
    return tokens, lines


def read(path):
    with open(path, "rb") as f:
        return f.read().decode("latin-1")


def first_difference(a, b):
    """Index of the first position where the lists differ, or None."""
    n = min(len(a), len(b))
    # Compare in blocks first: the common case is a long equal prefix.
    step = 4096
    i = 0
    while i < n and a[i:i + step] == b[i:i + step]:
        i += step
    i = min(i, n)
    while i < n and a[i] == b[i]:
        i += 1
    if i == n and len(a) == len(b):
        return None
    return i


def context(tokens, lines, i, width=8):
    lo = max(0, i - width)
    before = " ".join(tokens[lo:i])
    here = tokens[i] if i < len(tokens) else "<end of output>"
    after = " ".join(tokens[i + 1:i + 1 + width])
    line = lines[i] if i < len(lines) else (lines[-1] if lines else 0)
    return "line %d: %s [[ %s ]] %s" % (line, before, here, after)


def compare(reference, output):
    ref_tokens, ref_lines = tokenize(read(reference))
    out_tokens, out_lines = tokenize(read(output))
    i = first_difference(ref_tokens, out_tokens)
    if i is None:
        print("same %d tokens" % len(ref_tokens))
        return 0
    print("differ at token %d of %d (reference) / %d (output)"
          % (i + 1, len(ref_tokens), len(out_tokens)))
    print("  reference %s" % context(ref_tokens, ref_lines, i))
    print("  output    %s" % context(out_tokens, out_lines, i))
    return 1


def main(argv):
    if len(argv) == 4 and argv[1] == "compare":
        return compare(argv[2], argv[3])
    if len(argv) == 3 and argv[1] == "dump":
        tokens, _ = tokenize(read(argv[2]))
        sys.stdout.write("".join(t + "\n" for t in tokens))
        return 0
    sys.stderr.write(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
