#define L <L>
#define U <U>
#define u <u>
#define e <e>
#define f <f>
#define g <g>
#define h <h>
#define p <p>
#define x <x>
10ULL 10LU 10uu 10lU 1.5e3L 1.5Lu 5.L 1.2.e 1e5e 1eU .5f .x 0x1.e 0xABCDEFg 0h 0x1p 017 0b101 08
#undef x
abcdefghijabcdefghijabcdefghijabcdefghij_tail; abcdefghijabcdefghijabcdefghijabcdefghij_other;
	  x  =  0x1F+y	;  
a




b





c
ctlbcd
xy
a ??( b ??) c ??< ??> ??! ??- ??x ??? ???= 
"??=" '??''
x ??/
y
z
j\
oined a\b a\\
b a\\\
c
"a\"b" 'x
'\'' "it's" "/* no */" "a // b" "a\
b"
  last   line  