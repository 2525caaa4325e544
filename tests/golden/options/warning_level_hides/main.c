#define R 1
#define R 2
R;
