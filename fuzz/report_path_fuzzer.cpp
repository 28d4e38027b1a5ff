// The report's whole path on arbitrary captures held in memory, as hkreport
// runs it on files: collection, pass pages, trend series with the export's
// rows, the format's section and the overview. Checks the frame account
// against the capture's own tokens and frames, every page's markup and links,
// and every export row.
//
// The input: its first byte picks the format (bit 0: FSK, else FM) and the
// limits (bit 1); the rest is one or more captures separated by the byte
// 0x1E, at most kMostCaptures of them (later separators stay in the last).
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "capture/capture_listing.h"
#include "platform/files.h"
#include "report/model/collect.h"
#include "report/model/pass_flags.h"
#include "report/model/replay.h"
#include "report/output/export_csv.h"
#include "report/output/render.h"
#include "report/pages/overview.h"
#include "report/pages/page_layout.h"
#include "report/pages/page_names.h"
#include "report/pages/station_page.h"
#include "text/calendar.h"
#include "text/html_text.h"
#include "text/text_input.h"

using namespace hkcsv;

namespace {

constexpr char kSeparator = '\x1E';
// Enough passes for the facts between them; few enough that an input of a
// megabyte of small captures stays fast.
constexpr std::size_t kMostCaptures = 16;

constexpr std::string_view kSampleRoot = "/data/passes";
constexpr std::string_view kOverviewName = "HK_Report.html";

// A few channels on each side of their limits.
constexpr std::string_view kLimitsText =
    "Buss Voltage, 3.60, 3.76, 4.20, 4.30\n"
    "Battery Temp1, -10, 0, 35, 45\n"
    "Gyro_x Rate, -5, -1, 1, 5\n"
    "Mag_x, , , 200,\n";

// A break of what the report promises: the fuzzer stops here.
[[noreturn]] void Break(const char* what) {
  std::fprintf(stderr, "report_path_fuzzer: %s\n", what);
  __builtin_trap();
}

void Require(bool holds, const char* what) {
  if (!holds) Break(what);
}

// Capture names in byte order, as a listing gives them: two that share a
// page name letter case aside, a line break, a quote and a comma, characters
// that links percent-encode, Japanese, a byte that is no UTF-8; then plain
// ones.
std::string CaptureName(std::size_t index) {
  static const std::array<std::string, 7> kNames{
      "A.TXT",    "a.txt", "p\n\"q,r\".txt", "p 1 #%&.txt", "pass_20190110_0915.txt", "p\xE3\x83\x91\xE3\x82\xB9.txt",
      "p\xFF.txt"};
  if (index < kNames.size()) return kNames[index];
  char name[32];
  std::snprintf(name, sizeof name, "zz%06zu.txt", index);
  return name;
}

const LimitTable& FixedLimits() {
  static const LimitTable limits = [] {
    LimitTable table{};
    std::vector<std::string> errors;
    Require(ParseLimits(kLimitsText, "limits.txt", table, errors), "the fixed limits do not parse");
    return table;
  }();
  return limits;
}

// ---- The tokens of a capture, counted apart from the pipeline ----

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

struct Tokens {
  std::uint64_t values = 0;   // hex numbers
  std::uint64_t skipped = 0;  // tokens that are none
};

// Tokens after the pass header, read as "%X" reads them: an optional sign,
// an optional 0x, hex digits ("12zz" is the value 12 and then the token
// "zz"); anything else is a token up to the next white space. The header is
// walked as its reader walks it: name tokens up to one starting with ':',
// then the field's values; the last field's value is a decimal number.
Tokens CountDumpTokens(std::string_view text) {
  text = text.substr(0, text.find('\x1A'));  // Ctrl-Z ends a capture file
  std::size_t at = 0;
  const auto skip_space = [&] {
    while (at < text.size() && IsSpace(text[at])) ++at;
    return at < text.size();
  };
  const auto skip_word = [&] {
    while (at < text.size() && !IsSpace(text[at])) ++at;
  };
  static constexpr std::array<int, 16> kValuesOfField{3, 1, 1, 2, 2, 2, 2, 2, 1, 1, 1, 2, 1, 1, 1, 2};
  std::size_t field = 0;
  for (;;) {
    if (!skip_space()) return {};  // the file ends inside the header
    const char first = text[at];
    skip_word();
    if (first != ':') continue;
    if (field == kValuesOfField.size()) break;
    for (int i = 0; i < kValuesOfField[field]; ++i) {
      if (!skip_space()) return {};
      skip_word();
    }
    ++field;
  }
  if (!skip_space()) return {};
  if (text[at] == '+' || text[at] == '-') ++at;
  while (at < text.size() && IsDigit(text[at])) ++at;

  Tokens tokens;
  while (skip_space()) {
    const std::size_t sign = text[at] == '+' || text[at] == '-' ? 1 : 0;
    if (at + sign < text.size() && IsHex(text[at + sign])) {
      at += sign;
      if (text[at] == '0' && at + 1 < text.size() && (text[at + 1] == 'x' || text[at + 1] == 'X')) at += 2;
      while (at < text.size() && IsHex(text[at])) ++at;
      ++tokens.values;
    } else {
      skip_word();
      ++tokens.skipped;
    }
  }
  return tokens;
}

// ---- The frame account ----

// What the stored frames of a pass show, as they are read back.
struct ReadBack {
  std::uint64_t frames = 0;
  std::uint64_t rises = 0;
  std::uint64_t falls = 0;
  std::uint64_t unchanged = 0;
  std::int64_t least_rise = 0;  // counter steps
  std::int64_t most_rise = 0;
  std::vector<std::int64_t> rise_list;  // to count the gaps once the usual step is known
  HkCounters first{};
  HkCounters last{};
  std::optional<double> ground_time;  // of the last frame
};

void TakeStep(ReadBack& back, const ReplayedFrame& frame) {
  const HkCounters& counters = frame.frame.counters;
  if (back.frames == 0) {
    back.first = counters;
  } else {
    const std::int64_t step = static_cast<std::int64_t>(counters.sat_time) - back.last.sat_time;
    if (step > 0) {
      back.least_rise = back.rises == 0 ? step : std::min(back.least_rise, step);
      back.most_rise = std::max(back.most_rise, step);
      back.rise_list.push_back(step);
      ++back.rises;
    }
    if (step < 0) ++back.falls;
    if (step == 0) ++back.unchanged;
  }
  back.last = counters;
  ++back.frames;
}

void CheckAccount(const PassRecord& pass, std::string_view text, const ReadBack& back) {
  const CaptureCounts& counts = pass.file.counts;
  const std::uint64_t frames = counts.frames;
  const TimeSteps& steps = pass.account.steps;
  const FrameRepeats& repeats = pass.account.repeats;

  const Tokens tokens = CountDumpTokens(text);
  Require(counts.tokens == tokens.values + tokens.skipped, "tokens after the header != values read + skipped");
  Require(counts.skipped_tokens == tokens.skipped, "tokens skipped differ from a count of the capture");

  // Whole packets hold every frame per packet; a packet cut short, some.
  Require(counts.cut_short <= 1 && counts.cut_short <= counts.packets, "more packets cut short than can be");
  const std::int32_t per_packet = pass.file.frames_per_packet;
  if (per_packet <= 0) {
    Require(frames == 0, "frames decoded without frames per packet");
  } else {
    const auto whole = static_cast<unsigned __int128>(counts.packets - counts.cut_short) * per_packet;
    const auto all = static_cast<unsigned __int128>(counts.packets) * per_packet;
    Require(whole <= frames && frames <= all, "frames decoded do not fit the packets");
    Require(counts.cut_short == 1 || frames == all, "complete packets but not all their frames");
  }

  Require(back.frames == frames, "frames read back != frames decoded");
  if (frames == 0) {
    Require(steps.rises == 0 && steps.falls == 0 && steps.unchanged == 0, "steps without frames");
  } else {
    Require(steps.rises + steps.falls + steps.unchanged == frames - 1, "rises + falls + same != frames - 1");
    Require(pass.first == back.first && pass.last == back.last, "first or last frame differs from the store's");
  }
  Require(steps.rises == back.rises && steps.falls == back.falls && steps.unchanged == back.unchanged,
          "steps differ from those of the frames read back");

  // The usual step, the gaps and the frames missing: none without two rises.
  const bool usual = steps.rises >= 2;
  Require(
      steps.usual_step.has_value() == usual && steps.gaps.has_value() == usual && steps.missing.has_value() == usual,
      "usual step, gaps and missing must be known together, with two rises");
  if (usual) {
    const double counter_steps = *steps.usual_step * 2;
    Require(
        counter_steps >= static_cast<double>(back.least_rise) && counter_steps <= static_cast<double>(back.most_rise),
        "the usual step lies outside the rises");
    std::uint64_t gaps = 0;
    for (const std::int64_t rise : back.rise_list) gaps += static_cast<double>(rise) > 1.5 * counter_steps ? 1 : 0;
    Require(*steps.gaps == gaps, "gaps differ from the rises over 1.5 usual steps");
    // At least one frame missing in each gap, at most a rise's counter steps.
    Require(*steps.missing >= gaps && *steps.missing <= gaps * (std::uint64_t{1} << 32),
            "frames missing out of range (below 0?)");
  }

  const std::uint64_t at_most = frames == 0 ? 0 : frames - 1;
  Require(repeats.repeated <= at_most, "repeated > frames - 1");
  Require(repeats.repeated + repeats.same_time_other_bytes <= at_most,
          "repeated + same time with other bytes > frames - 1");
  Require(pass.repeated.size() == std::min<std::uint64_t>(frames, kFrameTableRows), "repeat marks of the wrong size");

  // Frames expected: announced x per packet where both are positive; the
  // frames found at most those, each heard once.
  const Announced& announced = pass.announced;
  Require(announced.kind == ReadAnnounced(pass.file.header).kind, "the announced count is not the header's");
  const std::optional<std::int64_t>& expected = pass.frames_expected;
  if (announced.kind == Announced::kCount && announced.count > 0 && per_packet > 0) {
    std::int64_t product = 0;
    Require(!__builtin_mul_overflow(announced.count, static_cast<std::int64_t>(per_packet), &product),
            "frames expected overflow");
    Require(expected == product, "frames expected != announced x per packet");
    Require(pass.frames_found <= static_cast<std::uint64_t>(product) &&
                pass.frames_found <= frames - repeats.repeated && pass.reception && *pass.reception >= 0 &&
                *pass.reception <= 1,
            "frames found past the frames expected or heard");
  } else {
    Require(!expected && !pass.reception, "frames expected without a positive count and frames per packet");
  }
  Require(pass.worst == WorstLevel(pass.why), "the worst level is not its reasons'");
}

// The newest of the passes that `chosen` takes, by the rule the latest-pass
// card follows: the latest on the time axis (in UTC where its zone is known;
// the later listed on a tie), unless chosen passes off the time axis are
// listed after it: then the last of those; with none on the axis, the last
// chosen.
std::optional<std::size_t> NewestOf(const FormatRecord& record, const std::function<bool(const PassRecord&)>& chosen) {
  std::optional<std::size_t> latest, last;
  for (std::size_t i = 0; i < record.passes.size(); ++i) {
    const PassRecord& pass = record.passes[i];
    if (!chosen(pass)) continue;
    last = i;
    if (!OnTimeAxis(pass)) continue;
    const double utc = *pass.start - static_cast<double>(ZoneOffset(pass.file.header.time_zone).value_or(0));
    const PassRecord* best = latest ? &record.passes[*latest] : nullptr;
    if (!best || utc >= *best->start - static_cast<double>(ZoneOffset(best->file.header.time_zone).value_or(0))) {
      latest = i;
    }
  }
  if (latest && last && *last > *latest) {
    for (std::size_t i = *last + 1; i-- > *latest + 1;) {
      if (chosen(record.passes[i]) && !OnTimeAxis(record.passes[i])) return i;
    }
  }
  return latest ? latest : last;
}

// The facts between passes: a restart since the pass before and a far date
// only where they can be, frames per packet carried over from the capture
// that last gave them, copies told both ways, and the newest pass and the
// latest known state as NewestOf has them.
void CheckBetweenPasses(const FormatRecord& record) {
  for (std::size_t i = 0; i < record.passes.size(); ++i) {
    const PassRecord& pass = record.passes[i];
    Require(!pass.restart_before || (Charted(pass) && !pass.copy_of_earlier),
            "a restart since the pass before of a pass off the charts or of a copy");
    Require(!pass.far_date || pass.start, "a far date of an undated pass");
    Require(!pass.copy_of_earlier || !pass.same_frames_as.empty(), "a copy that names no capture");
    Require(pass.same_frames_as.empty() || pass.file.counts.frames > 0, "a copy without frames");
    const PassHeader& header = pass.file.header;
    if (const std::optional<std::size_t> from = pass.frames_per_packet_from) {
      const CaptureFile& giver = record.passes[*from].file;
      Require(*from < i && !header.gives_frames_per_packet && giver.header.gives_frames_per_packet &&
                  giver.frames_per_packet == pass.file.frames_per_packet,
              "frames per packet carried over from a capture that did not give them");
    } else {
      Require(header.gives_frames_per_packet || pass.file.frames_per_packet == 0,
              "frames per packet that no header gave");
    }
  }
  Require(record.newest == NewestOf(record, [](const PassRecord&) { return true; }),
          "the latest pass is not the newest");
  Require(record.latest_state == NewestOf(record, [](const PassRecord& pass) { return pass.file.counts.frames > 0; }),
          "the latest state is not the newest pass with frames");
}

// ---- Pages ----

// Where `text` stops being valid UTF-8 without what XML forbids or the
// pages escape (surrogates, U+FFFE and U+FFFF, C1 controls and, unless
// `ascii_controls`, the control bytes but line ends); npos where it does not.
std::size_t FirstBadByte(std::string_view text, bool ascii_controls) {
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) {
      if (!ascii_controls && ((byte < 0x20 && byte != '\n') || byte == 0x7F)) return i;
      ++i;
      continue;
    }
    const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC2 ? 2 : 0;
    if (length == 0 || byte > 0xF4 || i + length > text.size()) return i;
    std::uint32_t point = byte & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return i;
      point = point << 6 | (next & 0x3F);
    }
    static constexpr std::uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (point < kLeast[length] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF) || point == 0xFFFE ||
        point == 0xFFFF || (point >= 0x80 && point <= 0x9F)) {
      return i;
    }
    i += length;
  }
  return std::string_view::npos;
}

