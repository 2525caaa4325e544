/* Runs of plain units in a replacement, spaces among them, before a paste:
   the left operand is the last token of the run. */
#define left(x) a b c ## x
#define after(x) x + y z ## x
#define tight(x) (x)-q ## x
#define spaced(x, y) x [ 1 ] y ## 2 x
#define lead(x) x z ## x w
#define twice(x, y) x . y ## x ## y . x
#define num(x) 1 2.5e ## x
#define joined(x) x- -x ## 1
left(1) left() after(2) after() tight(3) tight()
spaced(p, q) spaced(, q) spaced(p, ) lead(4) lead()
twice(m, n) twice(, n) num(+) num(3) joined(x) joined()
/* An argument ends next to a run; the run's first unit may join it. */
#define end(x, y) x+y+ x -y- x.y
end(+, -) end(1, .5) end(a, b)
