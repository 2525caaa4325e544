# Macro limits, each at its value and one past it: 31 parameters and
# arguments (148, 151), the 16384-unit parameter pool (149), the 8191-unit
# expansion text (153), the 8192-unit save buffer (156) and expansion nesting
# 999 deep and 1000 deep (115; the pending text is dropped).

# call P A BODY: a macro of P parameters, BODY its text, called with A
# arguments. 31 parameters and arguments are taken; a 32nd parameter is
# refused, the definition and the rest of the file go on; a 32nd argument is
# refused and never stored past the argument list.
call() {
  printf '#define F(%s) %s\nF(%s)\nafter\n' "$(seq -s, -f p%g 0 $(($1 - 1)))" "$3" \
    "$(seq -s, -f a%g 0 $(($2 - 1)))" > in.c
  "$CPP" in.c
}
piece params_31 call 31 31 'p0 p15 p30'
piece params_32 call 32 31 'p0 p30'
piece args_32 call 31 40 'p0 p30'

# Argument texts share the 16384-unit parameter pool: a 16383-unit argument
# fits with its terminator, a longer one is refused and the call still ends
# at its closing parenthesis.
param_pool() {
  printf '#define F(x) ok\nF(%s)\nF(%s)\nafter\n' "$(rep a 16383)" "$(rep b 16384)" > in.c
  "$CPP" in.c
}
piece param_pool_16384 param_pool

# The same limit for an argument taken from another one's text, where the
# names in it are looked at in bulk: G's argument becomes F's, 16383 units
# that fit and 16384 (the macro x replaced in place) that do not. The bulk
# take stops short of the pool's end, the unit-by-unit read finishes.
param_pool_from_text() {
  printf '#define F(x) [x]\n#define G(x) F(x)\n#define x y\n' > in.c
  printf 'G(%s%s)\nG(%s%s)\nafter\n' "$(rep 'ab ' 5460)" abc "$(rep 'ab ' 5460)" 'cd x' >> in.c
  "$CPP" in.c | crlf_to_lf | awk '{ print length($0), substr($0, 1, 4), substr($0, length($0) - 4) }'
  exit "${PIPESTATUS[0]}"
}
piece param_pool_from_text param_pool_from_text

# The same limit for arguments whose parentheses, commas and blanks are
# taken in bulk: in a file's text, F's argument reaching the pool's end at
# every unit of "(a,  b)<tab>" in turn; in a macro's text, after an argument
# read from another's, at every unit of H's " (q,  r) ".
param_pool_list() {
  printf '#define F(x) [x]\n#define H(y) F(y (q,  r))\n' > in.c
  for pad in $(seq "$2" "$3"); do
    if [ "$1" = file ]; then
      printf 'F(%s%s)\n' "$(rep z $pad)" "$(rep "(a,  b)$(printf '\t')" 2340)" >> in.c
    else
      printf 'H(%s%s)\n' "$(rep 'c ' 8184)" "$(rep d $pad)" >> in.c
    fi
  done
  echo after >> in.c
  "$CPP" in.c | crlf_to_lf | awk '{ print length($0), substr($0, 1, 4), substr($0, length($0) - 8) }'
  exit "${PIPESTATUS[0]}"
}
piece param_pool_file_list param_pool_list file 1 4
piece param_pool_file_list_2 param_pool_list file 5 8
piece param_pool_macro_list param_pool_list macro 7 10
piece param_pool_macro_list_2 param_pool_list macro 11 14

# An expansion text of exactly 8191 units fits. Past it, message 153: a unit
# that does not fit is dropped, and an argument that would not fit is dropped
# whole after its opening quote. The run goes on.
expansion_text() {
  printf '#define S(x) #x\nS(%s)\nS(%s)\nS(%s)\nafter\n' "$(rep 1 8189)" "$(rep 2 8190)" \
    "$(rep 3 8191)" > in.c
  "$CPP" in.c > out.c
  status=$?
  crlf_to_lf < out.c | tail -n +4 | awk '{ print length($0), substr($0, 1, 2), substr($0, length($0) - 1) }'
  exit $status
}
piece expansion_text_8191 expansion_text

