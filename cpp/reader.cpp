// The character reader. Every character the preprocessor sees comes through
// next_char from a stack of input sources: file sources hold one line of
// their file at a time, text sources hold pending macro text, arguments and
// strings pushed back by directive processing. The slow path below does all
// the work the inline fast path in reader.h steps aside for: refilling lines,
// popping finished sources, trigraphs, splices, comments, control characters,
// parameter references and the end-of-expansion marker.
#include "cpp/reader.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <string>

#include "common/alert.h"
#include "common/osdep.h"
#include "cpp/dialect.h"
#include "cpp/messages.h"
#include "cpp/unit_copy.h"

reader_state reader;

namespace {

// Bytes read from a file at a time underneath the line buffer.
constexpr std::size_t BLOCK_SIZE = 64 * 1024;
// One refill stores at most this many units; the buffer keeps one for the 0.
constexpr int LINE_PIECE = FILE_LINE_CAPACITY - 1;

// Finished text sources kept for reuse; deeper stacks allocate.
constexpr int MAX_SPARE_SOURCES = 32;
// Buffers of finished include files kept for reuse.
constexpr std::size_t MAX_SPARE_FILES = 8;

// Results of the steps of the slow path besides characters.
constexpr int SOURCE_CHANGED = -1;   // go on reading from the current source
constexpr int END_RETURNED = -2;     // the end-of-expansion marker is the result
constexpr int BARRIER_REACHED = -3;  // the end of a barrier text: 0 is the result

constexpr bool is_param_ref(unsigned c) {
    return c >= MARK_PARAM0 && c <= MARK_PARAM_LAST;
}

constexpr wchar trigraph_replacement(wchar c) {
    switch (c) {
        case '=':
            return '#';
        case '(':
            return '[';
        case '/':
            return '\\';
        case ')':
            return ']';
        case '\'':
            return '^';
        case '<':
            return '{';
        case '!':
            return '|';
        case '>':
            return '}';
        case '-':
            return '~';
        default:
            return 0;
    }
}

constexpr std::array<bool, 256> make_plain_table() {
    std::array<bool, 256> t{};
    for (int c = 0; c < 256; ++c) t[c] = true;
    for (int c : {0, int{'\n'}, int{'/'}, int{'\\'}, int{'?'}, 0x0B, 0x0C, 0x0D}) t[c] = false;
    return t;
}

#if CPP_READER_FAST_PATH
// The plain units that a block comment's body steps over: all but '*'.
constexpr std::array<bool, 256> make_comment_plain_table() {
    auto t = make_plain_table();
    t[int{'*'}] = false;
    return t;
}
#endif

void update_bookkeeping() {
    input_source* s = reader.current_source;
    reader.bookkeeping =
        s != nullptr && (s->at_end != 0 || (s->parent != nullptr && s->parent->pending_pops != 0));
}

[[gnu::cold, gnu::noinline]] void watch_fall(int by) {
    if (by != 0) reader.watch->add({nullptr, by, 0});
}

void lower_expansion_depth(int by) {
    if (reader.watch != nullptr) watch_fall(by);
    reader.expansion_depth -= by;
    if (reader.expansion_depth < 0) reader.expansion_depth = 0;
}

// With pops owed to the current source's parent: pays them off, as the read
// of a unit that finishes no source does.
void pay_owed_pops() {
    input_source* parent = reader.current_source->parent.get();
    lower_expansion_depth(parent->pending_pops);
    parent->pending_pops = 0;
    reader.bookkeeping = false;
}

}  // namespace

void pay_pops_owed_to(input_source* s) {
    lower_expansion_depth(s->pending_pops);
    s->pending_pops = 0;
    update_bookkeeping();
}

