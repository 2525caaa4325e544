a/**/b
a/* x */ b
c /* x */
d // e
/* multi
line
*/ f
g // end