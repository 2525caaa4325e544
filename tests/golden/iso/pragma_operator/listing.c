#define LISTING(x) PRAGMA(listing on #x)
#define PRAGMA(x) _Pragma(#x)
LISTING ( ..\listing.dir )
_Pragma ( "listing on \"..\\listing.dir\"" )
g _Pragma(L"wide \"q\"") h
