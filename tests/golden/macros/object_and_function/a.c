#define N 4
#define SQ(x) ((x)*(x))
#define MAX(a,b) ((a)>(b)?(a):(b))
a = N;
b = SQ(N+1);
c = MAX(a, b);
