// Writing an argument's output again: the output of an argument's first
// reading kept, and written at a later reference of the same expansion.
#include "cpp/argument_replay.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/alert.h"
#include "common/platform_stdio.h"
#include "common/state_reset.h"
#include "cpp/dialect.h"
#include "cpp/driver.h"
#include "cpp/expand.h"
#include "cpp/macro_table.h"

replay_state_flags replay_flags;

namespace {

// The output of one argument longer than this is not kept (nor one whose
// reading takes more steps of the depth than the watch holds): the kept
// outputs hold a quarter of a MiB at the most.
constexpr std::size_t MAX_KEPT = 1 << 13;
constexpr unsigned KEPT_SLOTS = 8;

// The pops owed to the macro text and to the source below it, which the
// reads after a reading pay off.
struct owed_pops {
    int to_text = 0;
    int below = 0;
};

owed_pops owed_at(const input_source* s) {
    const input_source* below = s->parent.get();
    return {s->pending_pops, below != nullptr ? below->pending_pops : 0};
}

struct kept_output {
    std::uint64_t serial = 0;  // the push of the macro text (0: a free slot)
    int index = 0;             // of the argument
    int blanks_before = 0;
    int blanks_after = 0;
    owed_pops before;
    owed_pops after;
    // The steps of the expansion depth it took: a reading takes the same from
    // any depth when it starts with the same pops owed, and only where they
    // lead depends on the depth (the outermost macro, named by an expansion
    // from 0, and whether one goes too deep).
    std::vector<depth_step> steps;
    // Whether the reading ended with the token loop's read of the unit
    // after the reference (else it was left unread, looked at or not).
    bool unit_read = false;
    unsigned boundaries = 0;  // macro texts left while it was read
    std::string bytes;
};

struct replay_state {
    // The keeping under way: of argument `index` of the macro text `source`
    // (its push `serial`), whose reference the unit at `after` follows.
    const input_source* source = nullptr;
    std::uint64_t serial = 0;
    const wchar* after = nullptr;
    int index = 0;
    int blanks_before = 0;
    owed_pops before;
    int sync_before = 0;
    unsigned reports_before = 0;
    unsigned boundaries_before = 0;
    std::string bytes;  // what was written meanwhile
    depth_log steps;
    std::array<kept_output, KEPT_SLOTS> kept;
    unsigned next_slot = 0;
};
replay_state replay;

// What may follow a reference whose argument's reading is kept or replaced:
// a unit that ends any token before it, is no '(' and no blank, so that a
// look past the argument's end finds the same at every such reference.
bool closes_reference(wchar u) {
    return u == ')' || u == ',';
}

// Where nothing but the output looks at the expansions (the report lists
// every one). What is kept is what was written, so that text left out (-L)
// is left out again; comments kept with -C never come into macro text (those
// of a call's arguments are written as the arguments are collected).
bool replay_allowed() {
    return !dialect.iso && driver.html_report == nullptr;
}

void stop_keeping() {
    replay_flags.keeping = false;
    driver.tap = nullptr;
    reader.watch = nullptr;
    replay.source = nullptr;
}

kept_output* find_kept(std::uint64_t serial, int index) {
    for (kept_output& k : replay.kept) {
        if (k.serial == serial && k.index == index) return &k;
    }
    return nullptr;
}

// The reading has come back to the unit after the reference, which it may
// have read (unit_read) or looked at, no more: what it wrote is kept when it
// reported nothing and asked for no line synchronisation.
void finish_keeping(int blanks, bool unit_read) {
    if (replay.bytes.size() <= MAX_KEPT && !replay.steps.overflowed &&
        alert_reports_asked() == replay.reports_before &&
        reader.sync_needed == replay.sync_before) {
        kept_output& k = replay.kept[replay.next_slot++ % KEPT_SLOTS];
        k.serial = replay.serial;
        k.index = replay.index;
        k.blanks_before = replay.blanks_before;
        k.blanks_after = blanks;
        k.before = replay.before;
        k.after = owed_at(replay.source);
        k.steps.swap(replay.steps.steps);
        k.unit_read = unit_read;
        k.boundaries = reader.boundaries - replay.boundaries_before;
        k.bytes.swap(replay.bytes);
    }
    stop_keeping();
}

// Whether the keeping's macro text is still on the stack.
bool keeping_source_live() {
    for (const input_source* s = reader.current_source; s != nullptr; s = s->parent.get()) {
        if (s == replay.source) return s->serial == replay.serial;
    }
    return false;
}

// Back in the keeping's macro text: at `expected` the reading ends there
// (with unit_read read), anywhere else it has read past the argument.
void check_return(const wchar* expected, int blanks, bool unit_read) {
    const input_source* s = reader.current_source;
    if (s == nullptr || s != replay.source || s->serial != replay.serial) return;
    if (s->pos == expected) {
        finish_keeping(blanks, unit_read);
    } else {
        stop_keeping();
    }
}

// The depth and outermost macro the kept reading's steps lead to from the
// reader's; false when an expansion would go too deep.
struct depth_end {
    int depth;
    const macro_def* outermost;
    int outermost_line;
};

bool follow_steps(const kept_output& k, depth_end& e) {
    e = {reader.expansion_depth, reader.outermost_macro, reader.outermost_line};
    for (const depth_step& step : k.steps) {
        if (step.by != 0) {
            e.depth = std::max(e.depth - step.by, 0);
            continue;
        }
        if (++e.depth == 1) {
            e.outermost = step.m;
            e.outermost_line = step.line;
        }
        if (e.depth >= MAX_EXPANSION_DEPTH) return false;
    }
    return true;
}

// Leaves the reader as the kept reading did.
int replay_kept(input_source* s, const kept_output& k, const depth_end& e, int& blanks) {
    if (!k.bytes.empty()) write_bytes_unlocked(driver.out, k.bytes.data(), k.bytes.size());
    if (driver.tap != nullptr) driver.tap->append(k.bytes);
    if (reader.watch != nullptr) {
        for (const depth_step& step : k.steps) reader.watch->add(step);
    }
    // The unit after this reference, which the reading ended with when the
    // kept one did (a ')' or ',' as the kept one's, which it read alike).
    const int after = s->pos[1];
    s->pos += k.unit_read ? 2 : 1;
    blanks = k.blanks_after;
    reader.expansion_depth = e.depth;
    reader.outermost_macro = const_cast<macro_def*>(e.outermost);
    reader.outermost_line = e.outermost_line;
    s->pending_pops = k.after.to_text;
    if (input_source* below = s->parent.get()) below->pending_pops = k.after.below;
    reader.bookkeeping = k.after.below != 0;
    reader.boundaries += k.boundaries;
    return k.unit_read ? after : REPLAY_READ_ON;
}

}  // namespace

