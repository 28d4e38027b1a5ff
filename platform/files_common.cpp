// The parts of the platform layer that both platforms share, built on the
// calls of files_posix.cpp or files_win32.cpp.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>

#include "platform/files.h"
#include "platform/interrupt_file.h"

namespace hkcsv {

std::string ErrorText(int error) { return std::strerror(error); }

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    CloseFile(*this);
    descriptor_ = other.descriptor_;
    other.descriptor_ = -1;
  }
  return *this;
}

// A close that fails here has no one to tell: whoever needs its error calls
// CloseFile first.
File::~File() { CloseFile(*this); }

int ReadFileHead(const std::string& path, std::size_t most, std::string& bytes) {
  constexpr std::size_t kBlock = 64 * 1024;
  bytes.clear();
  File file;
  if (const int error = OpenForReading(path, file)) return error;
  const std::unique_ptr<char[]> block = std::make_unique_for_overwrite<char[]>(kBlock);
  while (bytes.size() < most) {
    std::size_t got = 0;
    if (const int error = ReadSome(file.descriptor(), block.get(), std::min(kBlock, most - bytes.size()), got)) {
      return error;
    }
    if (got == 0) break;
    bytes.append(block.get(), got);
  }
  return 0;
}

int ReadWholeFile(const std::string& path, std::string& bytes) {
  return ReadFileHead(path, std::numeric_limits<std::size_t>::max(), bytes);
}

bool FileHolds(const std::string& path, std::string_view bytes) {
  constexpr std::size_t kBlock = 64 * 1024;
  File file;
  if (OpenForReading(path, file) != 0) return false;
  const std::unique_ptr<char[]> block = std::make_unique_for_overwrite<char[]>(kBlock);
  std::size_t at = 0;
  for (;;) {
    std::size_t got = 0;
    if (ReadSome(file.descriptor(), block.get(), kBlock, got) != 0) return false;
    if (got == 0) return at == bytes.size();
    if (got > bytes.size() - at || std::memcmp(block.get(), bytes.data() + at, got) != 0) return false;
    at += got;
  }
}

// A global: the interrupt's handler can reach nothing else.
std::array<InterruptFile, kInterruptFiles> interrupt_files{};

int RegisterTemporaryFile(const std::string& path, int& slot) {
  if (path.size() >= sizeof interrupt_files[0].path) return ENAMETOOLONG;
  for (std::size_t i = 0; i < interrupt_files.size(); ++i) {
    InterruptFile& file = interrupt_files[i];
    if (file.registered.load()) continue;
    std::memcpy(file.path, path.c_str(), path.size() + 1);
    file.registered.store(true);
    slot = static_cast<int>(i);
    return 0;
  }
  return EMFILE;
}

void UnregisterTemporaryFile(int slot) {
  if (slot >= 0 && static_cast<std::size_t>(slot) < interrupt_files.size())
    interrupt_files[slot].registered.store(false);
}

int CreateUniqueFile(const std::string& prefix, File& file, std::string& path, NewFile use) {
  constexpr std::string_view kCharacters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  constexpr int kRandomCharacters = 6;
  // 62^6 names: a hundred taken ones in a row means something else is wrong.
  constexpr int kAttempts = 100;
  // The names need not be secret, only rarely the same: the exclusive create
  // refuses a name that is taken, and the next one is tried. The clock and
  // where this call's frame stands seed them, mixed as SplitMix64 mixes.
  std::uint64_t state = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                        reinterpret_cast<std::uintptr_t>(&state);
  const auto next = [&state] {
    std::uint64_t value = state += 0x9E3779B97F4A7C15u;
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9u;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBu;
    return value ^ (value >> 31);
  };
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    std::string name = prefix;
    std::uint64_t bits = next();
    for (int i = 0; i < kRandomCharacters; ++i, bits /= kCharacters.size()) {
      name += kCharacters[bits % kCharacters.size()];
    }
    const int error = CreateNewFile(name, file, use);
    if (error == 0) path = std::move(name);
    if (error != EEXIST) return error;
  }
  return EEXIST;
}

}  // namespace hkcsv
