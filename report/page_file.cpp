#include "report/page_file.h"

#include <cstring>

#include "platform/files.h"

namespace hkcsv {

PageFile::~PageFile() { AbandonPageFile(*this); }

FileFailure BeginPageFile(const std::string& path, PageFile& page, AtLink at_link) {
  AbandonPageFile(page);
  page.path = path;
  // Through a link the file it leads to is replaced, and the link stays. A
  // path that leads to nothing yet is created as it stands.
  if (at_link == AtLink::kReplace || ResolvePath(path, page.target) != 0) page.target = path;
  File file;
  std::string temporary;
  if (const int error = CreateTemporaryFile(page.target + ".tmp.", file, temporary, page.interrupt_slot)) {
    return {path, error};
  }
  page.temporary = std::move(temporary);
  page.out = OutputToFile(std::move(file), false);
  return {};
}

FileFailure CommitPageFile(PageFile& page) {
  FileFailure failure;
  if (const int error = CloseOutput(page.out)) {
    failure = {page.temporary, error};
  } else if (const int moved = MoveOverFile(page.temporary, page.target)) {
    failure = {page.path, moved};
  } else {
    UnregisterTemporaryFile(page.interrupt_slot);
    page.temporary.clear();
    return failure;
  }
  AbandonPageFile(page);
  return failure;
}

void AbandonPageFile(PageFile& page) {
  if (page.temporary.empty()) return;
  CloseFile(page.out.file);  // unflushed bytes are dropped with the file
  page.out = OutputStream{};
  RemoveFile(page.temporary);  // if it cannot go, nothing else can be done about it
  UnregisterTemporaryFile(page.interrupt_slot);
  page.temporary.clear();
}

FileFailure WritePageFile(const std::string& path, std::string_view bytes, AtLink at_link) {
  PageFile page;
  if (FileFailure failure = BeginPageFile(path, page, at_link); failure.error != 0) return failure;
  WriteBytes(page.out, bytes);
  return CommitPageFile(page);
}

std::string CannotWriteLine(const FileFailure& failure) {
  return "hkreport: cannot write " + failure.file + ": " + std::strerror(failure.error);
}

}  // namespace hkcsv
