// Operating-system services: path joining and testing, whether two paths
// name one file, the listing of directories, the separators of
// names, the standard streams, upper-casing. Windows (osdep_win32.cpp) writes
// '\' and takes names as they are written; Linux (osdep_posix.cpp) writes '/'
// and takes a '\' in a name as '/'.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// The separator written between a directory and a name.
extern const char PATH_SEPARATOR;

char* path_join(const char* dir, const char* name);  // null for an empty dir
bool path_is_absolute(const char* path);
struct directory_entry {
    std::string name;
    bool plain_file = false;  // a regular file, not a directory or a link
};
// The entries of a directory, in no set order; false (and no entries) when
// it cannot be listed.
bool list_directory(const char* dir, std::vector<directory_entry>& entries);
// Whether a file may open under a name that the listing of its directory
// spells in no ASCII letter case. Windows opens device names, short names
// and names with trailing dots or blanks that no listing shows; on POSIX a
// case-folding or short-name file system (a FAT or SMB mount) may do the same
// for names with bytes beyond ASCII, a '~', or a trailing dot or blank.
bool name_may_open_unlisted(std::string_view name);
bool path_is_directory(const char* path);  // false also when it cannot be examined
// Why a file could not be opened, given the errno of the failed call: a
// directory is told as one (the C library opens one for reading on Linux,
// and Windows refuses it as "Permission denied"), else the error itself.
int open_failure_reason(const char* path, int error);
// Whether two paths name one and the same existing file, however they are
// spelled ("a.c", "./a.c", "sub/../a.c", a link to it): on POSIX the same
// device and inode, on Windows the same volume and file index. False when
// either cannot be examined, so a file that does not exist yet is never the
// same as another, and when they name a device (writing /dev/null loses
// nothing). Both paths must be non-null.
bool path_same_file(const char* a, const char* b);
// Rewrites, in place, the separators of a name taken from a source or the
// command line as this platform writes them.
void path_use_native_separators(char* path);
char* str_upper(char* s);

// Reads up to n bytes of a regular file whose stream has no buffer of its
// own (or an empty one): fewer than n only at the end of the file or on an
// error. Linux reads it in one system call, so that a short read needs no
// second one to find the end; 0 on an error.
std::size_t read_regular_file(std::FILE* f, void* buffer, std::size_t n);

// A zeroed region of `bytes` bytes (a multiple of 2 MiB) for the small
// records a large run keeps by the thousand. Linux maps it on a 2 MiB
// boundary and asks for huge pages, so that it is touched at the cost of
// one page fault where small pages would take hundreds; Windows grants
// large pages only to privileged accounts and gives none (null), as does
// any system that refuses the mapping. Give it back with unmap_record_region.
void* map_record_region(std::size_t bytes);
void unmap_record_region(void* region, std::size_t bytes);

// Whether a stream is a terminal (the console on Windows).
bool stream_is_terminal(std::FILE* f);
// How many files the process may hold open at once (streams of the C library
// on Windows, descriptors on POSIX); 0 when the system does not say.
int open_file_limit();
// Once per process, before any input or output: standard input reads bytes
// as they are, and standard output, unless it is a terminal, is written 64
// KiB at a time.
void set_up_standard_streams();

// ---- Files written whole ----
// A file the run writes is made under a temporary name in its target's
// folder and renamed over the target when it is complete, so that the
// target is either the previous file or the new one, never half of it.
struct replacement {
    std::string temporary;    // the file written, beside the destination
    std::string destination;  // the target, or the file a symbolic link to it names
};
// Creates the temporary for a target and opens it for writing as text; it
// carries the target's permission bits (or those of a new file). Null, with
// nothing created, where no temporary can be made beside the target: a
// folder that cannot be written, a target that is no plain file (a device,
// a pipe), has other links or cannot be written itself. The caller then
// writes in place. Until it is committed or discarded, the temporary is
// removed if the process is interrupted.
std::FILE* replacement_open(const char* target, replacement& r);
// Renames the closed temporary over its destination: 0, or the system's
// reason, the temporary then removed.
int replacement_commit(const replacement& r);
// Removes the closed temporary.
void replacement_discard(const replacement& r);
// For the length of a run: an interrupt (SIGINT, SIGTERM, SIGHUP; on
// Windows Ctrl-C, Ctrl-Break and the closing of the console) removes the
// open temporaries and ends the process at once with status 128 + the
// signal's number (130 for Ctrl-C). A signal ignored when the run starts
// stays ignored; the end of the run gives back the previous handling.
void interrupts_begin();
void interrupts_end();
