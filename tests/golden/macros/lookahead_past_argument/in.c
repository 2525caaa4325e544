#define S(x) x
#define T(x) x+
S(a/)
T(a/ )
S(a/)b
S(p\)
)
#if S(long/)
#endif
end
