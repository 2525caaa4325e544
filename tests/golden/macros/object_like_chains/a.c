/* Chains of object-like macros, read as one text where nothing on the way
   can differ, and the chains that are not. */
#define EMPTY
#define NUM 42
#define K0 (3)
#define K1 (K0 + 1)
#define K2 (K1 * K0 + 2)
#define K3 (K2, K1 K0, NUM)
#define KT	(K1	K2 -1)
#define KE (EMPTY K2 + EMPTY + 1)
#define MSK (0x7UL << K2)
#define M2 (K0 + K2)
r = K0 K1 K2 K3 KT KE MSK M2;
r = K3(1) K3K2 K3.K2 (K3)K2 -K3- MSK;
/* joints that are no blank, parenthesis or comma */
#define KP (K1)+K0
#define KD K1.5
#define KX 1e+K0
#define KQ (K0 'q' K1)
#define KS (K0 "s" K1)
#define KB (K1 \ K0)
r = KP KD KX KQ KS KB;
/* a cycle, a name that is no macro, a function-like name, the line */
#define KC (KC2 - 1)
#define KC2 (KC + 1)
#define KU (K1 + undefined_name)
#define ID(x) x
#define KF (K1, ID)
#define KF2 (K1, ID)(2) + 1
#define KL (__LINE__ + K1)
r = KC KC2 KU KF KF2 KL;
r = KL;
/* the last name and one unit, or ending with a name */
#define KN1 (K2 K1)
#define KN2 (K0 + K1) K2
#define KN3 K1
r = KN1 KN2 KN3 KN1;
/* redefined in place, removed and defined again, defined late */
#define KR (K1 + K0)
r = KR;
#define K0 (4)
r = KR K1;
#undef K0
r = KR;
#define K0 (5)
r = KR;
#define KLATE2 (KLATE + K1)
r = KLATE2;
#define KLATE (K0 + 7)
r = KLATE2;
/* expanded again after the macro itself, or one it reaches, is redefined */
#define KW (K1 + 1)
r = KW;
#define KW (K1 + 2)
r = KW;
#define KW2 (KW * 2)
r = KW2;
#undef KW
#define KW (K0)
r = KW2 KW;
/* in arguments: as written for # and ##, expanded at references, twice */
#define STR(x) #x
#define XSTR(x) STR(x)
#define CAT(a, b) a ## b
#define SQ(x) ((x) * (x))
#define TWICE(f, x) f(f(x))
r = STR(K2) XSTR(K2) CAT(K, 2) CAT(K2, ) SQ(K2) SQ(KC) TWICE(SQ, M2);
r = ID(K2) ID(ID(K2 + K1)) SQ(ID(KN1));
/* inside the expansion of a macro on the way */
#define SELFISH (SELFISH + K1)
#define OUTER (K1 + INNER)
#define INNER (OUTER * 2)
r = SELFISH OUTER INNER;
#define G(x) (x + K2)
#define KG (G(K1) + K0)
r = KG G(KG);
/* after a line of text */
#define LONG (K2 + K2 + K2 + K2 + K2 + K2 + K2 + K2 + K2 + K2 + K2 + K2)
r = LONG;
#if K2 > 10 && MSK
r = K2 ;
#endif
/* blanks around a text given with -D */
#define KK (1 DB1 2)
#define KK2 (1 DB2 2)
#define KJ (1,DB1,DB2,2)
#define KE3 (1 EMPTY, EMPTY 2,EMPTY, 3)
r = KK KK2 KJ KE3;
/* numbers: a letter after some may begin a name */
#define aX 2
#define KZ (0aX + K0)
#define KY (1.5aX + K0, 0x1FaX + K0, 0x7UL + K0, 7ULL + K0, 1e5 + K0)
r = KZ KY;
