%:define STR(x) %:x
%:define CAT(a, b) a %:%: b
%:define BOTH(a, b) %:a <:CAT(a, b):> %:b
  %:  define SPACED 1
%:ifdef SPACED
int a<:3:> = <% 1, 2 %>; %: %:%: <::> %>%
STR(<:x:>) CAT(x, y) CAT(1, 2) BOTH(p, q)
%
%x
%:else
%:error not taken
%:endif
%:if 0
%:error skipped
%:  else
live
%:endif
