#define cat(a, b) a ## b
cat(x, +) cat(/, /) cat(1, -) cat(., x)
#define start ## a
#define end a ##
#define str1(x) #y
start end str1(1)
