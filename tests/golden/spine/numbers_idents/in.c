10ULLaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa
abcdefghijabcdefghijabcdefghijabcdefghij;
	  x  =  0x1F+y	;  
1.2.3 .5 1e+5 0b101 017 10LU
