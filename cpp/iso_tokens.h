// Preprocessing tokens of ISO C over a text of 16-bit units: where one ends,
// and whether two written side by side would read as something else.
#pragma once

#include <cstddef>

#include "common/wstr.h"

// Units of the preprocessing token that begins at p (a name painted with
// the no-expand mark counts the mark as its own); at least 1 when p < end.
std::size_t pp_token_length(const wchar* p, const wchar* end);

// Whether a token ending in `last` (a preprocessing number when
// last_is_number) followed at once by one beginning with `first` may read
// as other tokens: a space must then stand between them. It errs on the
// side of a space (a space changes no token).
bool pp_tokens_merge(wchar last, bool last_is_number, wchar first);

// Whether the text from begin to end (not empty) ends in a preprocessing
// number, looking back no further than begin.
bool pp_number_ends_at(const wchar* begin, const wchar* end);
