// Files written through a temporary file and renamed into place.
#include "report/output/staged_file.h"

#include "platform/files.h"

namespace hkcsv {

namespace {

constexpr std::size_t kNameMax = 255;  // bytes of a file name, on every file system the station uses
constexpr std::string_view kTemporaryEnd = ".tmp.XXXXXX";

// The temporary file's prefix beside `target`: "TARGET.tmp.", or where that
// name would pass the longest file name, ".hkreport.tmp." in its folder.
std::string TemporaryPrefix(const std::string& target) {
  const std::size_t cut = target.find_last_of(kPathSeparators);
  const std::size_t name_start = cut == std::string::npos ? 0 : cut + 1;
  if (target.size() - name_start + kTemporaryEnd.size() <= kNameMax) return target + ".tmp.";
  return target.substr(0, name_start) + ".hkreport.tmp.";
}

}  // namespace

StagedFile::~StagedFile() { AbandonStagedFile(*this); }

Failure BeginStagedFile(const std::string& path, StagedFile& staged, AtLink at_link) {
  AbandonStagedFile(staged);
  staged.path = path;
  // Through a link the file it leads to is replaced, and the link stays. A
  // path that leads to nothing yet is created as it stands.
  if (at_link == AtLink::kReplace || ResolvePath(path, staged.target) != 0) staged.target = path;
  File file;
  std::string temporary;
  if (const int error = CreateTemporaryFile(TemporaryPrefix(staged.target), file, temporary, staged.interrupt_slot)) {
    return {Attempt::kWrite, path, error};
  }
  staged.temporary = std::move(temporary);
  staged.out = OutputToFile(std::move(file), false);
  return {};
}

Failure CommitStagedFile(StagedFile& staged) {
  Failure failure;
  if (const int error = CloseOutput(staged.out)) {
    failure = {Attempt::kWrite, staged.path, error};
  } else if (const int moved = MoveOverFile(staged.temporary, staged.target)) {
    failure = {Attempt::kWrite, staged.path, moved};
  } else {
    UnregisterTemporaryFile(staged.interrupt_slot);
    staged.temporary.clear();
    return failure;
  }
  AbandonStagedFile(staged);
  return failure;
}

void AbandonStagedFile(StagedFile& staged) {
  if (staged.temporary.empty()) return;
  CloseFile(staged.out.file);  // unflushed bytes are dropped with the file
  staged.out = OutputStream{};
  RemoveFile(staged.temporary);  // if it cannot go, nothing else can be done about it
  UnregisterTemporaryFile(staged.interrupt_slot);
  staged.temporary.clear();
}

Failure WriteStagedFile(const std::string& path, std::string_view bytes, AtLink at_link) {
  StagedFile staged;
  if (Failure failure = BeginStagedFile(path, staged, at_link); failure.error != 0) return failure;
  WriteBytes(staged.out, bytes);
  return CommitStagedFile(staged);
}

}  // namespace hkcsv
