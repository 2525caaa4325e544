#endasm
#asm
#asm
#endasm