bool replay_before_copy_slow(int blanks) {
    // A reading that writes too much is not kept (the tap grows by a bulk
    // copy's run at the most between two turns of the loop).
    if (replay.bytes.size() > MAX_KEPT) {
        stop_keeping();
        return false;
    }
    const input_source* s = reader.current_source;
    // A macro text ended at the end of the argument: the bulk copy would
    // finish it and copy on in the keeping's macro text, past the unit
    // after the reference; the token loop's read goes there one unit.
    if (s != nullptr && s->at_end != 0 && s->parent.get() == replay.source &&
        replay.source->serial == replay.serial && replay.source->pos == replay.after) {
        return true;
    }
    check_return(replay.after, blanks, false);
    return false;
}

void replay_after_read_slow(int blanks) {
    check_return(replay.after + 1, blanks, true);
}

int replay_at_reference(int& blanks) {
    input_source* s = reader.current_source;
    const macro_def* m = s->macro;
    const int index = *s->pos - MARK_PARAM0;
    if (index >= 16 || (m->repeated_refs >> index & 1) == 0) return -1;
    if (!closes_reference(s->pos[1]) || !replay_allowed()) return -1;
    const wchar* argument = s->argument(index);
    if (argument == nullptr) return -1;
    // The read of the argument's first unit, when it is a plain one, pays
    // off the pops owed to the macro text; nothing before it looks at them.
    if (s->pending_pops != 0 && argument[0] < 256 && reader_plain_unit[argument[0]]) {
        pay_pops_owed_to(s);
    }
    if (const kept_output* k = find_kept(s->serial, index)) {
        const owed_pops now = owed_at(s);
        depth_end e{};
        if (k->blanks_before != blanks || k->before.to_text != now.to_text ||
            k->before.below != now.below || !follow_steps(*k, e)) {
            return -1;
        }
        return replay_kept(s, *k, e, blanks);
    }
    if (replay_flags.keeping) {
        if (keeping_source_live()) return -1;
        stop_keeping();
    }
    replay.source = s;
    replay.serial = s->serial;
    replay.after = s->pos + 1;
    replay.index = index;
    replay.blanks_before = blanks;
    replay.before = owed_at(s);
    replay.sync_before = reader.sync_needed;
    replay.reports_before = alert_reports_asked();
    replay.boundaries_before = reader.boundaries;
    // What the reader does at the reference.
    ++s->pos;
    push_argument(index);
    if (reader.current_source == s) return REPLAY_READ_ON;  // refused: s reads on
    replay.bytes.clear();
    replay.steps.steps.clear();
    replay.steps.overflowed = false;
    driver.tap = &replay.bytes;
    reader.watch = &replay.steps;
    replay_flags.keeping = true;
    return REPLAY_READ_ON;
}

void replay_drop_keeping() {
    if (replay_flags.keeping) stop_keeping();
}

void replay_reset() {
    renew_in_place(replay);
    replay_flags = {};
}
