#include "report/page_file.h"

#include <cerrno>
#include <filesystem>

namespace hkcsv {

int WriteWholeFile(const std::string& path, std::string_view bytes, std::string& failed) {
  const std::string temporary = path + ".tmp";
  failed = temporary;
  File file;
  int error = CreateForWriting(temporary, file);
  if (error == 0) error = WriteAll(file.descriptor(), bytes.data(), bytes.size());
  if (error == 0) error = CloseFile(file);
  if (error == 0) {
    failed = path;
    error = MoveOverFile(temporary, path);
  }
  if (error != 0) RemoveFile(temporary);
  return error;
}

int MakeFolder(const std::string& path) {
  std::error_code error;
  std::filesystem::create_directory(path, error);
  return error.value();
}

int ListFolder(const std::string& folder, const char*, std::vector<FolderEntry>& entries) {
  return ListFolder(folder, entries);
}

}  // namespace hkcsv
