# Replacement lists read in both dialects: parameters and the macro's own
# name among other tokens, numbers with suffixes, exponents and fractions
# beside parameters that are letters, a name spliced over a line end,
# blanks, operators, and __VA_ARGS__ outside a variadic macro (ISO C);
# names cut to their significant length (b.c).
piece own "$CPP" a.c
piece iso "$CPP" --std=c99 a.c
piece significant "$CPP" b.c