namespace {

// Reads the next block of a file source; false at the end of the file.
bool fill_block(input_source* s) {
    if (s->file_eof) return false;
    // Read-ahead past the block, as for the line buffer.
    if (!s->block && !reader.spare_blocks.empty()) {
        s->block = std::move(reader.spare_blocks.back());
        reader.spare_blocks.pop_back();
    }
    // Not cleared: only what a read fills is touched, so a small file costs
    // the pages it needs rather than the whole block.
    if (!s->block)
        s->block = std::make_unique_for_overwrite<unsigned char[]>(BLOCK_SIZE + BUFFER_READ_AHEAD);
    s->block_len = s->regular_file ? read_regular_file(s->file, s->block.get(), BLOCK_SIZE)
                                   : std::fread(s->block.get(), 1, BLOCK_SIZE, s->file);
    // Ends the rest of the block for a scan; the scans that look past the
    // end read no further than the read-ahead.
    std::memset(s->block.get() + s->block_len, 0, BUFFER_READ_AHEAD);
    s->block_pos = 0;
    // Either read comes back short only at the end of the file (or on an
    // error).
    if (s->block_len < BLOCK_SIZE) s->file_eof = true;
    return s->block_len != 0;
}

// Next byte of a file source's block, or -1 at the end of the file.
int file_byte(input_source* s) {
    if (s->block_pos == s->block_len && !fill_block(s)) return -1;
    return s->block[s->block_pos++];
}

// Looks at the next byte without taking it; -1 at the end of the file.
int peek_file_byte(input_source* s) {
    int b = file_byte(s);
    if (b >= 0) --s->block_pos;
    return b;
}

// Widens the bytes of the current block up to the first line end, CR or NUL
// into buf, taking at most room of them; returns how many were taken.
std::size_t copy_ordinary_bytes(input_source* s, wchar* buf, std::size_t room) {
    const unsigned char* p = s->block.get() + s->block_pos;
    std::size_t avail = s->block_len - s->block_pos;
    std::size_t i = widen_line_bytes(buf, p, avail < room ? avail : room);
    s->block_pos += i;
    return i;
}

// The first NUL byte of a file is reported once, on the line just read
// into the buffer, with the caret under the space that stands for it.
void report_nul(input_source* s, int at) {
    s->nul_reported = true;
    s->pos = s->buffer.get() + at + 1;
    alert_report(MSG_NUL_READ_AS_SPACE);
    s->pos = s->buffer.get();
}

// Clears the read-ahead after the 0 at unit `end` of a file's line buffer,
// which is not cleared when it is made: a scan past the end of a line then
// reads written units, and a short line costs only the pages it uses.
void clear_read_ahead(wchar* buf, int end) {
    std::fill_n(buf + end + 1, BUFFER_READ_AHEAD, wchar{0});
}

// Reads the next line (or piece of a long line) into the buffer of a file
// source. CR LF arrives as LF, as a text-mode read gives it; a lone CR is
// kept for the reader to drop. A NUL byte, which would end the buffered
// text, is read as a space: the text around it is kept, and the first one
// of a file is reported. Returns false when the file has ended before any
// byte was stored.
bool refill_line(input_source* s) {
    wchar* buf = s->buffer.get();
    int n = 0;
    int first_nul = -1;
    while (n < LINE_PIECE) {
        if (s->block_pos == s->block_len && !fill_block(s)) break;
        n += static_cast<int>(
            copy_ordinary_bytes(s, buf + n, static_cast<std::size_t>(LINE_PIECE - n)));
        if (n == LINE_PIECE || s->block_pos == s->block_len) continue;
        int b = s->block[s->block_pos++];
        if (b == '\r' && peek_file_byte(s) == '\n') continue;
        if (b == 0) {
            if (first_nul < 0) first_nul = n;
            b = ' ';
        }
        buf[n++] = static_cast<wchar>(b);
        if (b == '\n') break;
    }
    if (n == 0) return false;
    if (n < LINE_PIECE && buf[n - 1] != '\n') buf[n++] = '\n';
    buf[n] = 0;
    clear_read_ahead(buf, n);
    s->pos = buf;
    s->at_end = 0;
    alert_line_read();
    if (first_nul >= 0 && !s->nul_reported) report_nul(s, first_nul);
    return true;
}

// What the first bytes of a file say about its encoding.
enum class byte_order_mark { none, utf8, utf16 };

byte_order_mark read_byte_order_mark(const unsigned char* p, std::size_t n) {
    if (n >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) return byte_order_mark::utf8;
    if (n >= 2 && ((p[0] == 0xFF && p[1] == 0xFE) || (p[0] == 0xFE && p[1] == 0xFF)))
        return byte_order_mark::utf16;
    return byte_order_mark::none;
}

// Reads the first block of a newly pushed file. A UTF-8 byte-order mark (as
// Windows editors write) is no text of the file: it is stepped over, as GCC
// and clang do. UTF-16 text read as bytes would be garbage with a NUL in
// every other byte: the file is refused, and when the run goes on nothing
// of it is read.
void start_file(input_source* s, const char* name) {
    if (!fill_block(s)) return;
    switch (read_byte_order_mark(s->block.get(), s->block_len)) {
        case byte_order_mark::utf8:
            s->block_pos = 3;
            break;
        case byte_order_mark::utf16:
            alert_report(MSG_UTF16_INPUT, *name != '\0' ? name : "-");
            s->block_pos = s->block_len;
            s->file_eof = true;
            break;
        case byte_order_mark::none:
            break;
    }
}

// Ends a text source: re-enables its macro, or the macro whose argument it
// carried, and accounts for the expansion that ends with it.
[[gnu::noinline, gnu::cold]] void report_active_below_zero(const macro_def* m) {
    const wchar* wide = m->name();
    std::string name(wstr_len(wide) + 1, '\0');
    wstr_to_narrow(name.data(), wide);
    alert_report(MSG_ACTIVE_BELOW_ZERO, name.c_str());
}

inline void finish_text_source(input_source* s, int& popped) {
    if (s->macro != nullptr) {
        macro_def* m = s->macro;
        if (--m->active < 0) report_active_below_zero(m);
        s->arg_count = 0;
    } else if (s->reenable_macro != nullptr) {
        ++s->reenable_macro->active;
    }
    ++popped;
    lower_expansion_depth(s->pending_pops);
}

// Takes the current source off the stack and makes its parent current. The
// main file's record outlives its file; every other record is freed here.
// Returns the new current source, or null when none is left.
input_source* pop_source() {
    // Raw pointers from here on: the moves of unique_ptr cost a test and a
    // store each, on every expansion and argument.
    input_source* old = reader.top.release();
    input_source* s = old->parent.release();
    reader.top.reset(s);
    reader.current_source = s;
    // A text source (the main file's is a file's) is kept for reuse.
    if (old->name == nullptr && reader.spare_count < MAX_SPARE_SOURCES) {
        old->parent.reset(reader.spare.release());
        reader.spare.reset(old);
        ++reader.spare_count;
    } else if (old == reader.main_source) {
        reader.finished_main.reset(old);
    } else {
        delete old;
    }
    if (s == nullptr) {
        reader.bookkeeping = false;
        return s;
    }
    reader.current_line = s->saved_line;
    const input_source* below = s->parent.get();
    reader.bookkeeping = s->at_end != 0 || (below != nullptr && below->pending_pops != 0);
    return s;
}

// Leaves a text source that has ended (s, the current one): the text's
// boundary is counted (as the text is left, not when its end is seen: a
// look-ahead may step back over the end mark), the text finished and
// popped.
inline void leave_text_source(input_source* s, int& popped) {
    if (!s->pushback) ++reader.boundaries;
    finish_text_source(s, popped);
    pop_source();
}

// Keeps the buffers of a file source that ended for the next include (as
// many as were in use at once, up to a few).
void keep_file_buffers(input_source* s) {
    if (s->block && reader.spare_blocks.size() < MAX_SPARE_FILES) {
        reader.spare_blocks.push_back(std::move(s->block));
    }
    if (s->capacity == FILE_LINE_CAPACITY && reader.spare_lines.size() < MAX_SPARE_FILES) {
        reader.spare_lines.push_back(std::move(s->buffer));
        s->capacity = 0;
    }
}

// A file source's file has ended: close it, keep its buffers, and return to
// the includer.
input_source* end_file_source(input_source* s) {
    if (s->owns_file) std::fclose(s->file);
    if (s != reader.main_source) keep_file_buffers(s);
    s->file = nullptr;
    s->owns_file = false;
    if (s->parent != nullptr) reader.sync_needed = 1;
    // A closed file record is not a text source: keep it from being read
    // as one by popping it at once.
    return pop_source();
}

int read_comment(bool block, input_source* start);

// Copies a unit of a comment to the output (-C). A block comment goes out as
// it is read; a line comment is held until its output line ends, so that
// whatever a look-ahead read before it (the name the comment ended, a
// macro call's expansion) is written in front of it, never inside it.
void echo_comment_char(bool block, int c) {
    if (!reader.echo_comments || c == 0 || (c >= MARK_NO_EXPAND && c <= MARK_END)) return;
    if (reader.comment_hook != nullptr) reader.comment_hook(c, block);
}

// Replaces a trigraph starting at the '?' just taken from a file source. The
// replacement is stored over the trigraph's last unit so that a pushback
// re-reads it.
int replace_trigraph(input_source* s, int c) {
    if (s->pos[0] != '?') return c;
    wchar r = trigraph_replacement(s->pos[1]);
    if (r == 0) return c;
    s->pos += 2;
    s->pos[-1] = r;
    return r;
}

}  // namespace

