// The Windows side of the platform layer: the FindFirstFileA listing and the
// C runtime's descriptors, all with narrow (8-bit) paths.
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>
// After windows.h, which they need.
#include <objbase.h>
#include <shellapi.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

#include "platform/files.h"
#include "platform/interrupt_file.h"

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
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    default:
      return EIO;
  }
}

struct CloseListing {
  void operator()(HANDLE listing) const { ::FindClose(listing); }
};

struct CloseOwnedHandle {
  void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};

// Ctrl+C, Ctrl+Break and closing the console remove the registered
// temporary file. `temporary_lock` keeps the console's handler, which runs on
// a thread of its own, out while a temporary file is created and registered.
SRWLOCK temporary_lock = SRWLOCK_INIT;

BOOL WINAPI RemoveTemporaryOnInterrupt(DWORD /*event*/) {
  ::AcquireSRWLockExclusive(&temporary_lock);
  for (const InterruptFile& file : interrupt_files) {
    if (file.registered.load()) ::DeleteFileA(file.path);
  }
  ::ReleaseSRWLockExclusive(&temporary_lock);
  return FALSE;  // on to the default handler, which ends the process
}

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

int CreateNewFile(const std::string& path, File& file, NewFile use) {
  // CreateFileA rather than _sopen_s: the file must be shared for deletion,
  // so that an interrupt can remove it while it is open (it goes when the
  // process ends). Others may read it, not write it. A scratch file is
  // deleted when its handle closes, however the process ends.
  const bool scratch = use == NewFile::kScratch;
  const HANDLE handle = ::CreateFileA(
      path.c_str(), scratch ? GENERIC_READ | GENERIC_WRITE : GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
      nullptr, CREATE_NEW,
      scratch ? FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE : FILE_ATTRIBUTE_NORMAL,
      nullptr);
  if (handle == INVALID_HANDLE_VALUE) return ErrorNumberOf(::GetLastError());
  const int descriptor = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), scratch ? _O_RDWR : _O_WRONLY);
  if (descriptor < 0) {
    const int error = errno;
    ::CloseHandle(handle);
    return error;
  }
  file = File(descriptor);
  ::_setmode(descriptor, _O_BINARY);
  return 0;
}

int CreateScratchFile(const std::string& folder, File& file) {
  std::string path;
  return CreateUniqueFile(folder + "\\.frames.tmp.", file, path, NewFile::kScratch);
}

int RewindFile(const File& file) { return ::_lseeki64(file.descriptor(), 0, SEEK_SET) == 0 ? 0 : errno; }

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
  if (::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return 0;
  const int error = ErrorNumberOf(::GetLastError());
  // A folder in the way is refused as access denied: name the real reason.
  return error == EACCES && FolderExists(to) ? EISDIR : error;
}

int RemoveFile(const std::string& path) { return ::DeleteFileA(path.c_str()) ? 0 : ErrorNumberOf(::GetLastError()); }

int MakeFolder(const std::string& path) {
  if (::CreateDirectoryA(path.c_str(), nullptr)) return 0;
  const int error = ErrorNumberOf(::GetLastError());
  if (error != EEXIST) return error;
  return FolderExists(path) ? 0 : ENOTDIR;
}

int InspectPath(const std::string& path, PathInfo& info) {
  info = PathInfo{};
  const DWORD name = ::GetFileAttributesA(path.c_str());
  info.link = name != INVALID_FILE_ATTRIBUTES && (name & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  // No access asked for: only the file's information is read. Backup
  // semantics let a folder be opened too; links are followed.
  const HANDLE handle = ::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD code = ::GetLastError();
    if (code != ERROR_FILE_NOT_FOUND && code != ERROR_PATH_NOT_FOUND) return ErrorNumberOf(code);
    // The name itself is there when it is a link that leads nowhere.
    if (info.link) info.kind = PathKind::kDanglingLink;
    return 0;
  }
  const std::unique_ptr<void, CloseOwnedHandle> opened(handle);
  if (::GetFileType(handle) != FILE_TYPE_DISK) {  // a device such as NUL or CON, a pipe
    info.kind = PathKind::kOther;
    return 0;
  }
  BY_HANDLE_FILE_INFORMATION file;
  if (!::GetFileInformationByHandle(handle, &file)) return ErrorNumberOf(::GetLastError());
  info.kind = (file.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? PathKind::kFolder : PathKind::kRegularFile;
  info.identity = {file.dwVolumeSerialNumber, (std::uint64_t{file.nFileIndexHigh} << 32) | file.nFileIndexLow};
  return 0;
}

int ResolvePath(const std::string& path, std::string& resolved) {
  resolved = path;
  return 0;
}

namespace {

std::wstring WideOfAnsi(std::string_view text) {
  const int size = static_cast<int>(text.size());
  const int wide_size = ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(wide_size), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), wide_size);
  return wide;
}

