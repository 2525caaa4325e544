#!/usr/bin/env python3
"""Writes the benchmark corpus: eight deterministic C inputs.

    gen_corpus.py [--out DIR] [--scale F] [--seed N]

Files written under DIR (default bench/out/corpus):
    plain.c          ordinary C89 text with a handful of macros
    macros.c         thousands of definitions; nested calls, #, ##, rescans
    includes.c       a tree of guarded headers over inc0/ .. inc3/ (use -I on
                     each directory, in that order)
    conds.c          deep #if/#elif/#ifdef nests, most of the text skipped
    comments.c       C text buried in block and line comments
    many_includes.c  the include traffic of a firmware build: about 16 600
                     #include lines over 300 guarded headers in lib0/ ..
                     lib4/ (use -I on each, in that order), most of them in
                     the last directories, so that most look-ups miss the
                     first ones; each header is included about 55 times, and
                     reading every include in full reads some 16 MB
    many_macros.c    the macro load of a firmware build: a register map of
                     17 000 macros and 5 MB of code that reaches it through
                     layers of function-like macros
    macro_churn.c    23 000 #define lines in 5 MB: X-macro tables expanded
                     under redefined entry macros, constant chains,
                     object-like chains ending in a function-like name,
                     # and ## through helper layers, calls nested three
                     deep, and #undef/#define of the same names throughout
    manifest.txt     one line per input: name and the include directories

Everything keeps to what a conservative C89 preprocessor and gcc agree on:
no variadic macros, no empty arguments, identifiers of at most 31
characters, no '??' (trigraphs), #if values that stay far inside 32 bits,
stringised arguments that are plain single-spaced tokens, pastes that form
identifiers only, and macro bodies whose edges cannot glue onto the
neighbouring source tokens.
"""

import argparse
import os
import random

# Sizes at --scale 1, picked so that one `gcc -E` of each input takes
# roughly half a second on a two-core build machine.
PLAIN_MODULES = 6500
MACRO_FAMILIES = 420
MACRO_USE_LINES = 12000
INCLUDE_LEVELS = (20, 40, 60, 80, 60, 40)
INCLUDE_DECLS = 300
COND_BLOCKS = 500
COMMENT_MODULES = 17000
# The two inputs shaped like a firmware build.
MANY_HEADERS = 300
MANY_INCLUDE_LINES = 16600
MANY_INCLUDES_PER_UNIT = 20
MANY_HEADER_DIRS = 5
MANY_HEADER_LEVELS = 4
MANY_PERIPHERALS = 340
MANY_MACRO_FUNCTIONS = 7000
# Modules of macro_churn.c and statements of each one's function (on average).
MACRO_CHURN_MODULES = 1100
MACRO_CHURN_STATEMENTS = 78

WORDS = (
    "alpha beta gamma delta count index total limit offset length flags "
    "state value result buffer cursor chunk frame packet header status "
    "timer clock ticks sample level range scale shift mask mode port pin "
    "channel slot entry node link queue head tail size width height depth "
    "speed rate error retry timeout ready busy done first last next prev"
).split()

TYPES = ("int", "unsigned", "long", "short", "char", "unsigned char",
         "unsigned long", "signed char")

STRING_WORDS = ("ok", "fail", "value", "read", "write", "busy", "retry",
                "done", "timeout", "sensor", "motor", "link up", "link down")


def number(rng):
    """A C89 constant in one of its spellings (no float 'f' suffix)."""
    k = rng.randrange(12)
    n = rng.randrange(1, 5000)
    if k < 5:
        return str(n)
    if k == 5:
        return "0x%X" % n
    if k == 6:
        return "0x%xUL" % n
    if k == 7:
        return "0%o" % n
    if k == 8:
        return "%dU" % n
    if k == 9:
        return "%dL" % n
    if k == 10:
        return "%d.%02d" % (n, rng.randrange(100))
    return "%d.%de%d" % (n % 10, rng.randrange(10), rng.randrange(1, 9))


def char_const(rng):
    return rng.choice(("'a'", "'Z'", "'0'", "'\\n'", "'\\t'", "'\\0'",
                       "'\\\\'", "'\\''", "' '", "'\\x41'", "'\\101'"))


def string_lit(rng):
    words = " ".join(rng.choice(STRING_WORDS) for _ in range(rng.randrange(1, 5)))
    tail = rng.choice(("", "\\n", ": %d\\n", " %s", "\\t%u", " \\\"q\\\""))
    return '"' + words + tail + '"'


def expr(rng, names, depth=0):
    """A C expression over `names`; binary operators spaced, unary glued."""
    r = rng.random()
    if depth > 2 or r < 0.35:
        pick = rng.random()
        if pick < 0.6:
            return rng.choice(names)
        if pick < 0.9:
            return number(rng)
        return char_const(rng)
    if r < 0.45:
        return rng.choice(("-", "!", "~")) + "(" + expr(rng, names, depth + 1) + ")"
    if r < 0.55:
        return "(%s ? %s : %s)" % (expr(rng, names, depth + 1),
                                   expr(rng, names, depth + 1),
                                   expr(rng, names, depth + 1))
    op = rng.choice(("+", "-", "*", "/", "%", "<<", ">>", "&", "|", "^",
                     "<", ">", "<=", ">=", "==", "!=", "&&", "||"))
    return "(%s %s %s)" % (expr(rng, names, depth + 1), op,
                           expr(rng, names, depth + 1))


