#if !defined(G2_H)
#define G2_H
int g2;
#endif
