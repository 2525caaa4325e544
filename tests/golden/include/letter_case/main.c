#include "B.H"
end;
