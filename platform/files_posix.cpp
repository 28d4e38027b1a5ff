#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/files.h"

namespace {

// Opens without blocking on a FIFO, then puts the descriptor back into
// blocking mode for the reads and writes that follow.
int OpenNonBlocking(const std::string& path, int flags, int& fd) {
  fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) return errno;
  struct stat info;
  if (::fstat(fd, &info) != 0) {
    const int error = errno;
    ::close(fd);
    return error;
  }
  if (!S_ISREG(info.st_mode)) {
    ::close(fd);
    return S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return 0;
}

}  // namespace

int OpenCaptureFile(const std::string& path, int& fd) { return OpenNonBlocking(path, O_RDONLY, fd); }

void CloseCaptureFile(int fd) { ::close(fd); }

long ReadSome(int fd, void* buffer, std::size_t count) {
  for (;;) {
    const ssize_t got = ::read(fd, buffer, count);
    if (got >= 0 || errno != EINTR) return static_cast<long>(got);
  }
}

int CreateOutputFile(const std::string& path, std::FILE*& file) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) return errno;
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  file = ::fdopen(fd, "wb");
  if (!file) {
    const int error = errno;
    ::close(fd);
    return error;
  }
  return 0;
}

int MoveOverFile(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

void RemoveFile(const std::string& path) { ::unlink(path.c_str()); }

std::string NarrowToUtf8(std::string_view text) { return std::string(text); }

int StandardInput() { return STDIN_FILENO; }
int StandardOutput() { return STDOUT_FILENO; }
int StandardError() { return STDERR_FILENO; }

bool SameFile(int fd_a, int fd_b) {
  struct stat a;
  struct stat b;
  return ::fstat(fd_a, &a) == 0 && ::fstat(fd_b, &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool FolderExists(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

const char kPathSeparator[] = "/";

int ListFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
  entries.clear();
  DIR* listing = ::opendir(folder.c_str());
  if (!listing) return errno;
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(listing);
    if (!entry) break;
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat info;
    // stat follows links: a link to a folder is a folder, a broken link is
    // a file that will fail to open in its turn.
    const bool is_folder = ::stat((folder + name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    entries.push_back({name, is_folder});
  }
  const int error = errno;
  ::closedir(listing);
  if (error != 0) entries.clear();
  return error;
}
