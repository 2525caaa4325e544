#define str(x) #x
#define xstr(x) str(x)
/* A backslash or quote is escaped only inside a literal. */
str(: @\n) str("a\n" 'b' '"' "\\" \ x) str(  a   +
  b  ) str(L"w")
/* The operand of '#' is the argument as written. */
#define EMPTY
#define ONE 1
str(ONE) xstr(ONE) str(EMPTY) xstr(EMPTY) xstr(str(a))
