// The temporary files that runs of this report leave behind when they end
// without their chance to remove them (a kill, a power cut), swept by a
// later run: only names of this report's temporary files, and only those
// that no running run holds.
#pragma once

#include <optional>
#include <string>

#include "report/output/pass_pages.h"

namespace hkcsv {

// Whether `name` is a temporary file of the file `base`: "BASE.tmp.XXXXXX",
// six letters and digits.
bool IsTemporaryOf(std::string_view name, std::string_view base);

// Removes the temporary files left beside the page and the export ("NAME.tmp.XXXXXX"
// of their names, ".hkreport.tmp.XXXXXX" and the scratch file's
// ".frames.tmp.XXXXXX"), and in the pages' folder and its format folders
// (those of its pages, "*.html.tmp.XXXXXX", and of its list of judged
// captures), that no run holds.
void RemoveLeftTemporaries(const PageLayout& place, const std::string& page,
                           const std::optional<std::string>& export_file);

}  // namespace hkcsv