const std::array<bool, 256> reader_plain_unit = make_plain_table();

#if CPP_READER_FAST_PATH
namespace {
constexpr std::array<bool, 256> comment_plain_unit = make_comment_plain_table();
}  // namespace
#endif

input_source::~input_source() {
    if (owns_file && file != nullptr) std::fclose(file);
    // Unlink the chain below iteratively so a deep stack cannot exhaust the
    // machine stack through nested destructors.
    std::unique_ptr<input_source> p = std::move(parent);
    while (p) {
        std::unique_ptr<input_source> next = std::move(p->parent);
        p.reset();
        p = std::move(next);
    }
}

void reader_reset() {
    reader.top.reset();
    reader = {};
}

namespace {

// A text source record: a spare one made like new, or a fresh one. The
// caller links it at once (see link_source), which owns it from then on.
input_source* text_source_record() {
    input_source* s = reader.spare.release();
    if (s == nullptr) return new input_source();
    reader.spare.reset(s->parent.release());
    --reader.spare_count;
    s->saved_line = 0;
    s->macro = nullptr;
    s->arg_count = 0;
    s->pending_pops = 0;
    s->at_end = 0;
    s->reenable_macro = nullptr;
    s->barrier = false;
    s->pushback = false;
    s->long_text = false;
    return s;
}

// Puts a record that nothing owns, and whose parent is null, on top of the
// stack.
inline input_source* link_source(input_source* s) {
    input_source* below = reader.top.release();
    if (below != nullptr) below->saved_line = reader.current_line;
    s->parent.reset(below);
    s->serial = ++reader.pushes;
    reader.top.reset(s);
    reader.current_source = s;
    // The record is new or made like new: it has not ended.
    reader.bookkeeping = below != nullptr && below->pending_pops != 0;
    return s;
}

}  // namespace

