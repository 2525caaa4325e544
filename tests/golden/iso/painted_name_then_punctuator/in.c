/* A text that names its own macro (a name that stays) and ends with a
   punctuator of two or three units: the punctuator stays one token. */
#define R(x) R x
R(->)
R(a ++)
R(<<=)
#define R4(x) R4 x x
R4(->)
#define R6 R6 ->
R6
#define Q(x) Q2 x
Q(->)
#define R3(x) R3 x ;
R3(->)
