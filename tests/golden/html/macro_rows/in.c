#define SQUARE(x) ((x) * (x))
#define EMPTY() nothing
#define JOIN(a, b) a ## b
#define R R+1
#define DEL xy
int a = SQUARE(2);
EMPTY() R
JOIN(p, q) __LINE__
