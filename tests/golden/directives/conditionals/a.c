#define B
#if 0
a
#elif defined(B)
b
#elif 1
c
#else
d
#endif
#ifndef B
e
#else
f
#endif
#if 1
g
#else
h
#else
i
#endif
#endif
#else
#elif 1
#if 0
#if 1
j
#else
k
#endif
#foo
#error no
#include "nonexistent.h"
#endif
#if 1
#endif junk
#ifdef 3
l
#endif
#if
m
#endif
#
n
#   
o
#!
#$
#@ x
#"
p
