/* Runs of one-unit tokens in macro text: up to a paste mark, a parameter
   reference, the end of the text, a comment-like '/' or a '?'. */
#define C(a, b) a##b
#define L(a) -(a)--
#define M(a) [(a)+-]<a>
#define O(a) a+-*&|<>
#define Q(a) ((a)?(a):-1)
#define S /*x*/+-/
#define T ~!%^&*()-+=[]{}|;:,.<>
C(+,+) C(<,<) C(-,>) C(&,&) C(|,=) C(<<,=)
L(1) L(-) L(L(2)) M(x) M(+-) O(1)O(2) O(-)
Q(1) Q(-(1)) S S+ T T;
C(L(1),+) C(+, L(1)) C(O(1),-)
