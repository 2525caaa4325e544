
# 1 "main.c"
x y; say "hi"; ab cd;
