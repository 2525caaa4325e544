/* __LINE__ in a call over lines takes the outermost macro's line while
   expansions are pending, and the count of pending expansions depends on
   how the texts before ended. */
#define K0 (3)
#define K1 (K0 + 1)
#define K2 (K1 * K0 + 2)
#define MSK (0x7UL << K2)
#define TAIL (K0 + K2)
#define KT (K1 K2)
#define ID(x) x
#define KL (__LINE__ K0)
MSK ID(
KL
);
TAIL ID(
KL
);
KT ID(
KL
);
ID(MSK) ID(
KL
);
(MSK) ID(ID(
KL
));
ID(ID(TAIL) ID(
KL
));
x = MSK ID(TAIL ID(KL
) MSK) KL;
#define K2B K1
#define KW (K2B + 1)
KW ID(
KL
);
