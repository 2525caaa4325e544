const char *s = "ab\
cd", t = "x\\
n";
char c = '\
';
x = a +\
+ b; id\
ent 12\
34 "q??/
r" <\
<= 1;
after /\
/ a line comment
/\
* a block comment *\
/ tail
// a line comment \
continued
last