def statement(rng, targets, names, indent):
    """A statement assigning to one of `targets`, reading any of `names`."""
    pad = " " * indent
    k = rng.randrange(10)
    v = rng.choice(targets)
    if k < 4:
        op = rng.choice(("=", "+=", "-=", "|=", "&=", "^=", "<<=", ">>="))
        return [pad + "%s %s %s;" % (v, op, expr(rng, names))]
    if k == 4:
        return [pad + "if (%s) {" % expr(rng, names),
                pad + "    %s = %s;" % (v, expr(rng, names)),
                pad + "} else {",
                pad + "    %s--;" % v,
                pad + "}"]
    if k == 5:
        return [pad + "for (i = 0; i < %d; i++) {" % rng.randrange(2, 64),
                pad + "    %s[i & 15] = (%s) + i;" % ("buf", expr(rng, names)),
                pad + "}"]
    if k == 6:
        return [pad + "while (%s > %s) %s >>= 1;" % (v, number(rng), v)]
    if k == 7:
        return [pad + "log_msg(%s, %s);" % (string_lit(rng), v)]
    if k == 8:
        return [pad + "p->%s = %s;" % (rng.choice(("id", "count", "flags")),
                                       expr(rng, names)),
                pad + "p++;"]
    return [pad + "switch (%s & 3) {" % v,
            pad + "case 0: %s++; break;" % v,
            pad + "case 1: %s = %s; break;" % (v, char_const(rng)),
            pad + "default: break;",
            pad + "}"]


def c_function(rng, tag, macro_names=()):
    """One function of ordinary C89 code; `tag` keeps names unique."""
    names = ["v%d_%s" % (i, rng.choice(WORDS))[:31] for i in range(5)]
    use = list(names) + list(macro_names)
    ret = rng.choice(TYPES)
    lines = ["%s fn_%s(struct rec_%s *p, int n)" % (ret, tag, tag), "{",
             "    int i;", "    unsigned char buf[16];"]
    for v in names:
        lines.append("    %s %s = %s;" % (rng.choice(TYPES), v, number(rng)))
    for _ in range(rng.randrange(4, 10)):
        lines.extend(statement(rng, names, use, 4))
    lines.append("    return (%s) %s;" % (ret, expr(rng, names)))
    lines.append("}")
    return lines


def c_struct(rng, tag):
    lines = ["struct rec_%s {" % tag]
    for i in range(rng.randrange(3, 7)):
        field = ("id", "count", "flags")[i] if i < 3 else "f%d_%s" % (i, rng.choice(WORDS))
        lines.append("    %s %s;" % (rng.choice(TYPES), field))
    lines.append("    char name[%d];" % rng.choice((8, 16, 32)))
    lines.append("};")
    return lines


def gen_plain(rng, scale):
    out = ["/* Plain C text: data tables, structures and functions. */",
           "#define BUF_LEN 64",
           "#define NAME_LEN 16",
           "#define RETRY_MAX 5",
           "#define FLAG_READY 0x01",
           "#define FLAG_BUSY 0x02",
           "#define SQUARE(x) ((x) * (x))",
           "",
           "extern void log_msg(const char *fmt, long v);",
           ""]
    macro_names = ("BUF_LEN", "RETRY_MAX", "FLAG_READY", "SQUARE(n)")
    for m in range(int(PLAIN_MODULES * scale)):
        out.extend(c_struct(rng, m))
        values = ", ".join(number(rng) for _ in range(8))
        out.append("static const long table_%d[8] = { %s };" % (m, values))
        out.append('static const char *label_%d = %s;' % (m, string_lit(rng)))
        out.append("")
        # A few uses of the macros, as ordinary code would have.
        out.extend(c_function(rng, m, macro_names if m % 8 == 0 else ()))
        out.append("")
    return out