input_source* push_source(int capacity, const wchar* name) {
    assert(capacity > 0);
    input_source* s = name == nullptr ? text_source_record() : new input_source();
    // Owned here until it is linked: an allocation below may fail.
    std::unique_ptr<input_source> owned(s);
    if (name != nullptr) {
        s->name.reset(wstr_dup(name));
        if (capacity <= FILE_LINE_CAPACITY && !reader.spare_lines.empty()) {
            s->buffer = std::move(reader.spare_lines.back());
            reader.spare_lines.pop_back();
            s->capacity = FILE_LINE_CAPACITY;
        } else if (capacity == FILE_LINE_CAPACITY) {
            s->buffer =
                std::make_unique_for_overwrite<wchar[]>(FILE_LINE_CAPACITY + BUFFER_READ_AHEAD);
            s->capacity = FILE_LINE_CAPACITY;
            clear_read_ahead(s->buffer.get(), 0);
        }
    }
    // A reused record keeps its buffer when it is large enough.
    if (s->capacity < capacity) {
        s->buffer =
            std::make_unique<wchar[]>(static_cast<std::size_t>(capacity) + BUFFER_READ_AHEAD);
        s->capacity = capacity;
    }
    s->buffer[0] = 0;
    s->pos = s->text = s->buffer.get();
    return link_source(owned.release());
}

