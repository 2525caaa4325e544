#define X 1
#define aX 2
#pragma X  foo
x
#ident "x"
#ident
#error bad   thing  
#warning careful
y
#asm
  mov a, b, aX, 0aX, 0xaX
#endasm trailing X
z
#asm
  mov a






 mov b
#asm
#endasm
#endasm
w
