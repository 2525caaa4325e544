#define H(x) # y x
H(1)
