/* kept */
X Y
#include <h.h>
#define R 1 /* not kept */
#define R 2
#if 1
#endif extra
#if sizeof(int) == 2 && sizeof(int (*)()) == 6
sizes
#endif
#define abcdefghijklmnopqrstuvwxyzabcdefghi_1 one
#define abcdefghijklmnopqrstuvwxyzabcdefghi_2 two
abcdefghijklmnopqrstuvwxyzabcdefghi_1
#warning shown
