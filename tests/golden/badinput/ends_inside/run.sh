# An input that ends inside each construct, with no final newline: each
# gives its message (or none) and a defined status, and the text before it
# is kept. Each input is "kept", a line end and the rest (printf %b escapes).
end() {
  printf '%b' "kept\n$2" > in.c
  echo "$1:"
  "$CPP" in.c 2>err.txt | text | tr '\n' ' '
  echo "status ${PIPESTATUS[0]}"
  msgs < err.txt | sed 's/^/message /'
}
end "block comment" 'a /* open'
end "string literal" 's = "open'
end "character literal" "c = 'x"
end "macro call" '#define F(x) x\nF(1, (2'
end "conditional" '#if 1\ninside'
end "skipped conditional" '#if 0\nskipped'
end "directive line" '#define A 1'
end "directive name" '#'
end "character constant in #if" "#if 'a"
end "backslash-newline" 'a \\\n'
end "trigraph backslash" 'a ??/\n'
end "lone backslash" 'a \\'
end "include name" '#include "h.h'
