// The input-source stack and the character reader: files one line at a time,
// pending macro text, trigraphs, line splices, comments, control characters,
// parameter references and end-of-expansion markers.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "common/wstr.h"
#include "cpp/char_class.h"
#include "cpp/dialect.h"
#include "cpp/macro_def.h"

constexpr int FILE_LINE_CAPACITY = 8192;
// Zeroed units allocated past the end of every source's buffer, so that a
// scan may read a few units at a time beyond the 0 that ends the text.
constexpr int BUFFER_READ_AHEAD = 32;
// Units of a text source that the bulk copy of tokens takes in one run at
// the most (its output must fit the room it has for a line's). Only ISO C
// makes longer texts, its replacements (a barrier text is read by ISO C's
// own loop): the toolchain's dialect has none longer than an argument.
constexpr std::size_t LONG_TEXT = 4 * FILE_LINE_CAPACITY;

struct input_source {
    wchar* pos = nullptr;  // read position (file_pos of a file, text_pos of a text)
    // Start of the text read: the buffer, or for a borrowed text the text
    // of another source that outlives this one (see push_borrowed_text).
    wchar* text = nullptr;
    int saved_line = 0;
    std::FILE* file = nullptr;             // null for a text source
    std::unique_ptr<input_source> parent;  // each source owns the one below it
    wstr_ptr name;                         // null for a text source
    macro_def* macro = nullptr;
    // The argument texts of `macro`'s call, one after another, each ended by
    // a 0; argument i starts at arg_at[i] when i < arg_count and arg_at[i] >= 0.
    std::vector<wchar> arg_text;
    std::array<int, MAX_PARAMS> arg_at{};
    int arg_count = 0;
    const wchar* argument(int i) const {
        return i >= 0 && i < arg_count && arg_at[i] >= 0 ? arg_text.data() + arg_at[i] : nullptr;
    }
    wstr_ptr display_name;
    int pending_pops = 0;
    // Of a file: the place in the include search it was found at (-1 when
    // not found there), where #include_next goes on.
    int search_place = -1;
    void* include_entry = nullptr;  // and the include look-up's record of it
    int at_end = 0;
    int capacity = 0;  // units of buffer for text (BUFFER_READ_AHEAD more are allocated)
    macro_def* reenable_macro = nullptr;
    std::unique_ptr<wchar[]> buffer;
    bool owns_file = false;  // closed when the source ends (not standard input)
    // Block read underneath the line buffer of a file source.
    std::unique_ptr<unsigned char[]> block;
    std::size_t block_len = 0;
    std::size_t block_pos = 0;
    bool file_eof = false;
    // A regular file, read unbuffered: a short block read is its end.
    bool regular_file = false;
    bool nul_reported = false;  // a NUL byte of this file has been reported
    // A text read on its own, as if it were the rest of the input (an ISO C
    // argument being macro-replaced): its end reads as 0 until it is popped
    // with pop_barrier_source.
    bool barrier = false;
    // Characters given back after a look-ahead for '(' found none: no macro
    // boundary begins or ends with them.
    bool pushback = false;
    // A text longer than the bulk copy of tokens takes in one run: it is
    // read by the token loop.
    bool long_text = false;
    // Tells this push of the record from every other (records are reused).
    std::uint64_t serial = 0;
    ~input_source();
};

// A step of the expansion depth: an expansion of m beginning on `line`
// (one up), or a fall by `by` (down, to 0 at the least).
struct depth_step {
    const macro_def* m = nullptr;
    int by = 0;
    int line = 0;
};

// The steps of the depth while a reading is watched, up to a limit.
struct depth_log {
    static constexpr std::size_t LIMIT = 1024;
    std::vector<depth_step> steps;
    bool overflowed = false;
    void add(const depth_step& step) {
        if (steps.size() < LIMIT) {
            steps.push_back(step);
        } else {
            overflowed = true;
        }
    }
};