std::string Utf8OfWide(const std::wstring& wide) {
  const int wide_size = static_cast<int>(wide.size());
  const int utf8_size = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(utf8_size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_size, utf8.data(), utf8_size, nullptr, nullptr);
  return utf8;
}

}  // namespace

namespace {

// The text folded to upper case in UTF-16, so that a multibyte name folds as
// one; as it stands where it cannot be.
std::string UpperCase(const std::string& text) {
  const std::wstring wide = WideOfAnsi(text);
  const int size_wide = static_cast<int>(wide.size());
  std::wstring upper(wide.size(), L'\0');
  if (size_wide == 0 || ::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, wide.data(), size_wide, upper.data(),
                                        size_wide, nullptr, nullptr, 0) != size_wide) {
    return text;
  }
  return Utf8OfWide(upper);
}

}  // namespace

std::string FileNameKey(std::string_view name) { return UpperCase(std::string(name)); }

std::size_t CharacterCut(std::string_view name, std::size_t most) {
  std::size_t cut = 0;
  for (std::size_t at = 0; at < name.size();) {
    const std::size_t next = at + (::IsDBCSLeadByte(static_cast<BYTE>(name[at])) && at + 1 < name.size() ? 2 : 1);
    if (next > most) break;
    cut = at = next;
  }
  return cut;
}

int PlaceOfPath(const std::string& path, std::string& place) {
  const DWORD size = ::GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return ErrorNumberOf(::GetLastError());
  std::string full(size, '\0');
  const DWORD written = ::GetFullPathNameA(path.c_str(), size, full.data(), nullptr);
  if (written == 0 || written >= size) return ErrorNumberOf(::GetLastError());
  full.resize(written);
  // File names ignore letter case here: "o.html" and "O.html" are one place.
  place = UpperCase(full);
  return 0;
}

std::string NarrowToUtf8(std::string_view text) {
  bool ascii = true;
  for (char c : text) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii || text.empty()) return std::string(text);
  return Utf8OfWide(WideOfAnsi(text));
}

int StandardInput() { return 0; }
int StandardOutput() { return 1; }
int StandardError() { return 2; }

bool IsTerminal(int descriptor) {
  // Not _isatty, which takes the NUL device for one too.
  const HANDLE handle = reinterpret_cast<HANDLE>(::_get_osfhandle(descriptor));
  DWORD mode;
  return handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode);
}

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

int ListFolder(const std::string& folder, std::string_view pattern, std::vector<FolderEntry>& entries) {
  entries.clear();
  WIN32_FIND_DATAA found;
  const HANDLE first = ::FindFirstFileA((folder + std::string(pattern)).c_str(), &found);
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

void InstallInterruptHandlers() { ::SetConsoleCtrlHandler(RemoveTemporaryOnInterrupt, TRUE); }

int CreateTemporaryFile(const std::string& prefix, File& file, std::string& path, int& slot) {
  ::AcquireSRWLockExclusive(&temporary_lock);
  int error = CreateUniqueFile(prefix, file, path);
  if (error == 0) error = RegisterTemporaryFile(path, slot);
  if (error != 0 && file.is_open()) {
    CloseFile(file);
    RemoveFile(path);
  }
  ::ReleaseSRWLockExclusive(&temporary_lock);
  return error;
}

int RemoveLeftTemporaryFile(const std::string& path) {
  // Opened for deletion with no sharing at all: that fails while any other
  // handle holds the file, as a writer does; the last handle's close deletes it.
  const HANDLE handle = ::CreateFileA(path.c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD code = ::GetLastError();
    return code == ERROR_SHARING_VIOLATION ? EBUSY : ErrorNumberOf(code);
  }
  return ::CloseHandle(handle) ? 0 : ErrorNumberOf(::GetLastError());
}

const char kBrowserOpener[] = "ShellExecute";

int OpenInBrowser(const std::string& path, int& exit_status) {
  exit_status = 0;
  // The shell may hand the page to a handler through COM.
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  const auto result =
      reinterpret_cast<INT_PTR>(::ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (SUCCEEDED(com)) ::CoUninitialize();
  // A value above 32 is success; below, it is an error code.
  if (result > 32) return 0;
  switch (result) {
    case 0:
    case SE_ERR_OOM:
      return ENOMEM;
    case SE_ERR_NOASSOC:  // no program is set to open such a file
    case SE_ERR_ASSOCINCOMPLETE:
      return ENOEXEC;
    default:
      return ErrorNumberOf(static_cast<DWORD>(result));
  }
}

unsigned ConsoleProcessCount() {
  DWORD processes[4];
  // The count of all of them, even when more than fit.
  return ::GetConsoleProcessList(processes, 4);
}

}  // namespace hkcsv
