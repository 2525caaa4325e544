// Argument words from a text or from a stream: the console, with a prompt
// before each line, or a command file read to its end. Words are separated by
// blanks; quotation marks and apostrophes open sections in which blanks and
// the other quote are ordinary, and a backslash ending a line joins the next.
#include "common/getargs.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/alert.h"
#include "common/alloc.h"
#include "common/osdep.h"
#include "common/wstr.h"

int getargs_count = 0;

namespace {

constexpr std::size_t line_size = 8192;  // 8191 characters and the terminator
constexpr std::size_t word_limit = 255;
constexpr unsigned vector_step = 100;

constexpr unsigned msg_line_too_long = 337;
constexpr unsigned msg_word_too_long = 917;

struct getargs_state {
    std::FILE* input = nullptr;    // the stream words come from; null means stdin
    const char* pos = "";          // read position in text or line
    std::string text;              // trimmed copy of the caller's text
    std::unique_ptr<char[]> line;  // the line last read, allocated on first use
    bool from_stream = false;
    bool interactive = false;
    bool at_eof = false;
    const char* prompt_name = "";
    // Every vector and word handed out: the caller never frees them, the
    // next reset does.
    std::vector<std::unique_ptr<void, free_deleter>> blocks;
};

getargs_state getargs;

std::FILE* input_stream() {
    return getargs.input ? getargs.input : stdin;
}

// Reads one line of at most 8191 characters, newline included, taking CR LF
// as a newline as a text-mode stream does. Returns the count read, 0 at end
// of file.
std::size_t read_line() {
    std::FILE* in = input_stream();
    char* line = getargs.line.get();
    std::size_t n = 0;
    while (n < line_size - 1) {
        int c = std::getc(in);
        if (c == EOF) break;
        if (c == '\r') {
            int d = std::getc(in);
            if (d == '\n')
                c = '\n';
            else if (d != EOF)
                std::ungetc(d, in);
        }
        line[n++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    line[n] = '\0';
    return n;
}

bool at_continuation(const char* p) {
    return p[0] == '\\' && (p[1] == '\0' || p[1] == '\n' || p[1] == '\r');
}

// Moves the read position to a new line when it stands on a backslash ending
// the line (which is dropped) or, from a command file, at the end of the
// line. The console prompts before each line it reads.
void refill_if_due() {
    while (getargs.from_stream && !getargs.at_eof) {
        const char* p = getargs.pos;
        if (!at_continuation(p) && (getargs.interactive || *p != '\0')) return;
        if (getargs.interactive) std::fprintf(stderr, "%s> ", getargs.prompt_name);
        std::size_t n = read_line();
        if (n == 0) {
            getargs.at_eof = true;
            getargs.pos = "";
            return;
        }
        getargs.pos = getargs.line.get();
        if (n == line_size - 1) alert_report(msg_line_too_long);
    }
}

int peek() {
    refill_if_due();
    return static_cast<unsigned char>(*getargs.pos);
}

int take() {
    refill_if_due();
    int c = static_cast<unsigned char>(*getargs.pos);
    if (c != 0) getargs.pos++;
    return c;
}

bool is_blank(int c) {
    return c == ' ' || c == '\t' || c == '\n';
}

bool is_quote(int c) {
    return c == '"' || c == '\'';
}

// A word of at most word_limit characters; what would go past the limit is
// reported once and dropped.
struct word_buffer {
    char text[word_limit + 1];
    std::size_t len = 0;
    bool reported = false;

    void store(int c) {
        if (len < word_limit) {
            text[len++] = static_cast<char>(c);
        } else if (!reported) {
            reported = true;
            alert_report(msg_word_too_long, 0);
        }
    }
};

char* keep_string(const char* s, std::size_t len) {
    auto* copy = static_cast<char*>(alloc_mem(len + 1));
    getargs.blocks.emplace_back(copy);
    std::memcpy(copy, s, len);
    return copy;
}

// Reads the rest of a word whose first character c has been taken.
void read_word(int c, word_buffer& w) {
    int quote = 0;
    if (is_quote(c))
        quote = c;
    else
        w.store(c);
    while ((c = peek()) != 0) {
        if (quote == 0 && is_blank(c)) break;
        take();
        if (c == quote)
            quote = 0;
        else if (quote == 0 && is_quote(c))
            quote = c;
        else
            w.store(c);
    }
}

// The growing result: element 0 "", the words, room for the closing null.
struct arg_vector {
    std::unique_ptr<char*[], free_deleter> data;
    unsigned count = 0;
    unsigned capacity = 0;

    void push(char* s) {
        if (count + 1 >= capacity) {
            unsigned grown = capacity + vector_step;
            auto* fresh = static_cast<char**>(alloc_mem(std::size_t{grown} * sizeof(char*)));
            if (count != 0) std::memcpy(fresh, data.get(), count * sizeof(char*));
            data.reset(fresh);
            capacity = grown;
        }
        data[count++] = s;
    }
};

void start_text(const char* text) {
    while (*text == ' ') text++;
    getargs.text = text;
    std::size_t end = getargs.text.find_last_not_of(" \r");
    getargs.text.resize(end == std::string::npos ? 0 : end + 1);
    getargs.pos = getargs.text.c_str();
    getargs.from_stream = false;
}

// A lone backslash: the first take reads the first line.
void start_stream() {
    getargs.pos = "\\";
    getargs.from_stream = true;
    getargs.at_eof = false;
    if (!getargs.line) getargs.line = std::make_unique<char[]>(line_size);
}

}  // namespace

char** read_arguments(const char* text, const char* prompt_name) {
    getargs.prompt_name = prompt_name ? prompt_name : "";
    getargs.interactive = stream_is_terminal(input_stream());
    if (text)
        start_text(text);
    else
        start_stream();
    arg_vector args;
    args.push(keep_string("", 0));
    while (peek() != 0) {
        int c = take();
        while (is_blank(c)) c = take();
        if (c == 0) break;
        word_buffer w;
        read_word(c, w);
        args.push(keep_string(w.text, w.len));
    }
    args.data[args.count] = nullptr;
    getargs_count = static_cast<int>(args.count);
    char** result = args.data.release();
    getargs.blocks.emplace_back(result);
    return result;
}

void getargs_set_input(std::FILE* in) {
    getargs.input = in;
}

void getargs_reset() {
    getargs = {};
    getargs_count = 0;
}
