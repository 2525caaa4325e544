_Pragma ( "listing on \"..\\listing.dir\"" )
#define DO(x) _Pragma(#x)
#define ONCE _Pragma("once") after_once
before _Pragma("a b") after
DO(omp parallel for) loop();
ONCE
_Pragma("p") _Pragma("q")
	 _Pragma("indented") x;
end __LINE__
