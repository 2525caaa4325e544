#define debug(...) fprintf(stderr, __VA_ARGS__)
#define showlist(...) puts(#__VA_ARGS__)
#define report(test, ...) ((test)?puts(#test):\
printf(__VA_ARGS__))
debug("Flag");
debug("X = %d\n", x);
showlist(The first, second, and third items.);
report(x>y, "x is %d but y is %d", x, y);
/* The comma before ## __VA_ARGS__: dropped when they are left out, kept
   when they are present, even empty, and the arguments then not replaced. */
#define V(a, ...) a , ## __VA_ARGS__
#define W(...) w , ## __VA_ARGS__
V(1) | V(1,) | V(1,2) | V(1, V(2,3)) | W() | W(x)
/* A named variable parameter. */
#define N(fmt, args...) log(fmt, args)
N("%d %d", 1, 2)
/* The variable arguments replaced before substitution, commas and all. */
#define TWO 1, 2
#define first(a, ...) a
#define apply(m, ...) m(__VA_ARGS__)
apply(first, TWO) apply(first, x, y)
