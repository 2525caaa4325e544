/* Any two tokens that make one token paste, in both orders of operands. */
#define cat(a, b) a ## b
#define xcat(a, b) cat(a, b)
cat(x, y) cat(+, +) cat(<<, =) cat(-, >) cat(1, e5) cat(L, 'a') cat(%:, %:)
cat(1, 2) cat(0x, 1f) cat(x, 1) cat(_, _LINE__) xcat(cat, cat)(a, b)
/* The pasted name is rescanned: it may name a macro, but not the one being
   replaced. */
#define ab done
#define self(x) self ## x
cat(a, b) self() self(ab)
/* '##' of an object-like macro, and '#' there is an ordinary token. */
#define OBJ a ## b
#define HASH # x
OBJ HASH
/* Tokens that came from different places stay apart. */
#define minus -
#define neg(x) -x
#define dot .
-minus minus- neg(-) neg(neg(1)) 1 dot 2 cat(1,dot)
