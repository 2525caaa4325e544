#define MAX(a, b) ((a) > (b) ? (a) : (b))
#define SQ(x) ((x) * (x))
#define ADD(a, b) ((a) + (b))
#define K0 (5)
#define K1 (K0 + 1)
#define K2 (K1 + 2)
#define ONE(a) [a]
#define ID(x) x
#define SELF (SELF + 1)
#define S2(x) ((x) S2 (x))
/* calls and chains in the arguments, expanded at every reference */
r = MAX(ADD(K2, K1), SQ(K0));
r = MAX(SQ(K1), MAX(K0, K2));
/* a report inside an argument comes at every reference */
r = SQ(ONE(1, 2));
r = SQ();
r = MAX(,);
/* the macro's own name in its argument */
r = SQ(SQ(2));
r = S2(S2(1));
r = SQ(SELF);
r = SQ(K2 K2);
/* a name that takes arguments: what follows each reference decides */
#define AP(f) (f) f(3) (f)f(4)
r = AP(ID);
#define CALLS(f) f(1) (f) f (2)
r = CALLS(ONE);
#define PAREN(f) (f)(f)
r = PAREN(ID)(4);
/* a name that takes arguments, from the end of a macro text at the end
   of the argument: the look for its '(' gives back what follows */
#define FN ONE
r = SQ(FN);
r = SQ(FN)(9);
/* commas after the references, and blanks before them */
#define PC(x) (x),x,
r = PC(K2);
#define TW(x) x, x,(x)
r = TW(K2);
#define GAP(x) (x)( x)(x) (x)
r = GAP(K1);
/* brackets made by macros */
#define LP (
#define RP )
r = SQ(ID LP 1 RP);
r = SQ(LP);
r = SQ(ONE LP 2 RP);
/* a line number, in a call over three lines */
r = SQ(__LINE__
  + __LINE__
  + K0);
/* a directive among the argument lines */
r = SQ(K0
#undef K0
K0);
r = SQ(K1);
/* stringised and pasted beside the references */
#define MIXED(x) (#x, x, x ## 1, (x))
r = MIXED(K2);
#define T3(x) ((x), (x), (x))
r = T3(ONE(T3(7)));
