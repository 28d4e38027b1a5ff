// The POSIX side of the platform layer: file descriptors, opendir, signals and xdg-open.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/interrupt_file.h"
#include "platform/listing_posix.h"

namespace hkcsv {

namespace {

// Opens without blocking on a FIFO, then puts the descriptor back into
// blocking mode for the reads and writes that follow. Only a regular file is
// taken.
int OpenNonBlocking(const std::string& path, int flags, File& file) {
  File opened(::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666));
  if (!opened.is_open()) return errno;
  struct stat info;
  if (::fstat(opened.descriptor(), &info) != 0) return errno;
  if (!S_ISREG(info.st_mode)) return S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
  ::fcntl(opened.descriptor(), F_SETFL, ::fcntl(opened.descriptor(), F_GETFL) & ~O_NONBLOCK);
  file = std::move(opened);
  return 0;
}

struct CloseListing {
  void operator()(DIR* listing) const { ::closedir(listing); }
};

struct FreeMemory {
  void operator()(char* memory) const { std::free(memory); }
};

// The signals that end a run and remove its temporary files first.
constexpr int kInterrupts[] = {SIGINT, SIGTERM, SIGHUP};

// A file left by a run is taken for abandoned once nobody wrote to it for this long.
constexpr time_t kAbandonedAfter = 60;

// Holds back the interrupts until ReleaseInterrupts: what is done in between
// is done whole.
void HoldInterrupts(sigset_t& before) {
  sigset_t interrupts;
  sigemptyset(&interrupts);
  for (const int signal_number : kInterrupts) sigaddset(&interrupts, signal_number);
  ::pthread_sigmask(SIG_BLOCK, &interrupts, &before);
}

void ReleaseInterrupts(const sigset_t& before) {
  ::pthread_sigmask(SIG_SETMASK, &before, nullptr);  // a held-back interrupt acts now
}

// The interrupts remove the registered temporary file: unlink is
// async-signal-safe.
void RemoveTemporaryAndEnd(int signal_number) {
  for (const InterruptFile& file : interrupt_files) {
    if (file.registered.load()) ::unlink(file.path);
  }
  // SA_RESETHAND has put back the default action and SA_NODEFER lets the
  // signal through at once: the process ends as the signal ends it.
  ::raise(signal_number);
}

}  // namespace

int CloseFile(File& file) {
  if (!file.is_open()) return 0;
  const int descriptor = file.descriptor_;
  file.descriptor_ = -1;
  // No retry on EINTR: Linux has released the descriptor all the same.
  return ::close(descriptor) == 0 ? 0 : errno;
}

int OpenForReading(const std::string& path, File& file) { return OpenNonBlocking(path, O_RDONLY, file); }

int CreateForWriting(const std::string& path, File& file) {
  File created(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666));
  if (!created.is_open()) return errno;
  ::fcntl(created.descriptor(), F_SETFL, ::fcntl(created.descriptor(), F_GETFL) & ~O_NONBLOCK);
  file = std::move(created);
  return 0;
}

int CreateNewFile(const std::string& path, File& file, NewFile use) {
  const int access = use == NewFile::kScratch ? O_RDWR : O_WRONLY;
  File created(::open(path.c_str(), access | O_CREAT | O_EXCL | O_CLOEXEC, use == NewFile::kScratch ? 0600 : 0666));
  if (!created.is_open()) return errno;
  file = std::move(created);
  return 0;
}

