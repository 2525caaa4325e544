/* A macro named inside the expansion of its own argument. */
#define lua_assert(c) assert(c)
#define assert(expr) ((expr) ? (void)0 : fail(#expr))
#define check_exp(c,e) (lua_assert(c), (e))
#define upisopen(up) ((up)->v != 0)
#define uplevel(up) check_exp(upisopen(up), (up)->v)
lua_assert(uplevel(uv) < top);
/* An argument is replaced before it is pasted into another call. */
#define ONE 1
#define g() x ONE
#define CAT(a,b) a##b
#define XCAT(a,b) CAT(a,b)
XCAT(g(), 2) CAT(g(), 2)
/* A name met while its macro is rescanned never expands again. */
#define f(x) x f
#define id(x) x
f(1)(2) id(f(3))(4)
#define self self + 1
id(self) self
/* The call may end after the end of the text that named the macro. */
#define fa(a) a*gb
#define gb(a) fa(a)
fa(2)(9)
/* Arguments from several lines, and blanks folded. */
id(  a
     b   )
