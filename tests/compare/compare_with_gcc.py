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
            name = 'K%d' % i
            self.emit('#define %s %d' % (name, self.r.randint(0, 999)))
            self.consts.append(name)
        for i in range(n // 4):
            name = 'C%d' % i
            self.emit('#define %s (%s + %s)' % (name, self.r.choice(self.consts), self.r.choice(self.consts)))
            self.consts.append(name)
        self.emit('#define STR(x) #x')
        self.emit('#define XSTR(x) STR(x)')
        self.emit('#define CAT(a, b) a ## b')
        self.emit('#define CAT3(a,b,c) a##b##c')
        self.emit('#define NUM(n) n ## 0')
        self.emit('#define ID(x) x')
        self.emit('#define APPLY(f, x) f(x)')
        for i in range(n // 2):
            k = self.r.randint(1, 5)
            params = ['p%d' % j for j in range(k)]
            body = self.body(params)
            name = 'F%d' % i
            self.emit('#define %s(%s) %s' % (name, ', '.join(params), body))
            self.funcs.append((name, k))
        for i in range(n // 8):
            self.emit('#define FLAG%d %d' % (i, self.r.randint(0, 1)))
            self.flags.append('FLAG%d' % i)

    def body(self, params):
        parts = []
        for p in params:
            form = self.r.randint(0, 5)
            if form == 0:
                parts.append('(%s)' % p)
            elif form == 1:
                parts.append('(%s) * %s' % (p, self.r.choice(self.consts)))
            elif form == 2:
                parts.append('(%s) << 1' % p)
            elif form == 3:
                parts.append('(%s + 1)' % p)
            elif form == 4:
                # Bodies call no function-like macro: a name left in macro
                # text collected as an argument is rescanned here only after
                # the call, where its macro may still be active; the other
                # expands it before the call.
                parts.append('(%s) / %s' % (p, self.r.choice(self.consts)))
            else:
                parts.append('((%s) ? %s : -1)' % (p, self.r.choice(self.consts)))
        op = self.r.choice([' + ', ' - ', '|', ' ^ '])
        return '(' + op.join(parts) + ')'

    def expr(self, depth):
        form = self.r.randint(0, 9 if depth > 0 else 3)
        if form == 0:
            return self.r.choice(self.consts)
        if form == 1:
            return str(self.r.randint(0, 99999))
        if form == 2:
            return 'v%d' % self.r.randint(0, 50)
        if form == 3:
            return '"s%d, (x)"' % self.r.randint(0, 9)
        if form in (4, 5, 6):
            f, k = self.r.choice(self.funcs)
            args = [self.expr(depth - 1) for _ in range(k)]
            sep = self.r.choice([', ', ',', ' ,\n    ', ',\t'])
            return '%s(%s)' % (f, sep.join(args))
        if form == 7:
            return 'CAT(v, %d) + CAT(%s, _tail) + CAT3(x, %d, y) + NUM(%d)' % (
                self.r.randint(0, 99), 'name%d' % self.r.randint(0, 9), self.r.randint(0, 9),
                self.r.randint(1, 9))
        if form == 8:
            return 'ID(%s) + APPLY(ID, %s)' % (self.expr(depth - 1), self.expr(depth - 1))
        # Stringised operands hold no macro names: the two differ in how far
        # names reached through an argument are expanded before stringising.
        return 'sizeof XSTR(K%d) + sizeof STR(v%d + "(,)")' % (self.r.randint(0, 99), self.r.randint(0, 9))

    def statements(self, count):
        for i in range(count):
            kind = self.r.randint(0, 19)
            if kind == 0 and self.flags:
                flag = self.r.choice(self.flags)
                self.emit('#if %s && %s > 3' % (flag, self.r.choice(self.consts)))
                self.emit('int c%d = %s;' % (i, self.expr(2)))
                self.emit('#elif defined(%s)' % self.r.choice(self.consts))
                self.emit('long d%d = %s;' % (i, self.expr(1)))
                self.emit('#else')
                self.emit('short e%d;' % i)
                self.emit('#endif')
            elif kind == 1:
                name = self.r.choice(self.consts)
                self.emit('#undef %s' % name)
                self.emit('#define %s %d /* redefined */' % (name, self.r.randint(0, 9)))
            elif kind == 2:
                self.emit('#ifdef NEVER_DEFINED_%d' % i)
                self.emit('this is skipped ( unbalanced')
                self.emit('#endif')
            else:
                self.emit('int v%d = %s; // %d' % (i, self.expr(3), i))


def tokens(text, drop_sync):
    out = []
    for line in text.split('\n'):
        if drop_sync and re.match(r'#\s*\d+', line):
            continue
        out.extend(TOKEN.findall(line))
    return out


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
    size = os.path.getsize(src)

    start = time.time()
    ours = subprocess.run([a.cpp, src], capture_output=True)
    ours_time = time.time() - start
    start = time.time()
    theirs = subprocess.run([gcc, '-E', '-undef', '-std=gnu89', '-P', '-x', 'c', src], capture_output=True)
    gcc_time = time.time() - start
    print('input %d bytes; cpp %.2f s (status %d), gcc %.2f s' % (size, ours_time, ours.returncode, gcc_time))
    ok = True
    if ours.returncode != 0 or ours.stderr:
        print('cpp reported:\n' + ours.stderr.decode('latin-1')[:2000])
        ok = False
    if theirs.returncode != 0:
        print('gcc failed:\n' + theirs.stderr.decode('latin-1')[:2000])
        return 1
    a_tok = tokens(ours.stdout.decode('latin-1'), True)
    b_tok = tokens(theirs.stdout.decode('latin-1'), False)
    n = min(len(a_tok), len(b_tok))
    first = next((i for i in range(n) if a_tok[i] != b_tok[i]), None)
    if first is None and len(a_tok) != len(b_tok):
        first = n
    if first is not None:
        print('token %d differs:\n  cpp: %s\n  gcc: %s' % (
            first, ' '.join(a_tok[max(0, first - 15):first + 15]), ' '.join(b_tok[max(0, first - 15):first + 15])))
        ok = False
    else:
        print('%d tokens agree' % len(a_tok))
    if not a.keep:
        shutil.rmtree(work)
    return 0 if ok else 1


if __name__ == '__main__':
    sys.exit(main())
