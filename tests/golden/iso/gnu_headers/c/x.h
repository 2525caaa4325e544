C
