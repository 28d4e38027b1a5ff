#include "analysis/pass_header.h"

#include <array>

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

// Reads, writes and echoes the value tokens of one field. Returns false when
// the file ends before the field's last value.
bool ReadFieldValues(InputStream& in, const FieldLayout& field, TokenBuffer& token, OutputStream& header_csv,
                     OutputStream& console, bool& row_open) {
  for (int i = 0; i < field.count; ++i) {
    const ValueToken& value = field.values[static_cast<std::size_t>(i)];
    if (!ReadToken(in, token)) return false;
    if (value.cell != Cell::kNone) {
      WriteToken(header_csv, token.data());
      WriteText(header_csv, value.cell == Cell::kEnds ? ", " : " ");
      row_open = true;
    }
    if (value.echoed) {
      WriteToken(console, token.data());
      WriteText(console, " ");
    }
  }
  return true;
}

}  // namespace

void ReadPassHeader(InputStream& in, OutputStream& header_csv, OutputStream& console, int32_t& DataBlockNumber) {
  TokenBuffer token;
  bool row_open = false;  // a cell is written and the row's line end is not
  int field = 0;
  while (ReadToken(in, token)) {
    WriteToken(console, token.data());
    WriteText(console, " ");
    if (token[0] != ':') continue;  // a name token

    if (field == kNumberField) {
      // A value that is no decimal number leaves DataBlockNumber as it was;
      // the end of the file leaves nothing to write.
      if (ReadDecimal(in, DataBlockNumber) == ReadResult::kEnd) break;
      WriteDecimal(header_csv, DataBlockNumber);
      WriteText(header_csv, ", \n");
      WriteDecimal(console, DataBlockNumber);
      WriteText(console, " \n");
      return;
    }

    // The file may end inside the field: nothing more is echoed for it.
    if (!ReadFieldValues(in, kFields[static_cast<std::size_t>(field)], token, header_csv, console, row_open)) break;
    WriteText(console, "\n");
    ++field;
  }
  // A row cut short still ends its line, so the next file's row starts on its own.
  if (row_open) WriteLineEnd(header_csv);
}
