// The platform's file and folder calls, behind a small layer of our own.
//
// Every call that can fail returns its error number: 0 on success, otherwise
// an errno value (Windows errors are mapped to the nearest one), whose text
// ErrorText gives. What a call produces comes back through a reference
// parameter, so nobody reads errno after a call of this layer.
#pragma once

#include <cstddef>
#include <cstdint>
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

// The text of an error number, as the C library words it.
std::string ErrorText(int error);

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

// Reads at most `most` bytes from the start of the regular file at `path`.
int ReadFileHead(const std::string& path, std::size_t most, std::string& bytes);

// Whether the regular file at `path` holds exactly `bytes`: it is read only
// as far as it agrees. A file that cannot be read does not hold them.
bool FileHolds(const std::string& path, std::string_view bytes);

// What a new file is for: written and kept (its owner renames or removes
// it), or written and read back as scratch, removed when it is closed.
enum class NewFile { kWritten, kScratch };

// Creates the new file `path` in binary mode, exclusively: EEXIST when
// anything stands under that name, a link included.
int CreateNewFile(const std::string& path, File& file, NewFile use = NewFile::kWritten);

// Creates a new file named `prefix` followed by six random characters of
// [A-Za-z0-9], exclusively: a name that exists already is never opened, and
// another is drawn. Sets `path` to the name created.
int CreateUniqueFile(const std::string& prefix, File& file, std::string& path, NewFile use = NewFile::kWritten);

// A scratch file in `folder`, open for writing and reading back, that nobody
// else sees and that goes when it is closed or the process ends, however it
// ends: on Linux it never has a name (O_TMPFILE); where the file system
// cannot do that, it is named as CreateUniqueFile names one (".frames.tmp.")
// and the name removed at once, interrupts held back in between; Windows
// deletes it on close.
int CreateScratchFile(const std::string& folder, File& file);

// Sets the position of `file` back to its start, to read what was written.
int RewindFile(const File& file);

// Moves the file `from` over `to`, replacing it in one step.
int MoveOverFile(const std::string& from, const std::string& to);

// Removes a file.
int RemoveFile(const std::string& path);

// Creates the folder `path`; 0 also when it is a folder already, ENOTDIR
// when something else stands under its name.
int MakeFolder(const std::string& path);

enum class PathKind {
  kMissing,       // nothing by that name
  kRegularFile,   // a regular file, or a link that leads to one
  kFolder,        // a folder, or a link that leads to one
  kOther,         // a FIFO, a device, a socket, ...
  kDanglingLink,  // a symbolic link that leads nowhere
};

// What makes a file the same file under any of its names: the device and
// inode on POSIX, the volume serial number and file index on Windows.
struct FileIdentity {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  bool operator==(const FileIdentity&) const = default;
};

struct PathInfo {
  PathKind kind = PathKind::kMissing;
  FileIdentity identity;  // when the path leads to a file or folder
  bool link = false;      // the name itself is a symbolic link (Windows: a reparse point)
};

// What `path` is, following links. A path that leads nowhere is no failure:
// it is kMissing or kDanglingLink.
int InspectPath(const std::string& path, PathInfo& info);

// The file that `path`'s chain of links ends at, as an absolute path (POSIX:
// realpath, which fails when it does not exist); Windows gives `path` as it
// stands.
int ResolvePath(const std::string& path, std::string& resolved);

// The absolute path of the place `path` names, whether or not anything stands
// there yet, so that two spellings of one place compare equal: POSIX takes the
// real path of the nearest part that stands (links resolved) and the rest as
// it reads, "." and ".." taken lexically; Windows takes the full path name,
// upper-cased, as its file names ignore letter case.
int PlaceOfPath(const std::string& path, std::string& place);

struct FolderEntry {
  std::string name;  // without the folder
  bool is_folder;    // a folder, or a link to one
};

// Lists the entries of `folder` (which ends with the separator) that may
// match `pattern` ("*.txt"): Windows lists through the pattern, POSIX lists
// every entry. The caller filters the names and sorts them. ENOENT when the
// folder does not exist. On a failure there is no entry: a listing that
// fails half-way lists nothing.
int ListFolder(const std::string& folder, std::string_view pattern, std::vector<FolderEntry>& entries);

// Whether `path` names an existing folder.
bool FolderExists(const std::string& path);

// The path separator that ends a folder's path.
extern const char kPathSeparator[];
// Every character that separates folders in a path given to the program.
extern const char kPathSeparators[];

// A file name as the file system compares names: in upper case on Windows,
// whose names ignore letter case ("a.html" and "A.HTML" are one file), as it
// stands elsewhere.
std::string FileNameKey(std::string_view name);

// The most bytes of `name`, at most `most`, that end where a character ends
// (UTF-8 on POSIX, the ANSI code page's double-byte characters on Windows),
// so that a name cut there is still a name.
std::size_t CharacterCut(std::string_view name, std::size_t most);

// Narrow text (names, tokens) as UTF-8: on Windows it is converted from the
// system's ANSI code page, elsewhere it already is UTF-8 or raw bytes.
std::string NarrowToUtf8(std::string_view text);

// The descriptors of the standard streams, not owned by anyone here.
int StandardInput();
int StandardOutput();
int StandardError();

// Whether the open descriptor is a terminal (Windows: a console), where a
// line may be rewritten in place.
bool IsTerminal(int descriptor);

// Whether two open descriptors are the same file or terminal, so that a
// message written to both would show twice.
bool SameFile(int descriptor_a, int descriptor_b);

// Sets up, once at the start, what an interrupt does: a write to a closed
// pipe fails with EPIPE instead of ending the process; SIGINT, SIGTERM and
// SIGHUP (a closed terminal or ssh session; on Windows Ctrl+C, Ctrl+Break
// and closing the console) remove the registered temporary files, if any,
// and end the process as the signal does by default. A signal that was
// ignored at the start stays ignored.
void InstallInterruptHandlers();

// Names a temporary file that an interrupt removes, in `slot` (ENAMETOOLONG
// when its path does not fit the handler's fixed buffer, EMFILE when four
// are named already), and forgets it again.
int RegisterTemporaryFile(const std::string& path, int& slot);
void UnregisterTemporaryFile(int slot);

// CreateUniqueFile, and RegisterTemporaryFile of the file created, with
// interrupts held back in between: no interrupt finds the file there and
// not registered. When it cannot be registered, it is removed again. While
// the file is open, it is held as its writer's (POSIX: an exclusive flock;
// Windows: the open handle), so that RemoveLeftTemporaryFile leaves it.
int CreateTemporaryFile(const std::string& prefix, File& file, std::string& path, int& slot);

// Removes the temporary file `path` that a run left behind (one ended by a
// kill or a power cut): only a regular file that no process holds as its
// writer and, on POSIX, that nobody wrote to for a minute. EBUSY when it is
// held or too young.
int RemoveLeftTemporaryFile(const std::string& path);

// The program that OpenInBrowser hands the page to, for messages.
extern const char kBrowserOpener[];

// Opens `path` in the default browser: xdg-open on Linux, whose exit status
// is waited for and set in `exit_status` (ENOENT when there is no
// xdg-open); ShellExecute on Windows, where `exit_status` is 0.
int OpenInBrowser(const std::string& path, int& exit_status);

// How many processes share this process's console (Windows); 0 where there
// is no such count (POSIX, or no console).
unsigned ConsoleProcessCount();

}  // namespace hkcsv
