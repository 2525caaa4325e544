// Files written whole: the streams open under temporary names, and the
// closed ones waiting to replace their targets.
#include "common/whole_file.h"

#include <cerrno>

#include "common/osdep.h"

namespace {

struct pending_replacement {
    std::FILE* stream = nullptr;  // null once closed
    std::string path;
    replacement names;
};

struct whole_file_state {
    std::vector<pending_replacement> pending;
};
whole_file_state whole_files;

}  // namespace

std::FILE* whole_file_open(const char* path) {
    replacement r;
    if (std::FILE* f = replacement_open(path, r)) {
        whole_files.pending.push_back({f, path, r});
        return f;
    }
    return std::fopen(path, "w");
}

int whole_file_close(std::FILE* f, bool complete) {
    errno = 0;
    int err = std::fclose(f) == 0 ? 0 : errno != 0 ? errno : EIO;
    for (auto it = whole_files.pending.begin(); it != whole_files.pending.end(); ++it) {
        if (it->stream != f) continue;
        it->stream = nullptr;
        if (!complete || err != 0) {
            replacement_discard(it->names);
            whole_files.pending.erase(it);
        }
        break;
    }
    return err;
}

std::vector<whole_file_failure> whole_file_commit() {
    std::vector<whole_file_failure> failed;
    std::vector<pending_replacement> still_open;
    for (pending_replacement& p : whole_files.pending) {
        if (p.stream != nullptr) {
            still_open.push_back(std::move(p));
        } else if (int err = replacement_commit(p.names)) {
            failed.push_back({p.path, err});
        }
    }
    whole_files.pending = std::move(still_open);
    return failed;
}

void whole_file_reset() {
    for (const pending_replacement& p : whole_files.pending) replacement_discard(p.names);
    whole_files = {};
}
