// The captures that unattended runs (--fail-on) have judged, kept in a small
// file of the report in its pages' folder, so that every capture that came
// since the last such run is judged, however many came, and none twice.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "capture/downlink_format.h"
#include "report/model/format_record.h"
#include "report/model/level.h"

namespace hkcsv {

// Per format, the keys of the captures judged, in listing order; none for a
// format that no run has judged yet (its first judges only its newest pass).
struct JudgedList {
  std::array<std::optional<std::vector<std::string>>, kDownlinkFormats.size()> formats;
};

// The key of a capture as judged: its name and a digest of what was read of
// it, so that a capture that changed since (one still being written when it
// was judged) is judged again.
std::string JudgedKey(const PassRecord& pass);

// The list's first line, which marks it as this overview's: "hkreport
// VERSION (judged captures of NAME)".
std::string JudgedListMark(std::string_view overview_name);

// Reads the list at `path`: true with `list` filled when it is this
// overview's list or there is none (or it is empty); false, with `refusal`
// saying why, when something else stands there.
bool ReadJudgedList(const std::string& path, std::string_view overview_name, JudgedList& list, std::string& refusal);

// The list's bytes.
std::string RenderJudgedList(std::string_view overview_name, const JudgedList& list);

// A pass as a run that nobody watches weighs it.
struct WeighedPass {
  std::string name;
  std::optional<double> start;  // its ground time, when it stands on the time axis
  std::string zone;             // its header's zone token
  std::vector<Reason> why;
  bool judged = false;  // an earlier run with the list of judged captures judged it as it is
};

// A reported format whose folder stands, or whose folder went missing while
// its pages stand: what a run that nobody watches checks.
struct WeighedFormat {
  DownlinkFormat format = DownlinkFormat::kFM;
  bool folder_missing = false;      // its pages are kept, nothing of it read
  bool judged_before = false;       // the list of judged captures has its section
  std::vector<WeighedPass> passes;  // in listing order
};

// A format as a run that nobody watches weighs it, its passes marked by its
// section of the list of those judged before (none: no run judged it yet).
WeighedFormat Weigh(const FormatRecord& record, bool folder_missing,
                    const std::optional<std::vector<std::string>>& judged);

// Takes every capture of `record` into the list as judged: the format's
// section becomes its captures, in listing order.
void TakeJudged(JudgedList& list, const FormatRecord& record);

}  // namespace hkcsv
