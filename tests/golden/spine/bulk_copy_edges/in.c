/* Text copied a stretch at a time, and every place where that copy
   must hand over to reading one character at a time. */
#define M 7
#define abc 9
int a_name_much_longer_than_thirty_one_units_x = 1, b_name_much_longer_than_thirty_one_units_y;
x = M + y;  z = y+M;
long_name\
_joined = 1;
a = b +/* gone */d; e = f-// to the end
g = 1234/**/5 + 12\
34;
s = "a/b?c" "??/" "q\"q" 'x' '\'' "it's";
n = .5e+3 + 0x1Fg + 123abc + 7UL + 1.5L + 0b101 + 08;
t =		a  	 b c d e;   
   indented = 1;

after_one_empty_line = __LINE__;





after_five_empty_lines = __LINE__;
crlf = 1;
lone_cr = 2;
u = "open
v = $dollar$ + x$;
w = a.b->c[d] ? e : f;
q = a ? b : c; r = a?b:c; s = a?'?':c;
tri = x??=y ??! z;
d = a / b + a/b + a/ *b + a/-1 + a/
e = a/*c*/b + a /**/ / c + name/**/tail + name// line comment
??=define TRI 5
g = TRI?TRI:0; h = "what?" "??!" '?' "a/*b*/c" "//";
?? = 1;
/ = 2;
/* one */
// two
/* three */
  /* four */
/* five */
after_five_comment_lines = __LINE__;
/ * not a comment * / x;
last = __LINE__