int push_text_source(const wchar* text) {
    unsigned n = wstr_len(text);
    input_source* s = push_source(static_cast<int>(n) + 1, nullptr);
    s->long_text = n > LONG_TEXT;
    std::memcpy(s->buffer.get(), text, (n + 1) * sizeof(wchar));
    return 0;
}

void push_borrowed_text(const wchar* text) {
    // No buffer is needed until the text is written (see own_text).
    input_source* s = link_source(text_source_record());
    s->pos = s->text = const_cast<wchar*>(text);
}

void push_barrier_text(const wchar* text) {
    push_borrowed_text(text);
    reader.current_source->barrier = true;
}

void pop_barrier_source() {
    input_source* s = reader.current_source;
    assert(s != nullptr && s->barrier);
    lower_expansion_depth(s->pending_pops);
    pop_source();
}

int push_file_source(std::FILE* file, const char* name, bool owns_file, bool regular_file) {
    assert(file != nullptr);
    auto wide = std::make_unique<wchar[]>(std::strlen(name) + 1);
    wstr_from_narrow(wide.get(), name);
    input_source* s = push_source(FILE_LINE_CAPACITY, wide.get());
    s->file = file;
    s->owns_file = owns_file;
    s->regular_file = regular_file;
    reader.current_line = 1;
    reader.sync_needed = 1;
    start_file(s, name);
    return 0;
}

void pass_over_file_source() {
    input_source* s = reader.current_source;
    assert(s != nullptr && s->file != nullptr);
    s->saved_line = reader.current_line;
    // The file's first character would have settled the pops owed to it.
    lower_expansion_depth(s->pending_pops);
    s->pending_pops = 0;
    update_bookkeeping();
    alert_line_read();
    // Set when the file was pushed, and again when it ended.
    reader.sync_needed = 1;
}

bool refill_file_line(input_source* s) {
    return refill_line(s);
}

unsigned char* block_rest(input_source* s, std::size_t& left) {
    left = s->block_len - s->block_pos;
    return left != 0 ? s->block.get() + s->block_pos : nullptr;
}

const unsigned char* whole_file_bytes(const input_source* s, std::size_t& length) {
    length = s->block_len;
    // A short first read is the whole file (a refused UTF-16 file is marked
    // ended however long it is).
    return s->block && s->block_len < BLOCK_SIZE ? s->block.get() : nullptr;
}

void skip_block_bytes(input_source* s, std::size_t n) {
    s->block_pos += n;
    alert_line_read();
}

bool load_block_line(input_source* s, std::size_t at) {
    if (!refill_line(s)) return false;
    s->pos += at;
    return true;
}

int unget_char_slow() {
    input_source* s = reader.current_source;
    if (s == nullptr) return 0;
    if (s->pos == s->text) {
        // Nothing before the buffer to step back to: stay at its start.
        alert_report(MSG_PUSHBACK_UNDERFLOW);
        return 0;
    }
    --s->pos;
    if (s->at_end) {
        s->at_end = 0;  // the end marker will be returned again
        update_bookkeeping();
    } else if (s->file != nullptr && *s->pos == '\n') {
        count_lines(-1);
    }
    return 0;
}

