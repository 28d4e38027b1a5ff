// The pass header reader: fields of name tokens, a colon token and values.
#include "analysis/capture/pass_header.h"

#include <array>

#include "text/number_format.h"

namespace hkcsv {

namespace {

enum class Cell {
  kNone,    // not written
  kEnds,    // written with "%s, ": ends a cell
  kJoined,  // written with "%s ": shares the next value's cell
};

struct ValueToken {
  Cell cell;
  bool echoed;
};

constexpr ValueToken kCell{Cell::kEnds, true};
constexpr ValueToken kJoined{Cell::kJoined, true};
constexpr ValueToken kEchoOnly{Cell::kNone, true};
constexpr ValueToken kIgnored{Cell::kNone, false};

constexpr int kNumberField = 16;  // the last field: the number of frames per packet
constexpr int kDateField = 0;
constexpr int kTimeZoneValue = 2;  // date, time, time zone

struct FieldLayout {
  int count;
  std::array<ValueToken, 3> values;
};

// The value tokens of fields 0 to 15, in file order.
constexpr std::array<FieldLayout, kNumberField> kFields{{
    {3, {kCell, kCell, kEchoOnly}},  // date, time, time zone
    {1, {kCell}},                    // AOS time
    {1, {kCell}},                    // LOS time
    {2, {kCell, kEchoOnly}},         // maximum angle, unit
    {2, {kCell, kEchoOnly}},         // azimuth at AOS, unit
    {2, {kCell, kEchoOnly}},         // azimuth at LOS, unit
    {2, {kCell, kEchoOnly}},         // temperature, unit
    {2, {kCell, kEchoOnly}},         // atmospheric pressure, unit
    {1, {kCell}},                    // weather
    {1, {kCell}},                    // sunshine or shade
    {1, {kIgnored}},                 // read and ignored
    {2, {kJoined, kCell}},           // plane of polarization, two words
    {1, {kCell}},                    // S meter
    {1, {kCell}},                    // received packet number
    {1, {kCell}},                    // modulation method
    {2, {kJoined, kCell}},           // data contents, two words
}};

// The row being written: to the header CSV, if any, and into the cells.
struct Row {
  OutputStream* csv;
  PassHeader& header;
  bool open = false;  // a cell is written and the row's line end is not
};

void WriteCellText(Row& row, const char* text, Cell cell) {
  if (row.csv) {
    WriteToken(*row.csv, text);
    WriteText(*row.csv, cell == Cell::kEnds ? ", " : " ");
  }
  if (row.header.cell_count < kPassHeaderColumns) {
    std::string& value = row.header.cells[static_cast<std::size_t>(row.header.cell_count)];
    value += text;
    if (cell == Cell::kEnds) {
      ++row.header.cell_count;
    } else {
      value += ' ';
    }
  }
  row.open = true;
}

void Echo(OutputStream* trace, std::string_view text) {
  if (trace) WriteText(*trace, text);
}

// Reads, writes and echoes the value tokens of one field. Returns false when
// the file ends before the field's last value.
bool ReadFieldValues(InputStream& in, int field, TokenBuffer& token, Row& row, CaptureOutput& out) {
  const FieldLayout& layout = kFields[static_cast<std::size_t>(field)];
  for (int i = 0; i < layout.count; ++i) {
    const ValueToken& value = layout.values[static_cast<std::size_t>(i)];
    if (!ReadToken(in, token)) return false;
    if (value.cell != Cell::kNone) WriteCellText(row, token.data(), value.cell);
    if (field == kDateField && i == kTimeZoneValue) row.header.time_zone = token.data();
    if (value.echoed && out.trace) {
      WriteToken(*out.trace, token.data());
      WriteText(*out.trace, " ");
    }
  }
  return true;
}

}  // namespace

void ReadPassHeader(InputStream& in, CaptureOutput& out, PassHeader& header, int32_t& DataBlockNumber) {
  TokenBuffer token;
  Row row{out.header_csv, header};
  int field = 0;
  while (ReadToken(in, token)) {
    if (out.trace) {
      WriteToken(*out.trace, token.data());
      WriteText(*out.trace, " ");
    }
    if (token[0] != ':') continue;  // a name token

    if (field == kNumberField) {
      // A value that is no decimal number leaves DataBlockNumber as it was;
      // the end of the file leaves nothing to write.
      const ReadResult result = ReadDecimal(in, DataBlockNumber);
      if (result == ReadResult::kEnd) break;
      header.gives_frames_per_packet = result == ReadResult::kValue;
      char number[kDecimalTextMax + 1];
      *FormatDecimal(DataBlockNumber, number) = '\0';
      WriteCellText(row, number, Cell::kEnds);
      if (row.csv) WriteText(*row.csv, "\n");
      Echo(out.trace, number);
      Echo(out.trace, " \n");
      header.complete = true;
      return;
    }

    // The file may end inside the field: nothing more is echoed for it.
    if (!ReadFieldValues(in, field, token, row, out)) break;
    Echo(out.trace, "\n");
    ++field;
  }
  // A row cut short still ends its line, so the next file's row starts on its own.
  if (row.open && row.csv) WriteLineEnd(*row.csv);
}

}  // namespace hkcsv
