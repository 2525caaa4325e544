# The operator _Pragma in ISO C: its string literal, with \" and \\
# unescaped, becomes a #pragma line of its own, also when a macro's
# expansion gives it; the line in progress is ended before it, and a line
# marker after it keeps the next text on its line number. In the
# toolchain's own dialect _Pragma is a name like any other.
piece iso "$CPP" --std=c99 p.c
piece default "$CPP" p.c

# Without a parenthesised string literal after it, _Pragma is reported
# (193) and written as it stands, with what followed it.
malformed() {
  printf 'a _Pragma x\nb _Pragma(x) y\nc _Pragma("s" z\nd _Pragma\ne _Pragma ( "cut\nf\n' > in.c
  "$CPP" --std=c99 in.c
}
piece malformed malformed

# Macros between _Pragma and its parenthesis are expanded; a #pragma
# directive's own text holds no operator.
expanded() {
  printf '#define E\n#define L (\n#define F(x) x\n_Pragma E ("e") E\n_Pragma L "l")\n_Pragma F (("f"))\n#pragma x _Pragma("y")\nz _Pragma("w")\n' > in.c
  "$CPP" --std=c99 in.c
}
piece expanded expanded

# With -L no text is written, only the list of included files.
piece list_only "$CPP" --std=c99 -L p.c

# The standard's example, through macros and written out, and a wide
# literal: the same #pragma line each time.
piece listing "$CPP" --std=c99 listing.c
