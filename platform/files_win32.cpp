// The Windows side of the platform layer: the FindFirstFileA listing and the
// C runtime's descriptors, all with narrow (8-bit) paths.
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <memory>

#include "platform/files.h"

namespace hkcsv {

namespace {

// The error number of a Win32 error code, for the calls that are not the C
// runtime's (which sets errno itself).
int ErrorNumberOf(DWORD code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
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

struct CloseListing {
  void operator()(HANDLE listing) const { ::FindClose(listing); }
};

// The largest piece handed to one _read or _write, whose counts are int.
constexpr std::size_t kLargestPiece = 1u << 30;

}  // namespace

int CloseFile(File& file) {
  if (!file.is_open()) return 0;
  const int descriptor = file.descriptor_;
  file.descriptor_ = -1;
  return ::_close(descriptor) == 0 ? 0 : errno;
}

int OpenForReading(const std::string& path, File& file) {
  File opened(::_open(path.c_str(), _O_RDONLY | _O_BINARY));
  if (!opened.is_open()) return errno;
  struct _stat64 info;
  if (::_fstat64(opened.descriptor(), &info) != 0) return errno;
  if ((info.st_mode & _S_IFMT) != _S_IFREG) return (info.st_mode & _S_IFMT) == _S_IFDIR ? EISDIR : EINVAL;
  file = std::move(opened);
  return 0;
}

int CreateForWriting(const std::string& path, File& file) {
  // Others may read the file while it is written, but not write it.
  int descriptor = -1;
  const int error = ::_sopen_s(&descriptor, path.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, _SH_DENYWR,
                               _S_IREAD | _S_IWRITE);
  if (error != 0) return error;
  file = File(descriptor);
  return 0;
}

int ReadSome(int descriptor, void* buffer, std::size_t count, std::size_t& got) {
  got = 0;
  const int read = ::_read(descriptor, buffer, static_cast<unsigned>(count < kLargestPiece ? count : kLargestPiece));
  if (read < 0) return errno;
  got = static_cast<std::size_t>(read);
  return 0;
}

int WriteAll(int descriptor, const void* bytes, std::size_t count) {
  const char* at = static_cast<const char*>(bytes);
  while (count > 0) {
    const int wrote = ::_write(descriptor, at, static_cast<unsigned>(count < kLargestPiece ? count : kLargestPiece));
    if (wrote < 0) return errno;
    if (wrote == 0) return EIO;  // no progress and no reason: never loop on it
    at += wrote;
    count -= static_cast<std::size_t>(wrote);
  }
  return 0;
}

int MoveOverFile(const std::string& from, const std::string& to) {
  return ::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : ErrorNumberOf(::GetLastError());
}

int RemoveFile(const std::string& path) { return ::DeleteFileA(path.c_str()) ? 0 : ErrorNumberOf(::GetLastError()); }

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

bool SameFile(int descriptor_a, int descriptor_b) {
  const HANDLE a = reinterpret_cast<HANDLE>(::_get_osfhandle(descriptor_a));
  const HANDLE b = reinterpret_cast<HANDLE>(::_get_osfhandle(descriptor_b));
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
const char kPathSeparators[] = "\\/";

namespace {

// The error number of a listing that stopped with `code`. "No match" is not
// a failure: the folder is there and holds no capture file.
int ListingError(DWORD code) {
  return code == ERROR_FILE_NOT_FOUND || code == ERROR_NO_MORE_FILES ? 0 : ErrorNumberOf(code);
}

}  // namespace

int ListFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
  entries.clear();
  WIN32_FIND_DATAA found;
  const HANDLE first = ::FindFirstFileA((folder + "*.txt").c_str(), &found);
  if (first == INVALID_HANDLE_VALUE) return ListingError(::GetLastError());
  const std::unique_ptr<void, CloseListing> listing(first);
  do {
    // The pattern also matches through short 8.3 names ("a.txtx"); the
    // caller checks each name again.
    entries.push_back({found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (::FindNextFileA(listing.get(), &found));
  const int error = ListingError(::GetLastError());
  if (error != 0) entries.clear();
  return error;
}

}  // namespace hkcsv
