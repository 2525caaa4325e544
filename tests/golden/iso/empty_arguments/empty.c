#define t(x,y,z) x ## y ## z
int j[] = { t(1,2,3), t(,4,5), t(6,,7), t(8,9,),
t(10,,), t(,11,), t(,,12), t(,,) };
#define str(x) #x
#define one(x) [x]
#define none() <>
str() one() one( ) none() none( )
#define two(a, b) a b
two(,) two(1,) two(,2)
/* The number of arguments must be right: the call is then dropped and the
   name stands for itself. */
two(1) two(1,2,3) one(1,2) none(x) one((1,2))
