#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>

#include "platform/files.h"
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

std::string NarrowToUtf8(std::string_view text) { return std::string(text); }

int StandardInput() { return STDIN_FILENO; }
int StandardOutput() { return STDOUT_FILENO; }
int StandardError() { return STDERR_FILENO; }

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

int ListFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
  return ListFolderWith(folder, ReadNextEntry, entries);
}

}  // namespace hkcsv
