x;
#error in sub