def gen_macros(rng, scale):
    families = int(MACRO_FAMILIES * scale)
    out = ["/* Macro-heavy text: constant chains, function-like families, */",
           "/* stringising, pasting and rescanned name chains. */"]
    chain_len = 8
    for f in range(families):
        # Constant chains: KV_f_k expands through k levels.
        out.append("#define KV_%d_0 (%d)" % (f, rng.randrange(1, 100)))
        for k in range(1, chain_len):
            out.append("#define KV_%d_%d (KV_%d_%d + %d)" % (f, k, f, k - 1, k))
        out.extend([
            "#define ADD_%d(a, b) ((a) + (b))" % f,
            "#define MUL_%d(a, b) ((a) * (b))" % f,
            "#define MAX_%d(a, b) ((a) > (b) ? (a) : (b))" % f,
            "#define SEL_%d(c, a, b) ((c) ? (a) : (b))" % f,
            "#define SQ_%d(x) ((x) * (x))" % f,
            "#define CLAMP_%d(x, lo, hi) MAX_%d(lo, MIN_%d(x, hi))" % (f, f, f),
            "#define MIN_%d(a, b) ((a) < (b) ? (a) : (b))" % f,
            "#define STR_%d(x) #x" % f,
            "#define CAT_%d(a, b) a ## b" % f,
            "#define APPLY_%d(m, x) m(x)" % f,
            "#define TWICE_%d(m, x) m(m(x))" % f,
            "#define FIELD_%d(n) fld_ ## n" % f,
            "#define SELF_%d (SELF_%d + 1)" % (f, f),
        ])
        # A rescanned name chain that ends in a function-like macro name,
        # so that the call completes across the ends of the expansions.
        for k in range(5):
            out.append("#define CH_%d_%d CH_%d_%d" % (f, k, f, k + 1))
        out.append("#define CH_%d_5 ADD_%d" % (f, f))
        out.append("")

    def fam():
        return rng.randrange(families)

    def kv():
        return "KV_%d_%d" % (fam(), rng.randrange(chain_len))

    def operand(depth):
        r = rng.random()
        if depth > 1 or r < 0.3:
            return rng.choice((kv(), str(rng.randrange(100)), "x_%d" % rng.randrange(50)))
        f = fam()
        k = rng.randrange(8)
        a, b = operand(depth + 1), operand(depth + 1)
        if k == 0:
            return "ADD_%d(%s, %s)" % (f, a, b)
        if k == 1:
            return "MUL_%d(%s, %s)" % (f, a, b)
        if k == 2:
            return "MAX_%d(%s, %s)" % (f, a, b)
        if k == 3:
            return "SEL_%d(%s > %s, %s, %s)" % (f, a, b, b, a)
        if k == 4:
            return "CLAMP_%d(%s, 0, %s)" % (f, a, b)
        if k == 5:
            return "APPLY_%d(SQ_%d, %s)" % (f, fam(), a)
        if k == 6:
            return "TWICE_%d(SQ_%d, %s)" % (f, fam(), a)
        if depth == 0:
            # Keep name chains out of each other's arguments: whether the
            # chain's names are enabled again inside them is left open.
            return "CH_%d_0(%s, %s)" % (f, kv(), kv())
        return "ADD_%d(%s, %s)" % (f, a, b)

    lines = int(MACRO_USE_LINES * scale)
    out.append("long use_all(long *x_0)")
    out.append("{")
    for i in range(lines):
        k = rng.randrange(10)
        f = fam()
        if k < 6:
            out.append("    r_%d = %s;" % (i % 97, operand(0)))
        elif k == 6:
            words = " ".join(rng.choice(("a", "b", "+", "*", "12", "x_1",
                                         "'c'", '"s"', "-", "==", "0x1F"))
                             for _ in range(rng.randrange(1, 6)))
            out.append("    s_%d = STR_%d(%s);" % (i % 31, f, words))
        elif k == 7:
            out.append("    CAT_%d(v_, %d) = CAT_%d(KV_%d_, %d);"
                       % (f, rng.randrange(1000), f, fam(), rng.randrange(chain_len)))
        elif k == 8:
            out.append("    p->FIELD_%d(%s) = SELF_%d;"
                       % (f, rng.choice(WORDS), f))
        else:
            out.append("    t_%d = MAX_%d(ADD_%d(%s, %s), MUL_%d(%s, %s));"
                       % (i % 13, f, fam(), kv(), kv(), fam(), kv(), operand(1)))
        if i % 500 == 499:
            # Redefinitions keep #undef and #define busy mid-stream.
            g = fam()
            out.append("#undef SQ_%d" % g)
            out.append("#define SQ_%d(x) ((x) * (x) + 0)" % g)
    out.append("    return 0;")
    out.append("}")
    return out


def gen_includes(rng, scale, root):
    """Writes the header tree and returns the main file's lines."""
    dirs = ["inc%d" % d for d in range(4)]
    for d in dirs:
        os.makedirs(os.path.join(root, d), exist_ok=True)
    levels = [max(2, int(n * scale)) for n in INCLUDE_LEVELS]
    names = []  # names[level] = list of header indices
    index = 0
    for n in levels:
        names.append(list(range(index, index + n)))
        index += n

    def hdr(i):
        return "hdr_%03d.h" % i

    def where(i):
        return dirs[i % len(dirs)]

    for lv, members in enumerate(names):
        for i in members:
            guard = "HDR_%03d_H" % i
            text = ["/* header %d, level %d */" % (i, lv),
                    "#ifndef " + guard,
                    "#define " + guard,
                    "#define H%03d_SIZE %d" % (i, rng.randrange(1, 512)),
                    "#define H%03d_SCALE(x) ((x) * H%03d_SIZE)" % (i, i),
                    ""]
            if lv + 1 < len(names):
                for j in rng.sample(names[lv + 1], min(3, len(names[lv + 1]))):
                    if rng.random() < 0.5:
                        text.append('#include "%s"' % hdr(j))
                    else:
                        text.append("#include <%s>" % hdr(j))
                text.append("")
            text.append("typedef struct h%03d_rec {" % i)
            for k in range(rng.randrange(3, 8)):
                text.append("    %s m%d_%s;" % (rng.choice(TYPES), k, rng.choice(WORDS)))
            text.append("} h%03d_rec;" % i)
            text.append("")
            text.append("#if H%03d_SIZE > 256" % i)
            text.append("enum { H%03d_BIG = 1 };" % i)
            text.append("#else")
            text.append("enum { H%03d_BIG = 0 };" % i)
            text.append("#endif")
            for k in range(INCLUDE_DECLS):
                args = ", ".join("%s a%d" % (rng.choice(TYPES), a)
                                 for a in range(rng.randrange(1, 5)))
                text.append("extern %s h%03d_%s_%d(%s);"
                            % (rng.choice(TYPES), i, rng.choice(WORDS), k, args))
                if k % 10 == 0:
                    text.append("extern const long h%03d_tab_%d[H%03d_SIZE];" % (i, k, i))
            text.append("")
            text.append("#endif /* %s */" % guard)
            path = os.path.join(root, where(i), hdr(i))
            with open(path, "w") as f:
                f.write("\n".join(text) + "\n")

    # An unguarded table header, included several times with different
    # definitions of ENTRY (the X-macro idiom).
    table = ["/* table of entries: define ENTRY(name, value) first */"]
    for k in range(400):
        table.append("ENTRY(item_%d, %d)" % (k, rng.randrange(1000)))
    with open(os.path.join(root, dirs[0], "entries.def"), "w") as f:
        f.write("\n".join(table) + "\n")

    main = ["/* Include tree: every level-0 header, some again, and a table */"]
    for i in names[0]:
        main.append("#include <%s>" % hdr(i))
    everything = [i for lv in names for i in lv]
    for i in rng.sample(everything, min(60, len(everything))):
        main.append('#include "%s"' % hdr(i))
    main.append("")
    for k, form in enumerate(("ID_%d = value", "name_%d", "value + %d",
                              "case value: return %d;", "#name")):
        if form == "#name":
            main.append("#define ENTRY(name, value) #name,")
            main.append("static const char *entry_names[] = {")
        else:
            main.append("#define ENTRY(name, value) " + (form % k) + ",")
            main.append("long table_%d[] = {" % k)
        main.append('#include "entries.def"')
        main.append("0 };")
        main.append("#undef ENTRY")
    main.append("int use_sizes(void) { return H%03d_SIZE + H%03d_SCALE(2); }"
                % (names[0][0], names[-1][0]))
    return main, dirs