namespace {

// True when the units ahead in the source begin another backslash (after
// CRs, which the reader drops). Looking ahead from a backslash would then
// recurse once per backslash of a run; returning this one unjoined gives the
// same characters, because the next backslash does its own look-ahead.
bool backslash_ahead(const input_source* s) {
    const wchar* p = s->pos;
    while (*p == '\r') ++p;
    if (*p == '\\') return true;
    return s->file != nullptr && p[0] == '?' && p[1] == '?' && p[2] == '/';
}

// The unit following a backslash: a newline joins the lines, anything else
// is given back.
bool splice_follows(const input_source* src) {
    if (backslash_ahead(src)) return false;
    int c = next_char();
    if (c == '\n') {
        reader.sync_needed = 1;
        return true;
    }
    unget_char();
    return false;
}

// A look-ahead that ran out of the source its first character came from
// leaves that character with no source to be pushed back onto: a pushback
// would step into the source below instead (and re-read an argument there
// for ever). The character is then handed out again from a text source of
// its own, which a pushback re-reads correctly.
int reissue_if_source_ended(const input_source* start, int c) {
    if (reader.current_source == start) return c;
    const wchar text[2] = {static_cast<wchar>(c), 0};
    push_text_source(text);
    int saved_raw = reader.raw_input;
    reader.raw_input = 1;
    int r = next_char();
    reader.raw_input = saved_raw;
    return r;
}

// After a '/': begins a comment when '*' or '/' follows. Returns the
// character the comment stands for (a newline, a space or 0), or
// SOURCE_CHANGED when the comment vanished and reading goes on; '/' when no comment begins.
int after_slash(input_source* start) {
    reader.comment_lookahead = true;
    reader.raw_input = 1;
    int c = next_char();
    reader.comment_lookahead = false;
    if (c != '*' && c != '/') {
        reader.raw_input = 0;
        unget_char();
        return reissue_if_source_ended(start, '/');
    }
    if (reader.echo_comments) {
        echo_comment_char(c == '*', '/');
        echo_comment_char(c == '*', c);
    }
    return read_comment(c == '*', start);
}

// Copies a borrowed text into the source's own buffer, so that it may be
// written.
void own_text(input_source* s) {
    if (s->text == s->buffer.get()) return;
    std::size_t n = wstr_len(s->text);
    std::ptrdiff_t at = s->pos - s->text;
    if (s->capacity < static_cast<int>(n) + 1) {
        s->buffer = std::make_unique<wchar[]>(n + 1 + BUFFER_READ_AHEAD);
        s->capacity = static_cast<int>(n) + 1;
    }
    std::memcpy(s->buffer.get(), s->text, (n + 1) * sizeof(wchar));
    s->text = s->buffer.get();
    s->pos = s->text + at;
}

// The end of a block comment: it vanishes before white space and line ends,
// and otherwise becomes one space that a pushback re-reads.
int end_block_comment() {
    reader.raw_input = 0;
    input_source* s = reader.current_source;
    if (s == nullptr) return SOURCE_CHANGED;
    wchar next = *s->pos;
    if (next == '\n' || char_class(next) == CC_BLANK) return SOURCE_CHANGED;
    if (s->pos != s->text) {
        own_text(s);
        s->pos[-1] = ' ';
    }
    return ' ';
}

#if CPP_READER_FAST_PATH
// Steps over the whole lines ahead in a file's block that lie inside the
// block comment being read (their line ends are counted, as the reader
// counts them): a line that holds what the comment's body must look at is
// left for the line buffer.
void skip_comment_block_lines(input_source* s) {
    if (!s->block) return;
    const unsigned char* rest = s->block.get() + s->block_pos;
    int lines;
    const unsigned char* line = skip_comment_lines(rest, lines);
    if (lines == 0) return;
    count_lines(lines);
    skip_block_bytes(s, static_cast<std::size_t>(line - rest));
}
#endif

// Steps over the units of a comment body that neither end nor interrupt it,
// straight from the buffer of the source the comment began in, echoing them
// when comments are echoed. Whatever needs a closer look (a line end, '*',
// '/', a backslash, a '?', a marker, another source) is left to next_char.
// Without echo a block comment's line ends in a file are taken here as the
// reader takes them, with the lines after them.
void skip_comment_text(bool block, const input_source* start) {
#if CPP_READER_FAST_PATH
    input_source* s = reader.current_source;
    if (s == nullptr || s != start || reader.bookkeeping) return;
    wchar* p = s->pos;
    if (reader.echo_comments) {
        const bool* stop_free = block ? comment_plain_unit.data() : reader_plain_unit.data();
        for (; *p < 256 && stop_free[*p]; ++p) echo_comment_char(block, *p);
        s->pos = p;
        return;
    }
    for (;;) {
        p = const_cast<wchar*>(skip_comment_body(static_cast<const wchar*>(p), block));
        // A line end that ends the line buffer of a file.
        if (!block || *p != '\n' || p[1] != 0 || s->file == nullptr) break;
        s->pos = p + 1;
        count_lines(1);
        reader.sync_needed = 1;
        skip_comment_block_lines(s);
        // At the end of the file the reader finds the end itself.
        if (!refill_line(s)) return;
        p = s->pos;
    }
    s->pos = p;
#else
    (void)block;
    (void)start;
#endif
}

// Reads the body of a comment (raw characters), copying it to the output
// when comments are echoed. Returns as after_slash does.
int read_comment(bool block, input_source* start) {
    skip_comment_text(block, start);
    int c = next_char();
    for (;;) {
        // The newline that ends a line comment is the line's own end: the
        // caller writes it, so it is not copied with the comment.
        if (block || c != '\n') echo_comment_char(block, c);
        if (block && c == '/') {
            c = next_char();
            if (c != '*') continue;
            echo_comment_char(block, c);
            alert_report(MSG_COMMENT_IN_COMMENT);
            c = '*';
        }
        if (block && c == '*') {
            c = next_char();
            if (c == '/') {
                echo_comment_char(block, c);
                return end_block_comment();
            }
            continue;
        }
        if (!block && c == '\\') {
            // A spliced line end stays in a copied comment, keeping the
            // output's lines in step; a removed one is owed a line marker.
            c = next_char();
            echo_comment_char(block, c);
            if (c == '\n' && !reader.echo_comments) reader.sync_needed = 1;
        } else if (c == '\n') {
            if (!block) {
                reader.raw_input = 0;
                return '\n';
            }
            if (!reader.echo_comments) reader.sync_needed = 1;
        } else if (c == 0) {
            reader.raw_input = 0;
            if (!block) return '\n';
            alert_report(MSG_EOF_IN_COMMENT);
            return 0;
        } else if (reader.current_source != start) {
            alert_report(MSG_COMMENT_CROSSES_SOURCE);
            start = reader.current_source;
        }
        skip_comment_text(block, start);
        c = next_char();
    }
}

}  // namespace

