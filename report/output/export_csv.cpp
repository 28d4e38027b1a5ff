// The export: one CSV row per frame.
#include "report/output/export_csv.h"

#include <cmath>

#include "hk/hk_columns.h"
#include "platform/files.h"
#include "text/calendar.h"
#include "text/html_text.h"
#include "text/number_format.h"

namespace hkcsv {

namespace {

constexpr const char* kLeadingColumns[] = {"format",   "file",       "pass_time",  "zone",        "ground_time",
                                           "sat_time", "packet_num", "uplink_num", "switch_info", "reset_info"};

// The longest row after the pass's cells: ground time, five numbers and 35
// values, each with its comma, the state and the line end.
constexpr std::size_t kRowMax = 32 + 5 * (kDecimalTextMax + 1) + 35 * (kFixedTextMax + 1) + 8;
static_assert(kRowMax <= kOutputBlockSize);

char* Put(char* at, std::string_view text) {
  std::memcpy(at, text.data(), text.size());
  return at + text.size();
}

// "YYYY-MM-DD HH:MM:SS.s": satellite time counts half seconds.
char* PutGroundTime(char* at, double seconds) {
  const double whole = std::floor(seconds);
  at = Put(at, FormatGroundTime(whole));
  *at++ = '.';
  *at++ = static_cast<char>('0' + static_cast<int>((seconds - whole) * 10));
  return at;
}

// A CSV field: quoted, with quotes doubled, when it holds a comma, a quote or
// a line break.
void AppendCsvField(std::string& out, std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += text;
    return;
  }
  out += '"';
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

}  // namespace

void WriteExportColumns(OutputStream& out) {
  WriteBytes(out, kByteOrderMark);
  std::string line;
  for (const char* name : kLeadingColumns) {
    line += name;
    line += ',';
  }
  for (int channel = 0; channel < kEngineeringChannels; ++channel) {
    AppendCsvField(line, kHkColumns[static_cast<std::size_t>(kFirstEngineeringSlot + channel)].name);
    line += ',';
  }
  line += "state\r\n";
  WriteBytes(out, line);
}

std::string ExportPassCells(std::string_view format, std::string_view file_name, std::optional<double> pass_time,
                            std::string_view zone) {
  std::string cells(format);
  cells += ',';
  std::string text;
  AppendUtf8OrEscapes(text, NarrowToUtf8(file_name));
  AppendCsvField(cells, text);
  cells += ',';
  if (pass_time) cells += FormatGroundTime(*pass_time);
  cells += ',';
  text.clear();
  AppendUtf8OrEscapes(text, NarrowToUtf8(zone));
  AppendCsvField(cells, text);
  cells += ',';
  return cells;
}

void WriteExportRow(OutputStream& out, std::string_view pass_cells, std::optional<double> ground_time,
                    const DecodedFrame& frame, std::optional<LimitBand> state) {
  WriteBytes(out, pass_cells);
  char* const start = Reserve(out, kRowMax);
  char* at = start;
  if (ground_time) at = PutGroundTime(at, *ground_time);
  *at++ = ',';
  at = FormatFixed(SatTimeSeconds(frame.counters.sat_time), at);
  *at++ = ',';
  for (const int32_t number :
       {frame.packet_num, frame.uplink_num, frame.counters.switch_info, frame.counters.reset_info}) {
    at = FormatDecimal(number, at);
    *at++ = ',';
  }
  for (const double value : frame.values) {
    at = FormatFixed(value, at);
    *at++ = ',';
  }
  if (state) at = Put(at, LimitBandName(*state));
  *at++ = '\r';
  *at++ = '\n';
  out.used += static_cast<std::size_t>(at - start);
}

}  // namespace hkcsv