class Cond:
    """Generates #if expressions together with their values."""

    def __init__(self, rng, config):
        self.rng = rng
        self.config = config  # name -> value (defined macros)
        self.names = sorted(config)

    def atom(self):
        r = self.rng.random()
        if r < 0.45:
            n = self.rng.choice(self.names)
            return n, self.config[n]
        if r < 0.7:
            v = self.rng.randrange(0, 20)
            return str(v), v
        if r < 0.85:
            n = self.rng.choice(self.names + ["NOT_SET_%d" % self.rng.randrange(40)])
            v = 1 if n in self.config else 0
            form = "defined(%s)" if self.rng.random() < 0.7 else "defined %s"
            return form % n, v
        if r < 0.92:
            # No character constants: a target with unsigned plain char makes
            # them unsigned, which turns comparisons with negatives around.
            return "0x1F", 31
        return "UNDEF_%d" % self.rng.randrange(40), 0

    def expr(self, depth=0):
        rng = self.rng
        if depth >= 3 or rng.random() < 0.3:
            return self.atom()
        k = rng.randrange(10)
        a, va = self.expr(depth + 1)
        if k == 0:
            return "!(%s)" % a, int(not va)
        if k == 1:
            return "-(%s)" % a, -va
        b, vb = self.expr(depth + 1)
        if k == 2:
            c, vc = self.expr(depth + 1)
            return "(%s) ? (%s) : (%s)" % (a, b, c), vb if va else vc
        ops = ["+", "-", "*", "<", ">", "<=", ">=", "==", "!=", "&", "|", "^",
               "&&", "||", "/", "%", "<<", ">>"]
        op = rng.choice(ops)
        if op in ("/", "%"):
            d = rng.randrange(1, 9)       # never divide by zero or by a
            a, va = "(%s) & 255" % a, va & 255  # negative value
            text = "(%s) %s %d" % (a, op, d)
            return text, va // d if op == "/" else va % d
        if op in ("<<", ">>"):
            s = rng.randrange(0, 5)
            a, va = "(%s) & 1023" % a, va & 1023
            text = "(%s) %s %d" % (a, op, s)
            return text, va << s if op == "<<" else va >> s
        if op == "*" and (abs(va) > 3000 or abs(vb) > 3000):
            op = "+"
        value = {
            "+": va + vb, "-": va - vb, "*": va * vb,
            "<": int(va < vb), ">": int(va > vb), "<=": int(va <= vb),
            ">=": int(va >= vb), "==": int(va == vb), "!=": int(va != vb),
            "&": va & vb, "|": va | vb, "^": va ^ vb,
            "&&": int(bool(va) and bool(vb)), "||": int(bool(va) or bool(vb)),
        }[op]
        return "(%s) %s (%s)" % (a, op, b), value

    def condition(self, want_true):
        """An expression whose truth is `want_true` (retries until so)."""
        for _ in range(200):
            text, value = self.expr()
            if abs(value) < 1 << 24 and bool(value) == want_true:
                return text
        return "1" if want_true else "0"


