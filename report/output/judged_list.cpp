// The list of judged captures: one section per format, one line per capture.
#include "report/output/judged_list.h"

#include <unordered_set>

#include "hkcsv_version.h"
#include "platform/files.h"
#include "text/number_format.h"

namespace hkcsv {

namespace {

// A section starts with its format's folder name in brackets: "[FM]".
std::string SectionLine(DownlinkFormat format) { return std::string("[") + ConstantsOf(format).folder + "]"; }

// The finisher of SplitMix64.
std::uint64_t Mix(std::uint64_t value) {
  value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9u;
  value = (value ^ (value >> 27)) * 0x94D049BB133111EBu;
  return value ^ (value >> 31);
}

// A name on a line of its own: bytes that would end or blur the line, and
// the escape itself, as %HH.
void AppendLineSafe(std::string& out, std::string_view name) {
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || byte == '%') {
      out += '%';
      out += kHexDigits[byte >> 4];
      out += kHexDigits[byte & 0xF];
    } else {
      out += c;
    }
  }
}

std::string_view NextLine(std::string_view& text) {
  const std::size_t end = text.find('\n');
  std::string_view line = text.substr(0, end);
  text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  if (line.ends_with('\r')) line.remove_suffix(1);
  return line;
}

}  // namespace

std::string JudgedKey(const PassRecord& pass) {
  const CaptureFile& file = pass.file;
  std::uint64_t digest = Mix(pass.frames_digest ^ Mix(file.counts.tokens + 1));
  digest = Mix(digest ^ Mix(static_cast<std::uint64_t>(file.header.cell_count) << 32 |
                            static_cast<std::uint32_t>(file.open_error != 0 || file.read_error != 0)));
  std::string key;
  for (int shift = 60; shift >= 0; shift -= 4) key += kHexDigits[digest >> shift & 0xF];
  key += ' ';
  AppendLineSafe(key, pass.name);
  return key;
}

std::string JudgedListMark(std::string_view overview_name) {
  std::string mark = std::string("hkreport ") + kVersion + " (judged captures of ";
  AppendLineSafe(mark, overview_name);
  return mark + ")";
}

bool ReadJudgedList(const std::string& path, std::string_view overview_name, JudgedList& list, std::string& refusal) {
  list = JudgedList{};
  PathInfo info;
  if (InspectPath(path, info) == 0 && info.kind == PathKind::kMissing && !info.link) return true;
  std::string bytes;
  if (info.link || info.kind != PathKind::kRegularFile) {
    refusal = info.link ? "it is a symbolic link" : "it is not a regular file";
    return false;
  }
  if (const int error = ReadWholeFile(path, bytes); error != 0) {
    refusal = "it cannot be read: " + ErrorText(error);
    return false;
  }
  if (bytes.empty()) return true;  // nothing to lose: written anew
  std::string_view text = bytes;
  // The mark of any version, for this overview.
  const std::string mark = JudgedListMark(overview_name);
  const std::string_view first = NextLine(text);
  const std::string after_version = mark.substr(mark.find(" ("));
  if (!first.starts_with("hkreport ") || !first.ends_with(after_version)) {
    refusal = "it is not a file of this report";
    return false;
  }
  std::vector<std::string>* section = nullptr;  // none before the first section line
  while (!text.empty()) {
    const std::string_view line = NextLine(text);
    bool starts_section = false;
    for (std::size_t i = 0; i < kDownlinkFormats.size(); ++i) {
      if (line != SectionLine(kDownlinkFormats[i])) continue;
      section = &list.formats[i].emplace();
      starts_section = true;
    }
    if (!starts_section && !line.empty() && section) section->emplace_back(line);
  }
  return true;
}

std::string RenderJudgedList(std::string_view overview_name, const JudgedList& list) {
  std::string text = JudgedListMark(overview_name) + "\n";
  for (std::size_t i = 0; i < kDownlinkFormats.size(); ++i) {
    if (!list.formats[i]) continue;
    text += SectionLine(kDownlinkFormats[i]) + "\n";
    for (const std::string& key : *list.formats[i]) text += key + "\n";
  }
  return text;
}

WeighedFormat Weigh(const FormatRecord& record, bool folder_missing,
                    const std::optional<std::vector<std::string>>& judged) {
  WeighedFormat weighed{record.format, folder_missing, judged.has_value(), {}};
  const std::unordered_set<std::string> before =
      judged ? std::unordered_set<std::string>(judged->begin(), judged->end()) : std::unordered_set<std::string>();
  for (const PassRecord& pass : record.passes) {
    weighed.passes.push_back({pass.name, OnTimeAxis(pass) ? pass.start : std::nullopt, pass.file.header.time_zone,
                              pass.why, before.contains(JudgedKey(pass))});
  }
  return weighed;
}

void TakeJudged(JudgedList& list, const FormatRecord& record) {
  std::vector<std::string>& keys = list.formats[static_cast<std::size_t>(record.format)].emplace();
  for (const PassRecord& pass : record.passes) keys.push_back(JudgedKey(pass));
}

}  // namespace hkcsv
