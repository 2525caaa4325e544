#define X 1
#pragma X  foo
x
#ident "x"
#ident
#error bad   thing  
#warning careful
y
#asm
  mov a, b
#endasm trailing X
z
#asm
  mov a






 mov b
#asm
#endasm
#endasm
w