def gen_conds(rng, scale):
    config = {}
    out = ["/* Conditional nests: deep, with real expressions; mostly skipped */"]
    for k in range(60):
        name = "CFG_%s_%d" % (rng.choice(WORDS).upper(), k)
        config[name] = rng.randrange(0, 16)
        out.append("#define %s %d" % (name, config[name]))
    first = sorted(config)[0]
    out.append("#define CFG_SUM (%s + 3)" % first)
    config["CFG_SUM"] = config[first] + 3
    cond = Cond(rng, config)
    fn = [0]

    def text_lines(n):
        lines = []
        for _ in range(n):
            fn[0] += 1
            lines.append("int cfg_%d(int a) { return a * %d + %s; }"
                         % (fn[0], rng.randrange(100), number(rng)))
        return lines

    def conditional(depth, limit, deep):
        """One #if/#ifdef nest. With `deep` set, one of its groups carries
        on towards `limit`; the others hold text and short nests. In live
        text at most one group is taken and often none is, so most of the
        text ends up skipped."""
        lines = []
        kind = rng.randrange(4)
        groups = rng.randrange(1, 4)
        has_else = rng.random() < 0.5
        take = rng.randrange(groups + 1) if rng.random() < 0.5 else -1
        carrier = rng.randrange(groups + (1 if has_else else 0))
        for g in range(groups + (1 if has_else else 0)):
            truth = g == take
            if g == groups:
                lines.append("#else")
            elif g > 0:
                lines.append("#elif " + cond.condition(truth))
            elif kind == 0:
                name = rng.choice(sorted(config) + ["NOT_SET_%d" % depth])
                is_def = name in config
                lines.append(("#ifdef " if is_def == truth else "#ifndef ") + name)
            else:
                lines.append("#if " + cond.condition(truth))
            if deep and g == carrier:
                lines.extend(block(depth + 1, limit, True))
            else:
                lines.extend(block(depth + 1, min(limit, depth + 2), False))
        lines.append("#endif")
        return lines

    def block(depth, limit, deep):
        lines = text_lines(rng.randrange(1, 4))
        if depth < limit:
            if deep:
                lines.extend(conditional(depth, limit, True))
            elif rng.random() < 0.5:
                lines.extend(conditional(depth, limit, False))
        lines.extend(text_lines(rng.randrange(0, 3)))
        return lines

    for _ in range(int(COND_BLOCKS * scale)):
        out.extend(block(0, rng.randrange(8, 25), True))
        out.extend(text_lines(1))
    return out


def gen_comments(rng, scale):
    prose = ("this routine reads the sensor and scales the value; "
             "note that the timer wraps at 65535 ticks and that the result "
             "is saturated, not wrapped. See the data sheet, section 4.2, "
             "for the register map (bits 0-3: mode, 4-7: gain). "
             "It's safe to call from the interrupt handler.").split()

    def sentence(n):
        return " ".join(rng.choice(prose) for _ in range(n))

    out = ["/*", " * Comment-heavy text: block headers, doc comments, trailing",
           " * line comments and comments between tokens.", " */"]
    for m in range(int(COMMENT_MODULES * scale)):
        out.append("/" + "*" * 70)
        for _ in range(rng.randrange(4, 12)):
            out.append(" * " + sentence(rng.randrange(6, 14)))
        out.append(" " + "*" * 70 + "/")
        out.append("#define LIMIT_%d %d /* upper bound */ // for module %d"
                   % (m, rng.randrange(1000), m))
        out.append("// " + sentence(10))
        out.append("// " + sentence(8))
        out.append("static int /* storage */ counter_%d /* zeroed */ = 0;" % m)
        out.append("int step_%d(int a, /* input */ int b /* scale */)" % m)
        out.append("{ // body")
        for _ in range(rng.randrange(3, 8)):
            v = rng.choice(("a", "b", "counter_%d" % m))
            out.append("    %s = %s /*op*/ + /**/ %s; // %s"
                       % (v, v, number(rng), sentence(rng.randrange(3, 9))))
            if rng.random() < 0.3:
                out.append("    /* " + sentence(8))
                out.append("       " + sentence(9) + " */")
        out.append("    return a/**/+b + LIMIT_%d; /* done */" % m)
        out.append("}")
        out.append("")
    return out


