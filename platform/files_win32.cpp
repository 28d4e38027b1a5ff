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
  if (::_fstat64(fd, &info) != 0) {
    const int error = errno;
    ::_close(fd);
    return error;
  }
  if ((info.st_mode & _S_IFMT) != _S_IFREG) {
    ::_close(fd);
    return (info.st_mode & _S_IFMT) == _S_IFDIR ? EISDIR : EINVAL;
  }
  return 0;
}

void CloseCaptureFile(int fd) { ::_close(fd); }

long ReadSome(int fd, void* buffer, std::size_t count) { return ::_read(fd, buffer, static_cast<unsigned>(count)); }

int CreateOutputFile(const std::string& path, std::FILE*& file) { return ::fopen_s(&file, path.c_str(), "wb"); }

int MoveOverFile(const std::string& from, const std::string& to) {
  if (::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return 0;
  switch (::GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
      return EACCES;
    default:
      return EIO;
  }
}

void RemoveFile(const std::string& path) { ::DeleteFileA(path.c_str()); }

std::string NarrowToUtf8(std::string_view text) {
  bool ascii = true;
  for (char c : text) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii || text.empty()) return std::string(text);
  const int size = static_cast<int>(text.size());
  const int wide_size = ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(wide_size), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), wide_size);
  const int utf8_size = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(utf8_size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_size, utf8.data(), utf8_size, nullptr, nullptr);
  return utf8;
}

int StandardInput() { return 0; }
int StandardOutput() { return 1; }
int StandardError() { return 2; }

bool SameFile(int fd_a, int fd_b) {
  const HANDLE a = reinterpret_cast<HANDLE>(::_get_osfhandle(fd_a));
  const HANDLE b = reinterpret_cast<HANDLE>(::_get_osfhandle(fd_b));
  if (a == INVALID_HANDLE_VALUE || b == INVALID_HANDLE_VALUE) return false;
  // Both the console: the same screen.
  DWORD mode;
  if (::GetConsoleMode(a, &mode) && ::GetConsoleMode(b, &mode)) return true;
  BY_HANDLE_FILE_INFORMATION info_a;
  BY_HANDLE_FILE_INFORMATION info_b;
  return ::GetFileInformationByHandle(a, &info_a) && ::GetFileInformationByHandle(b, &info_b) &&
         info_a.dwVolumeSerialNumber == info_b.dwVolumeSerialNumber && info_a.nFileIndexHigh == info_b.nFileIndexHigh &&
         info_a.nFileIndexLow == info_b.nFileIndexLow;
}

bool FolderExists(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

const char kPathSeparator[] = "\\";

namespace {

// The error number of a listing failure. "No match" is not one: the folder
// is there and holds no capture file.
int ListingError(DWORD code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_NO_MORE_FILES:
      return 0;
    case ERROR_PATH_NOT_FOUND:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
      return EACCES;
    case ERROR_DIRECTORY:
      return ENOTDIR;
    default:
      return EIO;
  }
}

}  // namespace

int ListFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
  entries.clear();
  WIN32_FIND_DATAA win32FindData;
  const HANDLE listing = ::FindFirstFileA((folder + "*.txt").c_str(), &win32FindData);
  if (listing == INVALID_HANDLE_VALUE) return ListingError(::GetLastError());
  do {
    // The pattern also matches through short 8.3 names ("a.txtx"); the
    // caller checks each name again.
    entries.push_back({win32FindData.cFileName, (win32FindData.dwFileAttributes & 0x10) != 0});
  } while (::FindNextFileA(listing, &win32FindData));
  const int error = ListingError(::GetLastError());
  ::FindClose(listing);
  if (error != 0) entries.clear();
  return error;
}
