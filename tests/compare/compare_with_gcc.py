#!/usr/bin/env python3
"""Generates a macro-heavy C file of a few megabytes, preprocesses it with our
cpp and with `gcc -E -undef -std=gnu89 -P`, and compares the two outputs token
by token.

The generated code keeps to what both preprocessors treat alike: object-like
and function-like macros, nested calls, calls spread over lines, arguments
holding literals and parentheses, stringising of operands that hold no macro
names, pasting of argument names and digit runs, chains, redefinition and #undef, and conditional groups. Our line
synchronisation lines are dropped before the comparison, and white space is not
compared.

usage: compare_with_gcc.py <cpp binary> [--lines N] [--seed S] [--keep DIR]
Exit status 0 when the token streams agree, 1 otherwise, 77 without gcc.
"""
import argparse
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import time

TOKEN = re.compile(r'''
    "(?:\\.|[^"\\\n])*"          # string literal
  | '(?:\\.|[^'\\\n])*'          # character literal
  | [A-Za-z_$][A-Za-z0-9_$]*     # name
  | \.?[0-9](?:[eE][+-]|[A-Za-z0-9_.])*   # number
  | \S                           # any other single character
''', re.X)


class Generator:
    """Writes definitions and uses of macros; every name it uses is defined."""

    def __init__(self, seed):
        self.r = random.Random(seed)
        self.out = []
        self.consts = []
        self.funcs = []  # (name, parameter count)
        self.flags = []

    def emit(self, text):
        self.out.append(text)

    def define_base(self, n):
        for i in range(n):
            self.emit('#define K%d %d' % (i, self.r.randint(0, 999)))
            self.consts.append('K%d' % i)
        for i in range(n // 4):
            self.emit('#define C%d (%s + %s)' % (i, self.r.choice(self.consts), self.r.choice(self.consts)))
            self.consts.append('C%d' % i)
        for line in ['STR(x) #x', 'XSTR(x) STR(x)', 'CAT(a, b) a ## b', 'CAT3(a,b,c) a##b##c',
                     'NUM(n) n ## 0', 'ID(x) x', 'APPLY(f, x) f(x)']:
            self.emit('#define ' + line)
        for i in range(n // 2):
            params = ['p%d' % j for j in range(self.r.randint(1, 5))]
            self.emit('#define F%d(%s) %s' % (i, ', '.join(params), self.body(params)))
            self.funcs.append(('F%d' % i, len(params)))
        for i in range(n // 8):
            self.emit('#define FLAG%d %d' % (i, self.r.randint(0, 1)))
            self.flags.append('FLAG%d' % i)

    # Bodies call no function-like macro: a name left in macro text collected
    # as an argument is rescanned here only after the call, where its macro
    # may still be active; the other expands it before the call.
    FORMS = ['(%s)', '(%s) * {k}', '(%s) << 1', '(%s + 1)', '(%s) / {k}', '((%s) ? {k} : -1)']

    def body(self, params):
        parts = [self.r.choice(self.FORMS).format(k=self.r.choice(self.consts)) % p for p in params]
        return '(' + self.r.choice([' + ', ' - ', '|', ' ^ ']).join(parts) + ')'

    def expr(self, depth):
        r = self.r
        form = r.randint(0, 9 if depth > 0 else 3)
        if form in (4, 5, 6):
            f, k = r.choice(self.funcs)
            sep = r.choice([', ', ',', ' ,\n    ', ',\t'])
            return '%s(%s)' % (f, sep.join(self.expr(depth - 1) for _ in range(k)))
        if form == 8:
            return 'ID(%s) + APPLY(ID, %s)' % (self.expr(depth - 1), self.expr(depth - 1))
        # Stringised operands hold no macro names: the two differ in how far
        # names reached through an argument are expanded before stringising.
        return [lambda: r.choice(self.consts), lambda: str(r.randint(0, 99999)),
                lambda: 'v%d' % r.randint(0, 50), lambda: '"s%d, (x)"' % r.randint(0, 9),
                None, None, None,
                lambda: 'CAT(v, %d) + CAT(name%d, _tail) + CAT3(x, %d, y) + NUM(%d)' % (
                    r.randint(0, 99), r.randint(0, 9), r.randint(0, 9), r.randint(1, 9)),
                None,
                lambda: 'sizeof XSTR(K%d) + sizeof STR(v%d + "(,)")' % (r.randint(0, 99),
                                                                         r.randint(0, 9))][form]()

    def statements(self, count):
        for i in range(count):
            kind = self.r.randint(0, 19)
            if kind == 0 and self.flags:
                flag = self.r.choice(self.flags)
                self.emit('#if %s && %s > 3' % (flag, self.r.choice(self.consts)))
                self.emit('int c%d = %s;' % (i, self.expr(2)))
                self.emit('#elif defined(%s)' % self.r.choice(self.consts))
                self.emit('long d%d = %s;\n#else\nshort e%d;\n#endif' % (i, self.expr(1), i))
            elif kind == 1:
                name = self.r.choice(self.consts)
                self.emit('#undef %s' % name)
                self.emit('#define %s %d /* redefined */' % (name, self.r.randint(0, 9)))
            elif kind == 2:
                self.emit('#ifdef NEVER_DEFINED_%d\nthis is skipped ( unbalanced\n#endif' % i)
            else:
                self.emit('int v%d = %s; // %d' % (i, self.expr(3), i))


def tokens(text, drop_sync):
    return [t for line in text.split('\n') if not (drop_sync and re.match(r'#\s*\d+', line))
            for t in TOKEN.findall(line)]


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('cpp')
    ap.add_argument('--lines', type=int, default=30000)
    ap.add_argument('--seed', type=int, default=1)
    ap.add_argument('--keep')
    a = ap.parse_args()
    gcc = shutil.which('gcc')
    if not gcc:
        print('gcc not found: comparison skipped')
        return 77
    work = a.keep or tempfile.mkdtemp(prefix='cpp_compare_')
    os.makedirs(work, exist_ok=True)
    g = Generator(a.seed)
    g.define_base(400)
    g.statements(a.lines)
    src = os.path.join(work, 'macros.c')
    with open(src, 'w') as f:
        f.write('\n'.join(g.out) + '\n')
    runs = []
    for command in ([a.cpp, src], [gcc, '-E', '-undef', '-std=gnu89', '-P', '-x', 'c', src]):
        start = time.time()
        runs.append(subprocess.run(command, capture_output=True))
        runs[-1].time = time.time() - start
    ours, theirs = runs
    print('input %d bytes; cpp %.2f s (status %d), gcc %.2f s' % (
        os.path.getsize(src), ours.time, ours.returncode, theirs.time))
    if not a.keep:
        shutil.rmtree(work)
    if theirs.returncode != 0:
        print('gcc failed:\n' + theirs.stderr.decode('latin-1')[:2000])
        return 1
    ok = ours.returncode == 0 and not ours.stderr
    if not ok:
        print('cpp reported:\n' + ours.stderr.decode('latin-1')[:2000])
    a_tok = tokens(ours.stdout.decode('latin-1'), True)
    b_tok = tokens(theirs.stdout.decode('latin-1'), False)
    first = next((i for i, (x, y) in enumerate(zip(a_tok + [None], b_tok + [None])) if x != y), None)
    if first is None:
        print('%d tokens agree' % len(a_tok))
        return 0 if ok else 1
    print('token %d differs:\n  cpp: %s\n  gcc: %s' % (
        first, ' '.join(a_tok[max(0, first - 15):first + 15]), ' '.join(b_tok[max(0, first - 15):first + 15])))
    return 1


if __name__ == '__main__':
    sys.exit(main())
