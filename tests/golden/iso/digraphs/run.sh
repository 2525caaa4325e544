# Digraphs in ISO C: written as spelled; "%:" at the start of a line begins
# a directive as '#' does (also within a skipped group, and with blanks
# around it); in a macro body "%:" stringises and "%:%:" pastes. In the
# toolchain's own dialect the same text is text.
piece iso "$CPP" --std=c99 d.c
piece default "$CPP" d.c

# "%:%:" is one paste; "%:" and "%:" with a blank between them stringise
# twice, and a '%' that is no digraph stays a character of the body. In an
# object-like macro "%:" is no operator and stays as spelled.
body() {
  printf '%%:define P(a, b) a%%:%%:b\n%%:define Q(a) <%%a%%> %%a\nP(x, 1) P(<, :) Q(z)\n' > in.c
  "$CPP" --std=c99 in.c | text
  printf '%%:define H %%: x %%:%%: y\nH\n' > in.c
  "$CPP" --std=c99 in.c | text
  printf '%%:define R(a) %%: %%:a\nR(x)\n' > in.c
  "$CPP" --std=c99 in.c | text
}
piece body body
