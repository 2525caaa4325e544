#define P(a,b) a ## b
P(1, 2) P(12, 34) P(0x, 1F)
