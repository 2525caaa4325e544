#define INC <stdio.h>
#define L <a&b>
#define LESS(a,b) ((a)<b)
#define C "<\0177>"
LESS(x,y)