# A replacement text of 8191 units fits the save buffer; a longer one is
# cut with message 156, and the macro still expands to what was kept.
save_buffer() {
  printf '#define A %sa\n#define B %sb\nA\nB\nafter\n' "$(rep 'a ' 4095)" "$(rep 'b ' 4096)" > in.c
  "$CPP" in.c | crlf_to_lf | awk '{ print length($0) }'
  exit "${PIPESTATUS[0]}"
}
piece save_buffer_8192 save_buffer

# 999 nested expansions are the most allowed: a chain of 999 macros each
# naming the next expands completely. The 1000th is refused; the pending
# text is dropped and reading goes on in the file.
# depth N [LAST [BEFORE]]: the chain of N macros, the last one's body LAST
# (default end), after the definitions BEFORE (printf escapes).
depth() {
  { printf "${3:-}"
    for i in $(seq 0 $(($1 - 2))); do echo "#define M$i M$((i + 1))"; done
    printf '#define M%d %s\nx M0 y\nafter\n' $(($1 - 1)) "${2:-end}"; } > in.c
  "$CPP" in.c | tail -n 3
  exit "${PIPESTATUS[0]}"
}
piece depth_999 depth 999
piece depth_1000 depth 1000

# The depth goes down again when the text a chain ended in is read on: its
# first unit pays off the expansions that ended (a blank taken with the
# tokens after it too). Here the second chain is refused one macro later
# than the first would have been.
depth_read_on() {
  { for i in $(seq 0 996); do echo "#define M$i M$((i + 1))"; done
    printf '#define M997 end\n#define T (M0) M0\nx T y\nafter\n'; } > in.c
  "$CPP" in.c | tail -n 3
  exit "${PIPESTATUS[0]}"
}
piece depth_read_on depth_read_on

# A chain whose last macro's expansion is put together at once: it goes as
# deep as reading its macros one by one would, and is refused where that
# would be (the chain of 996 and three more levels fits, that of 997 not).
constants='#define K0 (3)\n#define K1 (K0 + 1)\n#define K2 (K1 * K0 + 2)\n'
piece depth_flat_996 depth 996 '(K2 + 1)' "$constants"
piece depth_flat_997 depth 997 '(K2 + 1)' "$constants"
# The same where the walk finds the expansion of a chain six deep kept
# from a line before: it counts those levels too (and is refused 995 deep).
chain6='#define K0 (3)\n#define K1 (K0 + 1)\n#define K2 (K1 + 2)\n#define K3 (K2 + 3)\n'
chain6+='#define K4 (K3 + 4)\n#define K5 (K4 + 5)\nK5\n'
piece depth_flat_kept_995 depth 995 '(K5 + 1)' "$chain6"

# Texts that end together leave the depth one step each that the reader
# never gives back: a chain read after them is refused that much sooner,
# also where their macros' expansions could have been put together.
depth_after_chain() {
  { printf '#define K0 (3)\n#define K1 (K0 + 1)\n#define K2 K1\n#define K3 K2\n#define KW (K3 + 1)\n'
    for i in $(seq 0 995); do echo "#define M$i M$((i + 1))"; done
    printf '#define M996 end\n#define T (K3) M0\n#define U (KW) M0\nx T y\nx U y\nafter\n'; } > in.c
  "$CPP" "$@" in.c | tail -n 4
  exit "${PIPESTATUS[0]}"
}
piece depth_after_chain depth_after_chain
piece depth_after_chain_iso depth_after_chain --std=c99

# An argument that ends with a name the macro's text calls: the argument's
# end is paid off as the text is read on, and a chain of 999 read after
# the call goes through (ISO C counts the call's levels on).
depth_after_argument_name() {
  { for i in $(seq 0 997); do echo "#define M$i M$((i + 1))"; done
    printf '#define M998 end\n#define E(v) v\n#define A(f) (f(1)) M0\nx A(E) y\nafter\n'; } > in.c
  "$CPP" "$@" in.c | tail -n 3
  exit "${PIPESTATUS[0]}"
}
piece depth_after_argument_name depth_after_argument_name
piece depth_after_argument_name_iso depth_after_argument_name --std=c99
