a /* one */ b;
#define X /* in directive */ 1
X; // tail