struct reader_state {
    std::unique_ptr<input_source> top;  // the stack, owned through `parent`
    input_source* current_source = nullptr;
    input_source* main_source = nullptr;
    std::unique_ptr<input_source> finished_main;  // kept after the main file ended
    // Finished text sources kept for reuse with their buffers, so that an
    // expansion costs no allocation once the stack has been this deep: a
    // chain linked through `parent`, of spare_count records.
    std::unique_ptr<input_source> spare;
    int spare_count = 0;
    // Line buffers and blocks of included files that ended, for the next
    // ones: making them anew (zeroed) costs more than reading a small header.
    std::vector<std::unique_ptr<wchar[]>> spare_lines;
    std::vector<std::unique_ptr<unsigned char[]>> spare_blocks;
    int current_line = 1;
    int raw_input = 0;
    int echo_comments = 0;
    int sync_needed = 0;
    bool comment_lookahead = false;
    int expansion_depth = 0;
    // While a reading that may be replaced is watched: every step of
    // expansion_depth goes here too.
    depth_log* watch = nullptr;
    // Counts the starts and ends of macro texts: tokens read on either side
    // of one may need a space between them in ISO C output.
    unsigned boundaries = 0;
    std::uint64_t pushes = 0;  // sources pushed, each one's serial
    // A directive's line is being read: ISO C ends a macro call's arguments
    // at its end.
    bool in_directive = false;
    // ISO C: called at the start of each line of a file that a macro call's
    // arguments run on into, to deal with the directives and skipped lines
    // there as the main loop would (set by the driver).
    void (*argument_line_hook)() = nullptr;
    // What the reader hands upwards: a parameter reference read from macro
    // text (the expansion reads its argument instead), and a unit of a
    // comment copied to the output with -C (a line comment's held until its
    // output line ends).
    void (*parameter_hook)(int index) = nullptr;
    void (*comment_hook)(int c, bool block) = nullptr;
    // The macro whose expansion was started when expansion_depth became 1.
    macro_def* outermost_macro = nullptr;
    int outermost_line = 0;  // the line its name was read on
    // Set while the current source's parent has pops to account for, or the
    // current source has returned its end marker; the fast path then steps
    // aside.
    bool bookkeeping = false;
};
extern reader_state reader;

// Moves the line count by one line. A line number set by #line may be the
// largest there is: the count wraps at 32 bits instead of overflowing.
inline void count_lines(int by) {
    reader.current_line =
        static_cast<int>(static_cast<unsigned>(reader.current_line) + static_cast<unsigned>(by));
}

// The current line as __LINE__ and line-synchronisation lines show it: ISO C
// counts on past 2147483647, the toolchain's dialect wraps to negative numbers.
inline long long shown_line_number() {
    if (dialect.iso) return static_cast<unsigned>(reader.current_line);
    return reader.current_line;
}

