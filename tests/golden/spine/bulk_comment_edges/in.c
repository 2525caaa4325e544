#define X 5
#define f(x) x
/* one */ int a; /* two */
int b /* after a name */ = 1; // line comment
int c = 2 /**/+/**/ 3;   // ends
  /* lead */ int d;
/* lead */#define Y 6
X /* x */ X/**/X Y
// alone
  /* alone */  
/* multi
 * line ** *** / /
 */ int e = __LINE__;
/* multi line
   closes at its end */
int f = __LINE__;
/* one *//* two
*/
int g = __LINE__; /* star before splice *\
/ int h = __LINE__;
int i; /* star before trigraph *??/
/ int j = __LINE__;
int m; // line comment with splice \
still comment
int n = __LINE__; // trigraph splice ??/
still comment
int o; /* nested /* warns */ int p;
int q; /* ?? no trigraph ??x ? */ int r;
/**/a /**/f(1,2) /**/b
/* runs on
   with /* inside */ int s = __LINE__;
/* ends */f(3,4)/**/
int t = __LINE__;
int u; /* a \/ b, c ?/ d */ int v = __LINE__;
