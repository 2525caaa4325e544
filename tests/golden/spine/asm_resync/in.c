x
#asm
  mov a






 mov b
