// The parts of the platform layer that both platforms share, built on the
// calls of files_posix.cpp or files_win32.cpp.
#include <cerrno>
#include <memory>
#include <random>

#include "platform/files.h"

namespace hkcsv {

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

int ReadWholeFile(const std::string& path, std::string& bytes) {
  constexpr std::size_t kBlock = 64 * 1024;
  bytes.clear();
  File file;
  if (const int error = OpenForReading(path, file)) return error;
  const std::unique_ptr<char[]> block = std::make_unique_for_overwrite<char[]>(kBlock);
  for (;;) {
    std::size_t got = 0;
    if (const int error = ReadSome(file.descriptor(), block.get(), kBlock, got)) return error;
    if (got == 0) return 0;
    bytes.append(block.get(), got);
  }
}

int CreateUniqueFile(const std::string& prefix, File& file, std::string& path) {
  constexpr std::string_view kCharacters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  constexpr int kRandomCharacters = 6;
  // 62^6 names: a hundred taken ones in a row means something else is wrong.
  constexpr int kAttempts = 100;
  std::random_device random;
  std::uniform_int_distribution<std::size_t> pick(0, kCharacters.size() - 1);
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    std::string name = prefix;
    for (int i = 0; i < kRandomCharacters; ++i) name += kCharacters[pick(random)];
    const int error = CreateNewFile(name, file);
    if (error == 0) path = std::move(name);
    if (error != EEXIST) return error;
  }
  return EEXIST;
}

}  // namespace hkcsv
