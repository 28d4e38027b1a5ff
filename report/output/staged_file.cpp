// Files written through a temporary file and renamed into place.
#include "report/output/staged_file.h"

#include "platform/files.h"

namespace hkcsv {

StagedFile::~StagedFile() { AbandonStagedFile(*this); }

Failure BeginStagedFile(const std::string& path, StagedFile& staged, AtLink at_link) {
  AbandonStagedFile(staged);
  staged.path = path;
  // Through a link the file it leads to is replaced, and the link stays. A
  // path that leads to nothing yet is created as it stands.
  if (at_link == AtLink::kReplace || ResolvePath(path, staged.target) != 0) staged.target = path;
  File file;
  std::string temporary;
  if (const int error = CreateTemporaryFile(staged.target + ".tmp.", file, temporary, staged.interrupt_slot)) {
    return {Attempt::kWrite, path, error};
  }
  staged.temporary = std::move(temporary);
  staged.out = OutputToFile(std::move(file), false);
  return {};
}

Failure CommitStagedFile(StagedFile& staged) {
  Failure failure;
  if (const int error = CloseOutput(staged.out)) {
    failure = {Attempt::kWrite, staged.temporary, error};
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
