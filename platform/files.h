// The platform's file calls, behind a small layer of our own.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// Opens a capture file for reading, without ever blocking (a FIFO or device
// is refused). Returns 0 and sets `fd`, or returns the error number.
int OpenCaptureFile(const std::string& path, int& fd);
void CloseCaptureFile(int fd);

// Reads what is available, up to `count` bytes: 0 at the end, -1 on error.
long ReadSome(int fd, void* buffer, std::size_t count);

// Creates or empties a CSV file for writing, in binary mode: line ends are
// written as CR LF by the writer itself. Returns 0 and sets `file`, or
// returns the error number.
int CreateOutputFile(const std::string& path, std::FILE*& file);

// Moves the file `from` over `to`, replacing it in one step. Returns 0 or
// the error number.
int MoveOverFile(const std::string& from, const std::string& to);

// Removes a file; failures are ignored (it is left-over scratch).
void RemoveFile(const std::string& path);

// Narrow text (names, tokens) as UTF-8: on Windows it is converted from the
// system's ANSI code page, elsewhere it already is UTF-8 or raw bytes.
std::string NarrowToUtf8(std::string_view text);

// The descriptor of standard input.
int StandardInput();

// The path separator that ends a folder's path.
extern const char kPathSeparator[];

struct FolderEntry {
  std::string name;  // without the folder
  bool is_folder;    // a folder, or a link to one
};

// Lists the entries of `folder` (which ends with the separator) that may
// match "*.txt"; the caller filters the names and sorts them. Returns 0, or
// the error number of a folder that cannot be listed (ENOENT when it does not
// exist), and then no entry: a listing that fails half-way lists nothing.
int ListFolder(const std::string& folder, std::vector<FolderEntry>& entries);

// Whether `path` names an existing folder.
bool FolderExists(const std::string& path);

// Whether two open descriptors are the same file or terminal, so that a
// message written to both would show twice.
bool SameFile(int fd_a, int fd_b);

// The descriptors of standard output and standard error.
int StandardOutput();
int StandardError();