int CreateScratchFile(const std::string& folder, File& file) {
#ifdef O_TMPFILE
  File unnamed(::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
  if (unnamed.is_open()) {
    file = std::move(unnamed);
    return 0;
  }
  // Other errors than a file system without nameless files are told as they are.
  if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return errno;
#endif
  // A name, removed before any interrupt can leave it behind. The open file
  // stays readable and writable without it.
  sigset_t before;
  HoldInterrupts(before);
  std::string path;
  int error = CreateUniqueFile(folder + "/.frames.tmp.", file, path, NewFile::kScratch);
  if (error == 0 && ::unlink(path.c_str()) != 0) {
    error = errno;
    CloseFile(file);
  }
  ReleaseInterrupts(before);
  return error;
}

int RewindFile(const File& file) { return ::lseek(file.descriptor(), 0, SEEK_SET) == 0 ? 0 : errno; }

int ReadSome(int descriptor, void* buffer, std::size_t count, std::size_t& got) {
  got = 0;
  for (;;) {
    const ssize_t read = ::read(descriptor, buffer, count);
    if (read >= 0) {
      got = static_cast<std::size_t>(read);
      return 0;
    }
    if (errno != EINTR) return errno;
  }
}

int WriteAll(int descriptor, const void* bytes, std::size_t count) {
  const char* at = static_cast<const char*>(bytes);
  while (count > 0) {
    const ssize_t wrote = ::write(descriptor, at, count);
    if (wrote < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (wrote == 0) return EIO;  // no progress and no reason: never loop on it
    at += wrote;
    count -= static_cast<std::size_t>(wrote);
  }
  return 0;
}

int MoveOverFile(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0 ? 0 : errno; }

int MakeFolder(const std::string& path) {
  if (::mkdir(path.c_str(), 0777) == 0) return 0;
  const int error = errno;
  if (error != EEXIST) return error;
  return FolderExists(path) ? 0 : ENOTDIR;
}

int InspectPath(const std::string& path, PathInfo& info) {
  info = PathInfo{};
  struct stat name;
  info.link = ::lstat(path.c_str(), &name) == 0 && S_ISLNK(name.st_mode);
  struct stat status;
  if (::stat(path.c_str(), &status) != 0) {
    if (errno != ENOENT) return errno;
    if (info.link) info.kind = PathKind::kDanglingLink;
    return 0;
  }
  info.kind = S_ISREG(status.st_mode)   ? PathKind::kRegularFile
              : S_ISDIR(status.st_mode) ? PathKind::kFolder
                                        : PathKind::kOther;
  info.identity = {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
  return 0;
}

int ResolvePath(const std::string& path, std::string& resolved) {
  const std::unique_ptr<char, FreeMemory> real(::realpath(path.c_str(), nullptr));
  if (!real) return errno;
  resolved = real.get();
  return 0;
}

int PlaceOfPath(const std::string& path, std::string& place) {
  // Cut names off the end until what is left resolves ("." for nothing left).
  std::string head = path;
  std::vector<std::string> rest;  // the names cut off, last first
  for (int error; (error = ResolvePath(head.empty() ? "." : head, place)) != 0;) {
    const std::size_t end = head.find_last_not_of('/');
    if (end == std::string::npos) return error;  // "." or the root does not resolve
    const std::size_t cut = head.find_last_of('/', end);
    const std::size_t start = cut == std::string::npos ? 0 : cut + 1;
    rest.push_back(head.substr(start, end + 1 - start));
    head.resize(cut == std::string::npos ? 0 : std::max<std::size_t>(cut, 1));  // "/a" keeps the root
  }
  for (auto name = rest.rbegin(); name != rest.rend(); ++name) {
    if (*name == ".") continue;
    if (*name == "..") {
      place.resize(std::max<std::size_t>(place.find_last_of('/'), 1));
    } else {
      if (place.back() != '/') place += '/';
      place += *name;
    }
  }
  return 0;
}

std::string NarrowToUtf8(std::string_view text) { return std::string(text); }

int StandardInput() { return STDIN_FILENO; }
int StandardOutput() { return STDOUT_FILENO; }
int StandardError() { return STDERR_FILENO; }

std::string FileNameKey(std::string_view name) { return std::string(name); }

std::size_t CharacterCut(std::string_view name, std::size_t most) {
  if (most >= name.size()) return name.size();
  // Back over the continuation bytes (10xxxxxx) of the character cut in two.
  std::size_t cut = most;
  while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
  return cut;
}

bool IsTerminal(int descriptor) { return ::isatty(descriptor) == 1; }

bool SameFile(int descriptor_a, int descriptor_b) {
  struct stat a;
  struct stat b;
  return ::fstat(descriptor_a, &a) == 0 && ::fstat(descriptor_b, &b) == 0 && a.st_dev == b.st_dev &&
         a.st_ino == b.st_ino;
}

bool FolderExists(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

const char kPathSeparator[] = "/";
const char kPathSeparators[] = "/";

int ReadNextEntry(DIR* listing, const dirent*& entry) {
  // readdir tells its end from its failure only by errno.
  errno = 0;
  entry = ::readdir(listing);
  return entry ? 0 : errno;
}

int ListFolderWith(const std::string& folder, const ReadFolderEntry& read, std::vector<FolderEntry>& entries) {
  entries.clear();
  const std::unique_ptr<DIR, CloseListing> listing(::opendir(folder.c_str()));
  if (!listing) return errno;
  for (;;) {
    const dirent* entry = nullptr;
    if (const int error = read(listing.get(), entry)) {
      entries.clear();
      return error;
    }
    if (!entry) return 0;
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat info;
    // stat follows links: a link to a folder is a folder, a broken link is
    // a file that will fail to open in its turn.
    const bool is_folder = ::stat((folder + name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    entries.push_back({name, is_folder});
  }
}

int ListFolder(const std::string& folder, std::string_view /*pattern*/, std::vector<FolderEntry>& entries) {
  return ListFolderWith(folder, ReadNextEntry, entries);
}

void InstallInterruptHandlers() {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  ::sigaction(SIGPIPE, &ignore, nullptr);
  for (const int signal_number : kInterrupts) {
    struct sigaction before {};
    // A shell starts background jobs with SIGINT ignored: leave it so.
    if (::sigaction(signal_number, nullptr, &before) == 0 && before.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = RemoveTemporaryAndEnd;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND | SA_NODEFER;
    ::sigaction(signal_number, &action, nullptr);
  }
}

int CreateTemporaryFile(const std::string& prefix, File& file, std::string& path, int& slot) {
  sigset_t before;
  HoldInterrupts(before);
  int error = CreateUniqueFile(prefix, file, path);
  if (error == 0 && ::flock(file.descriptor(), LOCK_EX | LOCK_NB) != 0) error = errno;
  if (error == 0) error = RegisterTemporaryFile(path, slot);
  if (error != 0 && file.is_open()) {
    CloseFile(file);
    RemoveFile(path);
  }
  ReleaseInterrupts(before);
  return error;
}

int RemoveLeftTemporaryFile(const std::string& path) {
  File left(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (!left.is_open()) return errno;
  struct stat info;
  if (::fstat(left.descriptor(), &info) != 0) return errno;
  if (!S_ISREG(info.st_mode)) return EINVAL;
  // A young file may be one that a run has just created and not locked yet.
  if (::time(nullptr) - info.st_mtime < kAbandonedAfter) return EBUSY;
  if (::flock(left.descriptor(), LOCK_EX | LOCK_NB) != 0) return errno == EWOULDBLOCK ? EBUSY : errno;
  return ::unlink(path.c_str()) == 0 ? 0 : errno;
}

const char kBrowserOpener[] = "xdg-open";

int OpenInBrowser(const std::string& path, int& exit_status) {
  exit_status = 0;
  std::string program = kBrowserOpener;
  // A relative path that starts with "-" is no option to the opener.
  std::string argument = path.starts_with('-') ? "./" + path : path;
  char* const arguments[] = {program.data(), argument.data(), nullptr};
  // The opener gets the default action of SIGPIPE back, which this process
  // ignores.
  posix_spawnattr_t attributes;
  if (const int error = ::posix_spawnattr_init(&attributes)) return error;
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  ::posix_spawnattr_setsigdefault(&attributes, &defaults);
  ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  pid_t child = 0;
  const int error = ::posix_spawnp(&child, program.c_str(), nullptr, &attributes, arguments, environ);
  ::posix_spawnattr_destroy(&attributes);
  if (error != 0) return error;
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return errno;
  }
  exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return 0;
}

unsigned ConsoleProcessCount() { return 0; }

}  // namespace hkcsv