// Pushes a source with a buffer of at least capacity units, which the caller
// fills; a null name makes a text source.
input_source* push_source(int capacity, const wchar* name);
int push_text_source(const wchar* text);
// Pushes a copy of the n units at t as m's expansion text; m counts as being
// expanded until the text is left.
inline input_source* push_macro_text(macro_def* m, const wchar* t, std::size_t n) {
    input_source* s = push_source(static_cast<int>(n) + 1, nullptr);
    if (n != 0) std::memcpy(s->buffer.get(), t, n * sizeof(wchar));
    s->buffer[n] = 0;
    s->long_text = n > LONG_TEXT;
    s->macro = m;
    ++m->active;
    return s;
}
// Pushes a text source that reads the text where it lies, without a copy:
// the text must outlive the source and be followed by BUFFER_READ_AHEAD
// readable units. (The reader writes into a borrowed text only after
// copying it.)
void push_borrowed_text(const wchar* text);
// Pushes an open file and reads its first block: a UTF-8 byte-order mark
// at its start is stepped over, and a UTF-16 file is refused (message 188,
// and nothing of it is read when the run goes on). A file known to be a
// regular one, whose stream has no buffer, is read a block at a time
// straight from the system.
int push_file_source(std::FILE* file, const char* name, bool owns_file, bool regular_file = false);
// Leaves the reader as pushing a file source on the current one (a file
// source) and reading it to its end would, for a file whose lines give the
// main loop nothing but line ends and directives that change nothing.
void pass_over_file_source();
int next_char_slow();
// Pushes a barrier text source reading the text where it lies (as
// push_borrowed_text does).
void push_barrier_text(const wchar* text);
// Pops the barrier source whose end has been read.
void pop_barrier_source();
// Reads the next line of a file source into its buffer; false, with
// nothing changed, once the file has ended.
bool refill_file_line(input_source* s);
// The bytes of the block read underneath a file source's line buffer that
// no line has taken yet, followed by a 0 (and read-ahead), with their
// number in left; null when there are none.
unsigned char* block_rest(input_source* s, std::size_t& left);
// The bytes of a file source just pushed, when its first block holds the
// whole file, with their number in length; null for a longer file.
const unsigned char* whole_file_bytes(const input_source* s, std::size_t& length);
// Takes n bytes of that rest, which the caller has read: whole lines.
void skip_block_bytes(input_source* s, std::size_t n);
// Reads the line that begins the rest into the line buffer as a refill
// does, with the read position at unit `at`, which must lie before any CR
// or NUL of the line and not past BLOCK_LINE_LIMIT; false when there is no
// line.
bool load_block_line(input_source* s, std::size_t at);
// Bytes of a line that may be read from the block: a longer line is read
// in pieces through the line buffer.
constexpr std::size_t BLOCK_LINE_LIMIT = FILE_LINE_CAPACITY - 2;
int unget_char_slow();
// Lowers the expansion depth by the pops owed to s, which are then paid, as
// the next read of a plain unit from a source pushed on s would.
void pay_pops_owed_to(input_source* s);
void reader_reset();
// With the current source a macro text whose end mark has been handed out:
// finishes it and pops it, as the next read does before it reads a unit of
// the source below; returns the number of sources finished, which that read
// owes. A caller that then takes units of the source below itself settles
// them with settle_pops_owed.
int finish_ended_text();
// For a caller that has taken `taken` units (at least one) of the current
// source itself, as the reader's reads would have: those reads pay off the
// pops owed to the source's parent; after finish_ended_text, with the
// `popped` sources it finished, the first owes them and the second pays.
void settle_pops_owed(int popped, std::ptrdiff_t taken);
// The current text source, with the reader's fast path open, is read up to
// the 0 that ends it (a name taken from it ends there, or a look for a paste
// mark begins there): leaves the
// reader as reading on to the next unit and stepping back over it would,
// when that unit is the end of a macro text or a plain unit of no name or
// number that a text below holds after an argument's end; false, with
// nothing changed, when the reader must go the whole way.
bool pass_text_end();

#ifndef CPP_READER_FAST_PATH
#define CPP_READER_FAST_PATH 1
#endif

// Units that the reader returns unchanged from any source: no line count,
// trigraph, comment, splice, control character or marker is involved.
extern const std::array<bool, 256> reader_plain_unit;

inline int next_char() {
#if CPP_READER_FAST_PATH
    input_source* s = reader.current_source;
    if (s != nullptr && !reader.bookkeeping) {
        unsigned c = *s->pos;
        if (c < 256 && reader_plain_unit[c]) {
            ++s->pos;
            return static_cast<int>(c);
        }
    }
#endif
    return next_char_slow();
}

// Steps back over the last character read.
inline int unget_char() {
#if CPP_READER_FAST_PATH
    input_source* s = reader.current_source;
    if (s != nullptr && !s->at_end && s->pos != s->text) {
        --s->pos;
        if (s->file != nullptr && *s->pos == '\n') count_lines(-1);
        return 0;
    }
#endif
    return unget_char_slow();
}

// Whether the next character is a plain unit that the fast path hands out
// as it stands: reading it and stepping back then changes nothing, and it is
// no mark, so a look-ahead for one can be skipped.
inline bool next_is_plain_unit() {
#if CPP_READER_FAST_PATH
    const input_source* s = reader.current_source;
    if (s == nullptr || reader.bookkeeping) return false;
    unsigned c = *s->pos;
    return c < 256 && reader_plain_unit[c];
#else
    return false;
#endif
}