namespace {

// Takes one unit from the source, refilling a file's line and finishing
// sources that are used up.
int take_unit(input_source* src, int& popped) {
    if (src->file != nullptr) {
        unsigned c = *src->pos++;
        if (c != 0) return static_cast<int>(c);
        if (!refill_line(src)) end_file_source(src);
        return SOURCE_CHANGED;
    }
    if (!src->at_end) {
        unsigned c = *src->pos++;
        if (c != 0) return static_cast<int>(c);
        if (src->macro != nullptr || src->barrier) {
            src->at_end = 1;
            update_bookkeeping();
            if (src->barrier) return BARRIER_REACHED;
            return END_RETURNED;
        }
    }
    if (src->barrier) return BARRIER_REACHED;
    leave_text_source(src, popped);
    return SOURCE_CHANGED;
}

// Sources finished during this read are owed to the expansion depth; they
// are paid off by the first read that finishes none.
void account_for_pops(input_source* src, int popped) {
    input_source* parent = src->parent.get();
    if (parent == nullptr) return;
    if (popped == 0) {
        // Nothing owed and nothing finished: the flag stands as it was set.
        // (src is the current source, which has handed out a unit.)
        if (parent->pending_pops != 0) pay_owed_pops();
        return;
    }
    parent->pending_pops += popped;
    update_bookkeeping();
}

// What the read of a plain unit of the text source s (which finishes no
// source) does to the pops: those of the `popped` sources it finished on
// its way are owed to s's parent; with none, those owed are paid off.
inline void account_for_plain_read(input_source* s, int popped) {
    if (popped != 0) {
        account_for_pops(s, popped);
    } else if (input_source* parent = s->parent.get();
               parent != nullptr && parent->pending_pops != 0) {
        pay_owed_pops();
    } else {
        reader.bookkeeping = false;
    }
}

}  // namespace

int finish_ended_text() {
    input_source* s = reader.current_source;
    assert(s != nullptr && s->at_end != 0 && !s->barrier);
    int popped = 0;
    leave_text_source(s, popped);
    return popped;
}

bool pass_text_end() {
#if CPP_READER_FAST_PATH
    input_source* s = reader.current_source;
    // (A file's line piece may end with a 0 too: the file reads on.)
    if (s->file != nullptr) return false;
    // The end of a macro text is handed out as a mark (a barrier's as 0),
    // which the step back takes back: the reader is left as it was, its
    // flag set again.
    if (s->macro != nullptr || s->barrier) {
        update_bookkeeping();
        return true;
    }
    // An argument's end finishes the text at once, and the unit below is
    // read with the pops of that owed; the step back leaves them owed.
    input_source* below = s->parent.get();
    if (below == nullptr || below->file != nullptr || below->at_end != 0) return false;
    const unsigned u = *below->pos;
    if (u >= 256 || !reader_plain_unit[u]) return false;
    if (const int cls = char_class_table[u]; cls == CC_IDENT || cls == CC_DIGIT) return false;
    ++s->pos;
    int popped = 0;
    leave_text_source(s, popped);
    account_for_plain_read(below, popped);
    return true;
#else
    return false;
#endif
}

