/* Arguments read from the text of another argument: runs of one-unit
   tokens (operators, digits, parentheses) with a comma or a closing
   parenthesis at depth 0 among them, or a reference or the text's end
   right after them. */
#define ID(x) x
#define F(a, b) [a|b]
#define G(x) F(x, x)
#define H(x) F(x, -x)+(x)
#define K(x) F((x)-1, x)
#define N 5
G(1+2*(3-4)) G((1)) G(-1) G(a-(b)) G(((9)))
H(1) H((1,2)) H(-(2)) H(1+(2,3)) H(--1--)
K(1) K(~(0)) K(N) K(N-N) K((N)-(N))
G(1 + 2) G(  -  1  ) G(1)) G(!(1)==2)
ID(F(1^2, 3|4)) ID(ID(ID((1)+(2))))
#define E() e
#define J(x) x
F(1, E ) F(E +1, 2) F(E -(1), E ) J(E ) J(E -1) J(E ()-1) J(E ((1)))
F(E
) F(1, E
+2)
