x
#asm
  mov a, b
#endasm trailing
y