void settle_pops_owed(int popped, std::ptrdiff_t taken) {
    assert(taken >= 1);
    input_source* s = reader.current_source;
    account_for_plain_read(s, popped);
    if (taken >= 2) account_for_plain_read(s, 0);
}

namespace {

// Every case of the reader, one step at a time; `popped` text sources have
// been finished by this read already.
[[gnu::noinline]] int read_char_in_full(int popped) {
    for (input_source* src = reader.current_source; src != nullptr; src = reader.current_source) {
        int c = take_unit(src, popped);
        if (c == END_RETURNED) return MARK_END;
        if (c == BARRIER_REACHED) return 0;
        if (c == SOURCE_CHANGED) continue;
        // A parameter reference in macro text: read its argument instead.
        if (!reader.comment_lookahead && is_param_ref(static_cast<unsigned>(c))) {
            if (reader.parameter_hook != nullptr) reader.parameter_hook(c - MARK_PARAM0);
            continue;
        }
        account_for_pops(src, popped);
        if (src->file != nullptr) {
            if (c == '?') c = replace_trigraph(src, c);
            if (c == '\n') count_lines(1);
        }
        if (reader.raw_input) {
            // ISO C joins spliced lines before anything else is seen, so a
            // literal or a comment's look-ahead loses them too. Only a
            // file's lines are spliced: a backslash handed out again from a
            // text of its own is the one looked past already.
            if (c != '\\' || !dialect.iso || src->file == nullptr) return c;
            if (splice_follows(src)) continue;
            return reissue_if_source_ended(src, '\\');
        }
        switch (c) {
            case '/': {
                int r = after_slash(src);
                if (r != SOURCE_CHANGED) return r;
                continue;
            }
            case '\\':
                if (splice_follows(src)) continue;
                return reissue_if_source_ended(src, '\\');
            case 0x0B:
            case 0x0C:
                return ' ';
            case 0x0D:
                continue;
            default:
                return c;
        }
    }
    return 0;
}

}  // namespace

int next_char_slow() {
#if CPP_READER_FAST_PATH
    // What most often sends the fast path here, in a few steps: a plain
    // unit read while pops are owed to the source's parent (the first read
    // that finishes no source pays them off), the end of a text source,
    // which is finished and popped, and a parameter reference in macro
    // text, whose argument is pushed to be read instead.
    // A file's units (line ends, comments, splices) go the full way.
    int popped = 0;
    for (input_source* s = reader.current_source; s != nullptr && s->file == nullptr;
         s = reader.current_source) {
        if (s->at_end != 0) {
            // A macro text whose end mark has been handed out.
            if (s->barrier) break;
            leave_text_source(s, popped);
            continue;
        }
        const unsigned c = *s->pos;
        if (c < 256 && reader_plain_unit[c]) {
            ++s->pos;
            account_for_plain_read(s, popped);
            return static_cast<int>(c);
        }
        if (c == 0) {
            ++s->pos;  // past the 0, as a pushback expects
            if (s->macro == nullptr && !s->barrier) {
                // An argument or a text pushed back: finished at once.
                leave_text_source(s, popped);
                continue;
            }
            // The end of a macro text is handed out once as a mark (a
            // barrier's as 0) before the source is popped.
            s->at_end = 1;
            reader.bookkeeping = true;
            return s->barrier ? 0 : MARK_END;
        }
        if (!is_param_ref(c) || reader.comment_lookahead || reader.parameter_hook == nullptr) break;
        ++s->pos;
        reader.parameter_hook(static_cast<int>(c) - MARK_PARAM0);
    }
    return read_char_in_full(popped);
#else
    return read_char_in_full(0);
#endif
}
