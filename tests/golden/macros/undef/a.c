#define A 1
#undef A
#undef NEVER
#undef __FILE__
A __FILE__
