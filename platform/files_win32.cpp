// The Windows side of the platform layer: the FindFirstFileA listing and the
// C runtime's descriptors and fopen_s, all with narrow (8-bit) paths.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>

#include "platform/files.h"

int OpenCaptureFile(const std::string& path, int& fd) {
  fd = ::_open(path.c_str(), _O_RDONLY | _O_BINARY);
  if (fd < 0) return errno;
  struct _stat64 info;
  if (::_fstat64(fd, &info) != 0 || (info.st_mode & _S_IFMT) != _S_IFREG) {
    ::_close(fd);
    return (info.st_mode & _S_IFMT) == _S_IFDIR ? EISDIR : EINVAL;
  }
  return 0;
}

void CloseCaptureFile(int fd) { ::_close(fd); }

long ReadSome(int fd, void* buffer, std::size_t count) { return ::_read(fd, buffer, static_cast<unsigned>(count)); }

int CreateCsvFile(const std::string& path, std::FILE*& file) { return ::fopen_s(&file, path.c_str(), "wb"); }

int StandardInput() { return 0; }

const char kPathSeparator[] = "\\";

std::vector<FolderEntry> ListFolder(const std::string& folder) {
  std::vector<FolderEntry> entries;
  WIN32_FIND_DATAA win32FindData;
  const HANDLE listing = ::FindFirstFileA((folder + "*.txt").c_str(), &win32FindData);
  if (listing == INVALID_HANDLE_VALUE) return entries;
  do {
    // The pattern also matches through short 8.3 names ("a.txtx"); the
    // caller checks each name again.
    entries.push_back({win32FindData.cFileName, (win32FindData.dwFileAttributes & 0x10) != 0});
  } while (::FindNextFileA(listing, &win32FindData));
  ::FindClose(listing);
  return entries;
}
