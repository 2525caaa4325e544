/* Names of macros inside an argument being replaced, each followed by a
   unit that needs no look of the reader's. */
#define id(x) x
#define two(a, b) a b
#define g(x) [x]
#define OBJ obj
#define e
#define chain1 chain2 +
#define chain2 chain1 -
#define self(x) x self(x)
/* Object-like and function-like macros, a call after blanks. */
id(a + OBJ + b) id(g(1) ; g (2) ; g
(3))
/* A function-like name with no call after it stands, then its neighbours. */
id(g + 1) id(g ; g) two(g ;, g .)
/* A macro that expands to nothing leaves its neighbours apart. */
id(-e-) id(+e+e+) id(x e.e y) id(1 e.5) id(.e.e.)
/* Chains that end at a name being rescanned, painted there. */
id(chain1 ;) id(chain2 + chain1 ;) id(self(1) ;)
/* An expansion that begins with a name of a macro that may expand. */
#define first OBJ OBJ
#define call g
id(first ; call(4) ; call ; call (5))
two(id(first ;), id(call(6);))
/* Names longer than the significant length. */
#define a234567890123456789012345678901234567890123456789012345678901234 long
id(a2345678901234567890123456789012345678901234567890123456789012345678 ;)
id(a234567890123456789012345678901234567890123456789012345678901234xyz + 1)
