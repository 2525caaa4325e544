#assert sizeof(int) == 4 && sizeof(double) == 8
#assert 1 - 1
#assert defined(X
ok
