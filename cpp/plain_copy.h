// The bulk path of the text-line copy: tokens read straight from a file's
// block or line buffer, or from macro text, and written a stretch at a time.
#pragma once

#include "cpp/dialect.h"
#include "cpp/macro_table.h"
#include "cpp/reader.h"

// Copies the tokens ahead in the current source, when it is a file, for as
// long as neither they nor the units after them need the reader's care
// (comments, splices, trigraphs, line ends, the end of the buffer) and none
// is a macro name to expand; blanks is the number of blanks the token loop
// has read before them. Stops before the first token it leaves, with the
// blanks read since the last token it wrote: the caller goes on from there
// character by character, and the output is the same as if it had read
// everything so.
int copy_file_tokens(int blanks);
// The same for macro text and arguments, where no name that is a macro is
// taken (even one being expanded) and the count of nested expansions is
// left alone.
int copy_text_tokens(int blanks);
// The same with pops owed (a text source has just been finished): the
// copy's first unit pays them off, as its read would.
int copy_tokens_owing_pops(int blanks);
// The same at the end of a macro text whose end mark has been read (in the
// toolchain's dialect only): when the text it was read in goes on with a
// blank or a one-unit token, the ended text is finished and the copy goes
// on there.
int copy_after_text_end(int blanks);
inline int copy_plain_tokens(int blanks) {
    const input_source* s = reader.current_source;
    if (s == nullptr || reader.raw_input) return blanks;
    if (reader.bookkeeping) {
        if (s->at_end == 0) return copy_tokens_owing_pops(blanks);
        return dialect.iso ? blanks : copy_after_text_end(blanks);
    }
    const wchar* p = s->pos;
    const unsigned u = *p;
    // A name that the filter lets through is mostly a macro, which stops
    // the copy at once: the token loop takes it without the measure and the
    // look-up.
    if (u < 256 && plain_name_unit[u] &&
        may_be_macro_name(p, p[1] < 256 && plain_name_unit[p[1]] ? 2 : 1))
        return blanks;
    if (s->file != nullptr) return copy_file_tokens(blanks);
    // Most calls in macro text copy nothing (a parameter reference, a mark
    // or the end of the text is next): answered here.
    if (u >= 256 || (!reader_plain_unit[u] && u != '?' && u != '/')) return blanks;
    return copy_text_tokens(blanks);
}

// What copy_plain_lines leaves for the main loop.
struct plain_lines {
    bool mid_line;  // stopped within a text line, whose start is written
    int blanks;     // then: the blanks read since its last token written
    int newlines;   // else: the line ends read and not yet written
    bool wrote;     // when mid_line: whether a token of the line is written
};

// At the start of a line, with newlines line ends read but not yet written:
// copies whole lines of text for as long as they are plain as above, and
// steps over empty ones. Stops at the start of a line it leaves to the main
// loop (a directive, a line that begins with what needs the reader, a line
// that must be preceded by line synchronisation, the end of the file), or
// within a text line, as copy_plain_tokens does.
plain_lines copy_plain_lines(int newlines);
