/* g1.h: a guarded header */
#ifndef G1_H
#define G1_H
#define ONE 1
int g1;
#if 0
#pragma anything   /* skipped */
#endif
#endif /* G1_H */