// Breaks on text that FirstBadByte does not take, showing where.
void RequireValidText(std::string_view text, bool ascii_controls, const char* what) {
  const std::size_t bad = FirstBadByte(text, ascii_controls);
  if (bad == std::string_view::npos) return;
  std::string around;
  AppendControlsEscaped(around, text.substr(bad - std::min<std::size_t>(bad, 60), 80));
  std::fprintf(stderr, "report_path_fuzzer: byte %zu of %zu, around: %s\n", bad, text.size(), around.c_str());
  Break(what);
}

// An entity reference as the pages write them, at `text`'s start; its length.
std::size_t EntityLength(std::string_view text) {
  for (const std::string_view entity : {"&amp;", "&lt;", "&gt;", "&quot;", "&#39;"}) {
    if (text.starts_with(entity)) return entity.size();
  }
  return 0;
}

// A link of a page: the page it names (its path from the overview's folder)
// and the id it names there, if any.
struct Link {
  std::string page;
  std::string id;
};

struct Page {
  std::string path;  // "HK_Report_files/FM/a.html"
  std::set<std::string> ids;
  std::vector<Link> links;
};

std::string Unescape(std::string_view value) {
  std::string text;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '&') {
      text += value[i];
      continue;
    }
    static constexpr std::array<std::pair<std::string_view, char>, 5> kEntities{
        {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#39;", '\''}}};
    for (const auto& [entity, c] : kEntities) {
      if (value.substr(i).starts_with(entity)) {
        text += c;
        i += entity.size() - 1;
        break;
      }
    }
  }
  return text;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// A relative link of the page at `from`, resolved: the page it names from
// the overview's folder. Breaks on an absolute link, a scheme, a bad
// percent escape or a path that leaves the overview's folder.
Link ResolveLink(const std::string& from, std::string_view href) {
  Link link;
  const std::size_t hash = href.find('#');
  if (hash != std::string_view::npos) link.id = std::string(href.substr(hash + 1));
  const std::string_view path = href.substr(0, hash);
  if (path.empty()) {
    link.page = from;
    return link;
  }
  // Percent-encoded: nothing but unreserved characters, '/' and escapes; no
  // scheme, no root.
  for (const char c : path) {
    Require((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || IsDigit(c) || c == '-' || c == '.' || c == '_' ||
                c == '~' || c == '/' || c == '%',
            "a link with a character that is not percent-encoded");
  }
  Require(!path.starts_with('/'), "a link that is not relative");
  std::vector<std::string> parts;  // the folders of the page the link is on
  for (std::size_t start = 0, slash; (slash = from.find('/', start)) != std::string::npos; start = slash + 1) {
    parts.push_back(from.substr(start, slash - start));
  }
  for (std::size_t start = 0;;) {
    const std::size_t slash = path.find('/', start);
    const std::string_view raw = path.substr(start, slash - start);
    std::string part;
    for (std::size_t i = 0; i < raw.size(); ++i) {
      if (raw[i] != '%') {
        part += raw[i];
        continue;
      }
      const int high = i + 1 < raw.size() ? HexValue(raw[i + 1]) : -1;
      const int low = i + 2 < raw.size() ? HexValue(raw[i + 2]) : -1;
      Require(high >= 0 && low >= 0, "a bad percent escape");
      part += static_cast<char>(high << 4 | low);
      i += 2;
    }
    Require(!part.empty(), "an empty step in a link");
    if (part == "..") {
      Require(!parts.empty(), "a link out of the overview's folder");
      parts.pop_back();
    } else if (part != ".") {
      parts.push_back(part);
    }
    if (slash == std::string_view::npos) break;
    start = slash + 1;
  }
  for (const std::string& part : parts) link.page += (link.page.empty() ? "" : "/") + part;
  return link;
}

// Checks that `html` is well formed: a doctype, then one element holding
// every other, each closed in order or empty ("<br/>"), attributes quoted
// and unique, text and attribute values of valid UTF-8 without raw control
// bytes, '<' or a bare '&'. Keeps its ids and links for the check of the
// links once every page is rendered.
Page CheckPage(std::string path, std::string_view html) {
  Page page{std::move(path), {}, {}};
  RequireValidText(html, false, "a page holds a control byte or text that is no valid UTF-8");
  constexpr std::string_view kDoctype = "<!DOCTYPE html>\n";
  Require(html.starts_with(kDoctype), "a page without its doctype");
  const auto check_entities = [](std::string_view text) {
    for (std::size_t k = text.find('&'); k != std::string_view::npos; k = text.find('&', k + 1)) {
      Require(EntityLength(text.substr(k)) > 0, "a bare '&' in a page");
    }
  };
  std::vector<std::string_view> open;
  std::vector<std::string_view> attributes;  // of the tag at hand
  bool root_closed = false;
  for (std::size_t at = kDoctype.size(); at < html.size();) {
    const std::size_t tag_start = std::min(html.find('<', at), html.size());
    const std::string_view text = html.substr(at, tag_start - at);
    check_entities(text);
    if (open.empty()) {
      for (const char c : text) Require(IsSpace(c), "text outside the root element");
    }
    if (tag_start == html.size()) break;
    const std::size_t end = html.find('>', tag_start);
    Require(end != std::string_view::npos, "a tag that never ends");
    const std::string_view tag = html.substr(tag_start + 1, end - tag_start - 1);
    at = end + 1;
    const bool closing = tag.starts_with('/');
    const bool empty = tag.ends_with('/');
    const std::string_view inner = tag.substr(closing ? 1 : 0, tag.size() - (closing ? 1 : 0) - (empty ? 1 : 0));
    std::size_t name_end = 0;
    while (name_end < inner.size() && !IsSpace(inner[name_end])) ++name_end;
    const std::string_view name = inner.substr(0, name_end);
    Require(!name.empty() && !(closing && empty), "a malformed tag");
    for (const char c : name) {
      Require((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ':' || c == '-',
              "a malformed element name");
    }
    if (closing) {
      Require(name_end == inner.size(), "an end tag with attributes");
      Require(!open.empty() && open.back() == name, "an end tag that closes another element");
      open.pop_back();
      root_closed = open.empty();
      continue;
    }
    Require(!root_closed && (!open.empty() || name == "html"), "a second root element, or one that is not html");
    // Attributes: name="value", each once; ids, links, and markers drawn
    // on the charts, url(#ID) of the same page.
    attributes.clear();
    for (std::size_t i = name_end; i < inner.size();) {
      if (IsSpace(inner[i])) {
        ++i;
        continue;
      }
      const std::size_t equals = inner.find("=\"", i);
      Require(equals != std::string_view::npos, "an attribute without a quoted value");
      const std::string_view attribute = inner.substr(i, equals - i);
      Require(!attribute.empty() && attribute.find_first_of(" \t\n\"'<>=&") == std::string_view::npos,
              "a malformed attribute name");
      Require(std::find(attributes.begin(), attributes.end(), attribute) == attributes.end(),
              "an attribute given twice");
      attributes.push_back(attribute);
      const std::size_t close = inner.find('"', equals + 2);
      Require(close != std::string_view::npos, "an attribute value that never ends");
      const std::string_view value = inner.substr(equals + 2, close - equals - 2);
      Require(value.find('<') == std::string_view::npos, "a '<' in an attribute value");
      check_entities(value);
      if (attribute == "id") Require(page.ids.insert(Unescape(value)).second, "an id given twice in a page");
      if (attribute == "href") page.links.push_back(ResolveLink(page.path, Unescape(value)));
      for (std::size_t k = 0; (k = value.find("url(#", k)) != std::string_view::npos;) {
        const std::size_t id = k + 5;
        k = value.find(')', id);
        Require(k != std::string_view::npos, "a url( without its end");
        page.links.push_back({page.path, Unescape(value.substr(id, k - id))});
      }
      i = close + 1;
      Require(i == inner.size() || IsSpace(inner[i]), "attributes run together");
    }
    if (!empty) open.push_back(name);
    root_closed = root_closed || (empty && open.empty());
  }
  Require(open.empty() && root_closed, "a page whose elements are not all closed");
  return page;
}

// Every link names a page of the run, and an id of it where it names one.
void CheckLinks(const std::vector<Page>& pages) {
  std::map<std::string_view, const Page*> by_path;
  for (const Page& page : pages) by_path[page.path] = &page;
  for (const Page& page : pages) {
    for (const Link& link : page.links) {
      const auto target = by_path.find(link.page);
      Require(target != by_path.end(), "a link to a page that is not in the run");
      Require(link.id.empty() || target->second->ids.contains(link.id), "a link to an id that is not there");
    }
  }
}

// ---- The export ----

bool Digits(std::string_view text, std::size_t from, std::size_t count) {
  for (std::size_t i = from; i < from + count; ++i) {
    if (!IsDigit(text[i])) return false;
  }
  return true;
}

// "YYYY-MM-DD HH:MM:SS" of a real date and time.
bool GroundTimeText(std::string_view text) {
  if (text.size() != 19 || !Digits(text, 0, 4) || text[4] != '-' || !Digits(text, 5, 2) || text[7] != '-' ||
      !Digits(text, 8, 2) || text[10] != ' ' || !Digits(text, 11, 2) || text[13] != ':' || !Digits(text, 14, 2) ||
      text[16] != ':' || !Digits(text, 17, 2)) {
    return false;
  }
  const auto number = [&](std::size_t from) { return (text[from] - '0') * 10 + (text[from + 1] - '0'); };
  return text.substr(0, 4) != "0000" && number(5) >= 1 && number(5) <= 12 && number(8) >= 1 && number(8) <= 31 &&
         number(11) <= 23 && number(14) <= 59 && number(17) <= 59;
}

// Reads the RFC 4180 record at `at` into `fields` and moves `at` past the
// record's CR LF. Breaks on a record that is not one.
void CsvRecord(std::string_view csv, std::size_t& at, std::vector<std::string>& fields) {
  std::size_t count = 0;
  for (;;) {
    if (count == fields.size()) fields.emplace_back();
    std::string& field = fields[count++];
    field.clear();
    if (at < csv.size() && csv[at] == '"') {
      // Up to a quote that is not doubled.
      for (++at;;) {
        const std::size_t quote = csv.find('"', at);
        Require(quote != std::string_view::npos, "a quoted export field that never ends");
        field.append(csv.substr(at, quote - at));
        at = quote + 1;
        if (at >= csv.size() || csv[at] != '"') break;
        field += '"';
        ++at;
      }
    } else {
      const std::size_t start = at;
      while (at < csv.size() && csv[at] != ',' && csv[at] != '\r' && csv[at] != '\n' && csv[at] != '"') ++at;
      field.append(csv.substr(start, at - start));
      Require(at == csv.size() || csv[at] != '"', "a quote in an unquoted export field");
    }
    Require(at < csv.size(), "an export row without its line end");
    if (csv[at] == ',') {
      ++at;
      continue;
    }
    Require(csv.substr(at).starts_with("\r\n"), "an export row that does not end with CR LF");
    at += 2;
    fields.resize(count);
    return;
  }
}

enum ExportColumn { kFormatColumn, kFileColumn, kPassTimeColumn, kZoneColumn, kGroundTimeColumn };

void CheckExport(std::string_view csv, const FormatRecord& record) {
  Require(csv.starts_with("\xEF\xBB\xBF"), "the export without its byte-order mark");
  RequireValidText(csv.substr(3), true, "the export holds text that is no valid UTF-8");
  std::size_t at = 3;
  std::vector<std::string> row;
  CsvRecord(csv, at, row);
  const std::size_t columns = row.size();
  Require(columns == 10 + kEngineeringChannels + 1, "export columns");
  std::string escaped;
  const auto as_written = [&escaped](std::string_view text) -> const std::string& {
    escaped.clear();
    AppendUtf8OrEscapes(escaped, NarrowToUtf8(text));
    return escaped;
  };
  const std::string format = ConstantsOf(record.format).folder;
  for (const PassRecord& pass : record.passes) {
    for (std::uint64_t i = 0; i < pass.file.counts.frames; ++i) {
      CsvRecord(csv, at, row);
      Require(row.size() == columns, "an export row with other fields than its header");
      Require(row[kFormatColumn] == format && row[kFileColumn] == as_written(pass.name) &&
                  row[kZoneColumn] == as_written(pass.file.header.time_zone),
              "an export row's format, file or zone");
      const std::string& pass_time = row[kPassTimeColumn];
      const std::string& ground_time = row[kGroundTimeColumn];
      Require(pass_time.empty() == ground_time.empty() && pass_time.empty() == !pass.start,
              "an export row's times, given for an undated pass or missing for a dated one");
      Require(pass_time.empty() || GroundTimeText(pass_time), "an export row's pass time");
      Require(ground_time.empty() || (ground_time.size() == 21 && GroundTimeText(ground_time.substr(0, 19)) &&
                                      ground_time[19] == '.' && (ground_time[20] == '0' || ground_time[20] == '5')),
              "an export row's ground time is not YYYY-MM-DD HH:MM:SS.s");
      const std::string& state = row.back();
      Require(record.limits ? state == "red" || state == "yellow" || state == "ok" : state.empty(),
              "an export row's state");
    }
  }
  Require(at == csv.size(), "export rows beyond the frames");
}

// ---- The run ----

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const DownlinkFormat format = data[0] & 1 ? DownlinkFormat::kFSK : DownlinkFormat::kFM;
  const LimitTable* limits = data[0] & 2 ? &FixedLimits() : nullptr;
  const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);

  // The captures, listed as hkreport lists a format folder.
  const FormatConstants& constants = ConstantsOf(format);
  CaptureListing listing{std::string(kSampleRoot) + kPathSeparator + constants.folder, {}, false, 0};
  std::vector<std::string_view> texts;
  for (std::size_t at = 0;;) {
    const std::size_t end = texts.size() + 1 < kMostCaptures ? input.find(kSeparator, at) : std::string_view::npos;
    texts.push_back(input.substr(at, end - at));
    if (end == std::string_view::npos) break;
    at = end + 1;
  }
  std::vector<CaptureSource> sources;
  std::vector<std::string> names;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    names.push_back(CaptureName(i));
    listing.entries.push_back({names.back(), false});
    sources.push_back({listing.folder + kPathSeparator + names.back(), texts[i]});
  }

  // Collection, the frames kept aside in memory. The frames, pages and
  // export of a run can be large: their memory is kept from one run to the
  // next.
  static std::string stored;
  static std::string export_text;
  stored.clear();
  export_text.clear();
  OutputStream store = OutputToMemory(&stored, false);
  FormatRecord record = CollectFormat(format, listing, sources, limits, store, nullptr);
  Flush(store);
  Require(record.passes.size() == texts.size(), "a pass record per capture");
  Require(record.lists.recent.size() == record.passes.size() && record.lists.years.empty(),
          "a format of few passes that lists some on a year page");
  // As a format with more passes than the overview lists gets: a year page,
  // here of every pass as one year's, its markup and links checked with the
  // rest.
  YearPasses every;
  for (std::size_t pass = 0; pass < record.passes.size(); ++pass) {
    every.passes.push_back(pass);
    every.alarms += record.passes[pass].worst == Level::kAlarm ? 1 : 0;
    every.notices += record.passes[pass].worst == Level::kNotice ? 1 : 0;
  }
  record.lists.years = {every};

  // Rendered as hkreport renders, into memory: the pass pages from the
  // stored frames, the trend series and the export's rows from them again,
  // checked frame by frame, the year page and the overview.
  const PageLayout layout = LayOutPages(std::string(kOverviewName));
  PassPageLinks links;
  links.folder = layout.folder_name;
  links.names = PassPageNames(names);
  const std::string pages_folder = links.folder + "/" + constants.folder + "/";
  std::vector<Page> pages;
  std::vector<ReadBack> backs(record.passes.size());
  OutputStream export_csv = OutputToMemory(&export_text, false);
  WriteExportColumns(export_csv);
  RenderSink sink;
  sink.pass_page = [&](std::size_t pass, std::string_view html) {
    pages.push_back(CheckPage(pages_folder + NarrowToUtf8(links.names[pass]), std::string(html)));
    return true;
  };
  sink.year_page = [&](std::size_t year, std::string_view html) {
    pages.push_back(
        CheckPage(links.folder + "/" + YearPageName(format, record.lists.years[year].year), std::string(html)));
    return true;
  };
  sink.export_rows = &export_csv;
  sink.frame = [&](const PassRecord& pass, const ReplayedFrame& frame) {
    ReadBack& back = backs[static_cast<std::size_t>(&pass - record.passes.data())];
    // Ground time: the pass's own at its first frame, never back, within
    // the calendar; none for an undated pass.
    Require(frame.ground_time.has_value() == pass.start.has_value(), "ground time of an undated pass, or none");
    if (frame.ground_time) {
      Require(*frame.ground_time >= (back.frames == 0 ? *pass.start : *back.ground_time) &&
                  (back.frames > 0 || *frame.ground_time == *pass.start) && *frame.ground_time < kEndOfCalendar,
              "a frame's ground time goes back, or past the calendar");
    }
    back.ground_time = frame.ground_time;
    TakeStep(back, frame);
  };
  const FrameReader frames = [](const std::function<bool(InputStream&)>& read) {
    InputStream in = InputFromText(stored, false);
    const bool whole = read(in);
    Require(!whole || in.next == in.end, "frames stored beyond the passes' frames");
    return whole;
  };
  std::string section;
  Require(RenderFormat(layout, record, links, frames, sink, section), "the store ends before the passes' frames");
  Flush(export_csv);
  Require(pages.size() == record.passes.size() + 1, "a page per pass and the year page");
  std::uint64_t frame_count = 0;
  for (std::size_t pass = 0; pass < record.passes.size(); ++pass) {
    CheckAccount(record.passes[pass], texts[pass], backs[pass]);
    frame_count += record.passes[pass].file.counts.frames;
  }
  Require(record.totals.frames == frame_count && record.totals.files == record.passes.size(), "the format's totals");
  CheckBetweenPasses(record);
  CheckExport(export_text, record);

  const std::string limits_file = "limits.txt";
  std::string station;
  RenderStationPage(station,
                    {&layout, {{&record, &links}}, PageMark(PageKind::kStation, kStationPageName, kOverviewName)});
  pages.push_back(CheckPage(links.folder + "/" + kStationPageName, station));
  pages.push_back(CheckPage(
      std::string(kOverviewName),
      RenderOverview(
          {std::string(kSampleRoot), limits ? &limits_file : nullptr, {{&record, &links, &section}}, &layout, true})));
  CheckLinks(pages);
  return 0;
}
