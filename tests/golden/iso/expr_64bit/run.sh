# #if in ISO C: intmax_t/uintmax_t arithmetic beside the toolchain's 32-bit
# one, the constants and suffixes of C, its messages, and `defined` that a
# macro produces.

# The width and signedness checks of real headers take the other branch in
# the toolchain's dialect.
for std in "" --std=c99; do
  piece "widths [$std]" "$CPP" $std widths.c | text
done

# A constant past 64 bits is reported (191) and keeps its low 64 bits; a
# suffix outside C's set is an operand where an operator belongs (117); no
# division in an unselected branch is reported, one in a live one is.
piece messages "$CPP" --std=c99 messages.c | text

# `defined` that comes out of a macro is the operator, also when only the
# word comes from the macro.
piece defined "$CPP" --std=c99 defined.c | text
