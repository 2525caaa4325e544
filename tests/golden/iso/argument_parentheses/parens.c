/* Parentheses inside an argument: their commas belong to it, and only the
   ')' that closes the list ends it. */
#define id(x) x
#define pair(a, b) [a|b]
#define count(...) <__VA_ARGS__>
#define last(a, ...) {a;__VA_ARGS__}
#define ONE 1
pair((1, 2), (3, (4, 5)))
pair(((a)),((b)))
pair( ( 1 ) , ( 2 ) )
pair(f (x),g( y ))
pair((),())
id((((((ONE))))))
count((a, b), c, (d, (e, f)))
last((a, b), (c, d), e)
last(x,(y,z))
/* Blanks, comments and lines around and inside the parentheses. */
pair(  (  a  ,  b  )  ,  c  )
pair((a /* , */ , b), c)
pair((a,
      b), (c
      , d))
pair((a, "(", ')'), (b, ","))
/* Inside macro text, where a name of a disabled macro is painted. */
#define self(x) pair((self, x), (x, self))
self((1, self))
#define wrap(x) id((x, wrap, (ONE)))
wrap(wrap(2))
#define call_with(m) m((p, q), r)
call_with(pair)
#define paren_open (
#define paren_close )
pair(paren_open, paren_close)
/* Too few closing parentheses: the list runs to the end of the file. */
pair((a, (b, c)
