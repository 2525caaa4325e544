/* Numbers read from macro text and from arguments: every shape the number
   scanner tells apart, each at the end of its text and followed by more.
   The first token of a text is read on its own, so the texts begin with
   a bracket. */
#define HEX [ 0x1e+1 0xE+1 0x1fUL 0xep+1 0X1.p+3 0xABCDEFabcdef9 0x
#define DEC [ 1e+5 12.5e-3 1.2.3 7E-2L 0777 08 09.5 0b101 0B2 1ul 1LU 1uu 1lL
#define PP [ 1e+ 1p-2 1.e5 .5e+3 1_a$b 1.x.y 2e3e+4 0x1P-3f
#define ID(x) x
#define TAIL(x) x.5 x+1 x##7
#define SIGNS [ 1+ONE 0x1+ONE 1e+ONE 1E-ONE 0x1p-ONE 1.e+ONE
#define ONE 1
#define face 9
#define e5 E5
#define f1 F1
#define HEXDOT [ 0x1.face 0x1.e5 0x1.f1 1.5e5 1e5.e5 08.e5 1.f1 0b1.f1 0x1.1f1
#define ZERO_X 0x
HEX;
DEC;
PP;
ID([ 0x1e+1) ID([ 1e+5) ID(12.5e-3) ID(0x1fUL) ID(1.2.3) ID(08);
ID(HEX) ID(DEC);
TAIL(1) TAIL(0x1) TAIL(2e);
HEXDOT;
SIGNS;
ID(0x1.face) ID(1e5.e5);
ONE.5 ONE+1 ID(ONE)2 ZERO_X1F ID(ZERO_X)1F;
0x1f1 ID(0x1f1) ID([ 0xaf1);
