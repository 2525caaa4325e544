a.h
b.h
