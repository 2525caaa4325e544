/* a long header comment with text, digits 0123 and (punctuation); ***
 * second line ** of it * / still inside
 **********/ int a; /**/ int b;
/* nested /* start */ x /*/ y */ z
int c; // line ??/
continued by a trigraph \
and a splice
/* crlf body
 * more
 */ w
/* text */before/* text */after
#define M(x) /* in a body */ x /* tail */
M(/* arg */ 1) /*





*/ q
a /* x */ b // y
c /* m
n */ d
a/**/b
a/* x */ b
c /* x */
d // e
/* multi
line
*/ f
g // end