#define PLAIN(c, s, i, sl, l, f, d) sizeof(char) == c && sizeof(short) == s && \
  sizeof(int) == i && sizeof(short long) == sl && sizeof(long) == l && \
  sizeof(float) == f && sizeof(double) == d
/* The pointer size of `short long` cannot be asked for: sizeof(short long *)
   is the plain size. */
#define POINTER(c, s, i, l, f, d, fn) sizeof(char *) == c && sizeof(short *) == s && \
  sizeof(int *) == i && sizeof(long *) == l && sizeof(float *) == f && \
  sizeof(double *) == d && sizeof(int (*)()) == fn
