// The platform's file and folder calls, behind a small layer of our own.
//
// Every call that can fail returns its error number: 0 on success, otherwise
// an errno value (Windows errors are mapped to the nearest one), whose text
// std::strerror gives. What a call produces comes back through a reference
// parameter, so nobody reads errno after a call of this layer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace hkcsv {

// An open file, owned: it is closed when the handle goes out of scope or is
// moved over, on every path. Move-only. A closed (empty) handle holds -1.
class File {
 public:
  File() = default;
  explicit File(int descriptor) : descriptor_(descriptor) {}
  File(File&& other) noexcept : descriptor_(other.descriptor_) { other.descriptor_ = -1; }
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  ~File();

  // The descriptor for ReadSome and WriteAll, or -1; it stays owned here.
  int descriptor() const { return descriptor_; }
  bool is_open() const { return descriptor_ >= 0; }

 private:
  friend int CloseFile(File& file);
  int descriptor_ = -1;
};

// Closes the file now and returns the close's error; the handle is empty
// afterwards, whatever the result. Closing an empty handle returns 0.
int CloseFile(File& file);

// Opens an existing regular file for reading, without ever blocking (a FIFO
// or device is refused with EINVAL, a folder with EISDIR).
int OpenForReading(const std::string& path, File& file);

// Creates or empties a file for writing, in binary mode: line ends are
// written as the writer gives them.
int CreateForWriting(const std::string& path, File& file);

// Reads what is available, up to `count` bytes, into `buffer`: sets `got`,
// which is 0 only at the end of the input (and on an error).
int ReadSome(int descriptor, void* buffer, std::size_t count, std::size_t& got);

// Writes all `count` bytes, in as many writes as it takes.
int WriteAll(int descriptor, const void* bytes, std::size_t count);

// Reads the whole of a regular file (opened as by OpenForReading) into
// `bytes`, which holds what was read before a failure.
int ReadWholeFile(const std::string& path, std::string& bytes);

// Moves the file `from` over `to`, replacing it in one step.
int MoveOverFile(const std::string& from, const std::string& to);

// Removes a file.
int RemoveFile(const std::string& path);

struct FolderEntry {
  std::string name;  // without the folder
  bool is_folder;    // a folder, or a link to one
};

// Lists the entries of `folder` (which ends with the separator) that may
// match "*.txt"; the caller filters the names and sorts them. ENOENT when
// the folder does not exist. On a failure there is no entry: a listing that
// fails half-way lists nothing.
int ListFolder(const std::string& folder, std::vector<FolderEntry>& entries);

// Whether `path` names an existing folder.
bool FolderExists(const std::string& path);

// The path separator that ends a folder's path.
extern const char kPathSeparator[];
// Every character that separates folders in a path given to the program.
extern const char kPathSeparators[];

// Narrow text (names, tokens) as UTF-8: on Windows it is converted from the
// system's ANSI code page, elsewhere it already is UTF-8 or raw bytes.
std::string NarrowToUtf8(std::string_view text);

// The descriptors of the standard streams, not owned by anyone here.
int StandardInput();
int StandardOutput();
int StandardError();

// Whether two open descriptors are the same file or terminal, so that a
// message written to both would show twice.
bool SameFile(int descriptor_a, int descriptor_b);

}  // namespace hkcsv
