# An input that ends inside each construct, with no final newline: each
# gives its message (or none) and a defined status, and the text before it
# is kept.
end() {
  printf '%s' "$2" > in.c
  echo "$1:"
  "$CPP" in.c 2>err.txt | crlf_to_lf | grep -v '^#' | grep . | tr '\n' ' '
  echo "status ${PIPESTATUS[0]}"
  sed -n -E '/^ *[0-9]+:\t/d; s/^[^(]*\(([0-9]+)\) .*/message \1/p' err.txt
}
end "block comment" 'kept
a /* open'
end "string literal" 'kept
s = "open'
end "character literal" "kept
c = 'x"
end "macro call" 'kept
#define F(x) x
F(1, (2'
end "conditional" 'kept
#if 1
inside'
end "skipped conditional" 'kept
#if 0
skipped'
end "directive line" 'kept
#define A 1'
end "directive name" 'kept
#'
end "character constant in #if" "kept
#if 'a"
end "backslash-newline" 'kept
a \
'
end "trigraph backslash" 'kept
a ??/
'
end "lone backslash" 'kept
a \'
end "include name" 'kept
#include "h.h'
