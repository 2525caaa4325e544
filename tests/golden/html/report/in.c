#define SQUARE(x) ((x) * (x))
#define EMPTY() nothing
#define JOIN(a, b) a ## b
#define NUM(x) x ## 12 ## 34
#define STR(x) #x
#define R R+1
#define TWO(a, b) b a
#define CTRL abcéd
#undef VER
int a = SQUARE(2) + SQUARE(R);
EMPTY() R STR(s) JOIN(p, q) NUM(n) TWO(1, 2) __LINE__ __FILE__ CTRL