def gen_many_includes(rng, scale, root):
    """Writes the headers of many_includes.c and returns its lines and the
    include directories. The main file reads like the translation units of
    a build run one after another: each unit includes some twenty headers
    (mostly in the <...> form, some in the "..." form, which first looks
    beside the main file) and then uses one of them. Every header is
    guarded, opens with a comment block, closes its guard with a comment,
    and includes up to two headers of the next level, so that the first
    include of a header pulls in a few more."""
    dirs = ["lib%d" % d for d in range(MANY_HEADER_DIRS)]
    for d in dirs:
        os.makedirs(os.path.join(root, d), exist_ok=True)
    count = max(MANY_HEADER_LEVELS * 2, int(MANY_HEADERS * scale))
    # Most headers live in the last directories: a look-up mostly misses
    # the first ones.
    homes = rng.choices(range(MANY_HEADER_DIRS), weights=(1, 1, 2, 3, 3), k=count)
    per_level = count // MANY_HEADER_LEVELS

    def level(i):
        return min(i // per_level, MANY_HEADER_LEVELS - 1)

    def hdr(i):
        return "drv_%03d.h" % i

    for i in range(count):
        guard = "DRV_%03d_H" % i
        text = ["/*",
                " * %s/%s: driver %d of the board support package." % (dirs[homes[i]], hdr(i), i),
                " * Generated for the benchmark; every declaration is made up.",
                " */"]
        form = rng.random()
        if form < 0.8:
            text.append("#ifndef " + guard)
        elif form < 0.9:
            text.append("#if !defined(%s)" % guard)
        else:
            text.append("#if !defined " + guard)
        text += ["#define " + guard, ""]
        if level(i) + 1 < MANY_HEADER_LEVELS:
            lo = (level(i) + 1) * per_level
            hi = count if level(i) + 2 == MANY_HEADER_LEVELS else lo + per_level
            for j in sorted(rng.sample(range(lo, hi), rng.randrange(3))):
                text.append("#include <%s>" % hdr(j))
            text.append("")
        text += ["#define DRV_%03d_ID %d" % (i, i),
                 "#define DRV_%03d_FIFO_LEN %d" % (i, rng.choice((16, 32, 64, 128))),
                 "#define DRV_%03d_IRQ(n) (%d + (n))" % (i, rng.randrange(16, 96)),
                 "",
                 "typedef struct drv_%03d_regs {" % i,
                 "    volatile unsigned long ctrl;"]
        for k in range(1, rng.randrange(3, 6)):
            text.append("    volatile unsigned long r%d_%s;" % (k, rng.choice(WORDS)))
        text += ["} drv_%03d_regs;" % i, "", "/* Set-up, transfers and status. */"]
        for k in range(rng.randrange(6, 10)):
            args = ", ".join("%s a%d" % (rng.choice(TYPES), a)
                             for a in range(rng.randrange(1, 4)))
            text.append("extern int drv_%03d_%s_%d(drv_%03d_regs *r, %s);"
                        % (i, rng.choice(WORDS), k, i, args))
        text += ["", "#endif /* %s */" % guard]
        with open(os.path.join(root, dirs[homes[i]], hdr(i)), "w") as f:
            f.write("\n".join(text) + "\n")

    main = ["/* Include traffic: one translation unit after another */"]
    units = max(1, int(MANY_INCLUDE_LINES * scale) // MANY_INCLUDES_PER_UNIT)
    for u in range(units):
        picks = rng.sample(range(count), min(MANY_INCLUDES_PER_UNIT, count))
        main.append("")
        main.append("/* unit %d */" % u)
        for i in picks:
            if rng.random() < 0.85:
                main.append("#include <%s>" % hdr(i))
            else:
                main.append('#include "%s"' % hdr(i))
        i = rng.choice(picks)
        main += ["",
                 "int unit_%d_start(drv_%03d_regs *r)" % (u, i),
                 "{",
                 "    r->ctrl = DRV_%03d_IRQ(%d) + DRV_%03d_FIFO_LEN;"
                 % (i, rng.randrange(8), i),
                 "    return DRV_%03d_ID;" % i,
                 "}"]
    return main, dirs


def gen_many_macros(rng, scale):
    """A register map (a base address, register offsets and the positions
    and masks of their fields, per peripheral) under a layer of generic
    function-like macros, and functions that reach the registers through
    them: field reads and writes, clamps, alignment and chains of calls ten
    deep."""
    out = ["/* Register map and accessors, then code that uses them. */",
           "#define REG32(a) (*(volatile unsigned long *)(a))",
           "#define BIT(n) (1UL << (n))",
           "#define MIN(a, b) ((a) < (b) ? (a) : (b))",
           "#define MAX(a, b) ((a) > (b) ? (a) : (b))",
           "#define CLAMP(x, lo, hi) MIN(MAX(x, lo), hi)",
           "#define ALIGN_UP(x, a) (((x) + (a) - 1) & ~((a) - 1))",
           "#define FIELD_GET(reg, msk, pos) (((reg) & (msk)) >> (pos))",
           "#define FIELD_SET(reg, msk, pos, v) "
           "((reg) = ((reg) & ~(msk)) | (((v) << (pos)) & (msk)))",
           "#define FIELD_TEST(reg, msk) (((reg) & (msk)) != 0)",
           "#define L0(x) ((x) + 1)"]
    depth = 10
    for k in range(1, depth):
        out.append("#define L%d(x) L%d(((x) ^ %d) + %d)" % (k, k - 1, 0x111 * k, k))
    out.append("")
    peripherals = max(4, int(MANY_PERIPHERALS * scale))
    regs, fields = 8, 2
    for p in range(peripherals):
        out.append("/* peripheral %d */" % p)
        out.append("#define P%d_BASE 0x%08XUL" % (p, 0x40000000 + 0x400 * p))
        out.append("#define P%d_IRQ %d" % (p, 16 + p % 200))
        for r in range(regs):
            out.append("#define P%d_R%d_OFF 0x%02X" % (p, r, 4 * r))
            out.append("#define P%d_R%d REG32(P%d_BASE + P%d_R%d_OFF)" % (p, r, p, p, r))
            pos = 0
            for f in range(fields):
                width = rng.randrange(1, 5)
                out.append("#define P%d_R%d_F%d_POS %d" % (p, r, f, pos))
                out.append("#define P%d_R%d_F%d_MSK (0x%XUL << P%d_R%d_F%d_POS)"
                           % (p, r, f, (1 << width) - 1, p, r, f))
                pos += width + rng.randrange(3)
    out.append("")

    def field():
        p, r, f = rng.randrange(peripherals), rng.randrange(regs), rng.randrange(fields)
        return "P%d_R%d" % (p, r), "P%d_R%d_F%d_MSK" % (p, r, f), "P%d_R%d_F%d_POS" % (p, r, f)

    def simple():
        k = rng.randrange(3)
        if k == 0:
            return "v"
        if k == 1:
            return "x_%d" % rng.randrange(8)
        return "FIELD_GET(%s, %s, %s)" % field()

    def value():
        # Chains of calls hold no chain in their arguments: the argument
        # texts would grow with the product of the depths.
        k = rng.randrange(4)
        if k == 0:
            return simple()
        if k == 1:
            return "L%d(%s)" % (rng.randrange(depth), simple())
        if k == 2:
            return "BIT(P%d_R%d_F%d_POS)" % (rng.randrange(peripherals), rng.randrange(regs),
                                             rng.randrange(fields))
        return "P%d_IRQ" % rng.randrange(peripherals)

    def statement():
        k = rng.randrange(6)
        if k == 0:
            return "    v = FIELD_GET(%s, %s, %s);" % field()
        if k == 1:
            reg, msk, pos = field()
            return "    FIELD_SET(%s, %s, %s, %s);" % (reg, msk, pos, value())
        if k == 2:
            return "    v = L%d(%s);" % (rng.randrange(4, depth), simple())
        if k == 3:
            return "    v = CLAMP(%s, %d, %s);" % (value(), rng.randrange(8), value())
        if k == 4:
            reg, msk, _ = field()
            return "    if (FIELD_TEST(%s, %s)) v = ALIGN_UP(%s, %d);" % (
                reg, msk, value(), rng.choice((4, 8, 16, 64)))
        return "    %s = %s;" % (field()[0], value())

    for n in range(int(MANY_MACRO_FUNCTIONS * scale)):
        out += ["unsigned long drv_step_%d(unsigned long *x_0)" % n, "{",
                "    unsigned long v = x_0[%d];" % rng.randrange(8)]
        for _ in range(rng.randrange(6, 14)):
            out.append(statement())
        out += ["    return v;", "}", ""]
    return out


def gen_macro_churn(rng, scale):
    """Every kind of macro traffic in one file, as a large code generator's
    output has it: per module an X-macro table expanded three times under
    a redefined entry macro, a constant chain, an object-like chain that
    ends in a function-like name (the call completes after the rescans),
    pasted and stringised names reached through helper layers, and code
    that nests calls of them three deep; #undef and #define of the entry
    macro, the current module and now and then an earlier module's
    operator keep the table changing all the way through."""
    out = ["/* Macro churn: X-macro tables, chains, # and ## through helpers. */",
           "#define CAT(a, b) a ## b",
           "#define XCAT(a, b) CAT(a, b)",
           "#define STR(x) #x",
           "#define XSTR(x) STR(x)",
           "#define ADD(a, b) ((a) + (b))",
           "#define MUL(a, b) ((a) * (b))",
           "#define MAX(a, b) ((a) > (b) ? (a) : (b))",
           "#define MIN(a, b) ((a) < (b) ? (a) : (b))",
           "#define CLAMP(x, lo, hi) MIN(MAX(x, lo), hi)",
           "#define APPLY(m, x) m(x)",
           "#define TWICE(m, x) m(m(x))",
           "#define SQ(x) ((x) * (x))",
           ""]
    modules = max(4, int(MACRO_CHURN_MODULES * scale))
    chain = 6
    for m in range(modules):
        entries = ["%s_%d" % (rng.choice(WORDS), k) for k in range(rng.randrange(6, 11))]
        out.append("/* module %d */" % m)
        out.append("#undef CUR")
        out.append("#define CUR %d" % m)
        out.append("#define C_%d_0 (%d)" % (m, rng.randrange(1, 100)))
        for k in range(1, chain):
            out.append("#define C_%d_%d (C_%d_%d + %d)" % (m, k, m, k - 1, k))
        # The table: X applied to each entry; long tables are continued
        # over several lines.
        items = ["X(%s, %s)" % (e, rng.choice((str(rng.randrange(64)),
                                              "C_%d_%d" % (m, rng.randrange(chain)))))
                 for e in entries]
        if len(items) > 8:
            out.append("#define TBL_%d(X) %s \\" % (m, " ".join(items[:5])))
            out.append("    %s" % " ".join(items[5:]))
        else:
            out.append("#define TBL_%d(X) %s" % (m, " ".join(items)))
        out.append("#define OP_%d(a, b) MAX(ADD(a, b), C_%d_%d)" % (m, m, rng.randrange(chain)))
        for k in range(4):
            out.append("#define R_%d_%d R_%d_%d" % (m, k, m, k + 1))
        out.append("#define R_%d_4 OP_%d" % (m, m))
        out.append("#define REG_%d(n) XCAT(reg_%d_, n)" % (m, m))
        out.append("#define NAME_%d(x) XSTR(CAT(mod_%d_, x))" % (m, m))
        out.append("#define GET_%d(p, f) ((p)->XCAT(f, _%d))" % (m, m))
        out.append("#define SCALE_%d(x) MUL(x, C_%d_%d)" % (m, m, chain - 1))
        out.append("#undef ENTRY")
        out.append("#define ENTRY(n, v) n = v,")
        out.append("enum mod_%d_ids { TBL_%d(ENTRY) mod_%d_count };" % (m, m, m))
        out.append("#undef ENTRY")
        out.append("#define ENTRY(n, v) STR(n),")
        out.append("static const char *const mod_%d_names[] = { TBL_%d(ENTRY) 0 };" % (m, m))
        out.append("#undef ENTRY")
        out.append("#define ENTRY(n, v) { XCAT(CUR, 0), v, XSTR(n) },")
        out.append("static const struct row mod_%d_rows[] = { TBL_%d(ENTRY) { 0, 0, 0 } };"
                   % (m, m))
        if m > 0 and m % 8 == 0:
            # An earlier module's operator changes: its chain now ends in
            # the new body.
            g = rng.randrange(m)
            out.append("#undef OP_%d" % g)
            out.append("#define OP_%d(a, b) MIN(ADD(a, b), C_%d_0)" % (g, g))

        def near():
            # A module defined already (this one, mostly).
            return m if rng.random() < 0.6 else rng.randrange(m + 1)

        def leaf():
            k = rng.randrange(6)
            if k == 0:
                return "x_%d" % rng.randrange(8)
            if k == 1:
                g = near()
                return "C_%d_%d" % (g, rng.randrange(chain))
            if k == 2:
                return "REG_%d(%d)" % (near(), rng.randrange(16))
            if k == 3:
                return "GET_%d(p, %s)" % (near(), rng.choice(entries))
            if k == 4:
                return str(rng.randrange(1000))
            return rng.choice(entries)

        def operand(depth):
            if depth > 2 or rng.random() < 0.3:
                return leaf()
            a, b = operand(depth + 1), operand(depth + 1)
            k = rng.randrange(7)
            if k == 0:
                return "ADD(%s, %s)" % (a, b)
            if k == 1:
                return "MUL(%s, %s)" % (a, b)
            if k == 2:
                return "CLAMP(%s, 0, %s)" % (a, b)
            if k == 3:
                return "SCALE_%d(%s)" % (near(), a)
            if k == 4:
                return "APPLY(SQ, %s)" % a
            if k == 5:
                return "TWICE(SQ, %s)" % a
            if depth == 0:
                # Chains stay out of each other's arguments.
                return "R_%d_0(%s, %s)" % (near(), leaf(), leaf())
            return "MAX(%s, %s)" % (a, b)

        out.append("long mod_%d_step(struct mod *p, long *x_0)" % m)
        out.append("{")
        for i in range(rng.randrange(MACRO_CHURN_STATEMENTS // 2,
                                     MACRO_CHURN_STATEMENTS * 3 // 2)):
            k = rng.randrange(8)
            if k < 4:
                out.append("    r_%d = %s;" % (i % 17, operand(0)))
            elif k == 4:
                out.append("    s_%d = NAME_%d(%s);" % (i % 7, near(), rng.choice(entries)))
            elif k == 5:
                # Whether a stringising helper's argument is expanded all
                # the way down a chain is left open: only a constant's
                # first link is stringised.
                out.append("    REG_%d(%d) = XSTR(C_%d_0);" % (m, rng.randrange(16), near()))
            elif k == 6:
                out.append("    t_%d = XCAT(mod_, CUR) + XCAT(%s, _n);"
                           % (i % 5, rng.choice(entries)))
            else:
                out.append("    u = R_%d_0(%s, %s) + %s;" % (near(), leaf(), leaf(), leaf()))
        out.append("    return r_0;")
        out.append("}")
        out.append("")
    return out


def write(path, lines):
    with open(path, "w") as f:
        f.write("\n".join(lines) + "\n")


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    here = os.path.dirname(os.path.abspath(__file__))
    ap.add_argument("--out", default=os.path.join(here, "out", "corpus"))
    ap.add_argument("--scale", type=float, default=1.0)
    ap.add_argument("--seed", type=int, default=20261205)
    args = ap.parse_args()
    os.makedirs(args.out, exist_ok=True)

    manifest = []
    for name, gen in (("plain.c", gen_plain), ("macros.c", gen_macros),
                      ("conds.c", gen_conds), ("comments.c", gen_comments)):
        rng = random.Random("%d/%s" % (args.seed, name))
        write(os.path.join(args.out, name), gen(rng, args.scale))
        manifest.append(name)
    rng = random.Random("%d/includes.c" % args.seed)
    lines, dirs = gen_includes(rng, args.scale, args.out)
    write(os.path.join(args.out, "includes.c"), lines)
    manifest.insert(2, "includes.c " + " ".join(dirs))
    rng = random.Random("%d/many_includes.c" % args.seed)
    lines, dirs = gen_many_includes(rng, args.scale, args.out)
    write(os.path.join(args.out, "many_includes.c"), lines)
    manifest.append("many_includes.c " + " ".join(dirs))
    rng = random.Random("%d/many_macros.c" % args.seed)
    write(os.path.join(args.out, "many_macros.c"), gen_many_macros(rng, args.scale))
    manifest.append("many_macros.c")
    rng = random.Random("%d/macro_churn.c" % args.seed)
    write(os.path.join(args.out, "macro_churn.c"), gen_macro_churn(rng, args.scale))
    manifest.append("macro_churn.c")
    write(os.path.join(args.out, "manifest.txt"), manifest)


if __name__ == "__main__":
    main()
