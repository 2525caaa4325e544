#define X 1
#define D defined(X)
#define DN defined X
#define DU defined(UNDEF)
#define DE defined
#if D && DN
defined_from_macro
#endif
#if DU
#else
undefined_from_macro
#endif
#if DE X && DE(X) && !DE UNDEF
defined_word_from_macro
#endif
