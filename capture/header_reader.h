// The pass header reader: 17 fields, each of name tokens, a colon token and
// a fixed number of value tokens. A template over the echo of what it reads
// (reader.h); the reader's own, not for other targets.
#pragma once

#include <array>
#include <cstdint>

#include "capture/pass_header.h"
#include "text/number_format.h"
#include "text/text_input.h"

namespace hkcsv {

namespace header_reading {

// What becomes of a value token.
enum class Cell {
  kNone,    // no cell
  kEnds,    // ends a cell
  kJoined,  // shares the next value's cell, a space between them
};

struct ValueToken {
  Cell cell;
  bool echoed;
};

inline constexpr ValueToken kCell{Cell::kEnds, true};
inline constexpr ValueToken kJoined{Cell::kJoined, true};
inline constexpr ValueToken kEchoOnly{Cell::kNone, true};
inline constexpr ValueToken kIgnored{Cell::kNone, false};

inline constexpr int kNumberField = 16;  // the last field: the number of frames per packet
inline constexpr int kDateField = 0;
inline constexpr int kTimeZoneValue = 2;  // date, time, time zone

struct FieldLayout {
  int count;
  std::array<ValueToken, 3> values;
};

// The value tokens of fields 0 to 15, in file order.
inline constexpr std::array<FieldLayout, kNumberField> kFields{{
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

inline void KeepCellText(PassHeader& header, const char* text, Cell cell) {
  if (header.cell_count >= kPassHeaderColumns) return;
  std::string& value = header.cells[static_cast<std::size_t>(header.cell_count)];
  value += text;
  if (cell == Cell::kEnds) {
    ++header.cell_count;
  } else {
    value += ' ';
  }
}

// Reads, keeps and echoes the value tokens of one field. Returns false when
// the file ends before the field's last value.
template <class Echo>
bool ReadFieldValues(InputStream& in, int field, TokenBuffer& token, PassHeader& header, Echo& echo) {
  const FieldLayout& layout = kFields[static_cast<std::size_t>(field)];
  for (int i = 0; i < layout.count; ++i) {
    const ValueToken& value = layout.values[static_cast<std::size_t>(i)];
    if (!ReadToken(in, token)) return false;
    if (value.cell != Cell::kNone) KeepCellText(header, token.data(), value.cell);
    if (field == kDateField && i == kTimeZoneValue) header.time_zone = token.data();
    if (value.echoed) echo.HeaderToken(token.data());
  }
  return true;
}

}  // namespace header_reading

// Reads the header into `header`, echoing its tokens, and sets
// `DataBlockNumber` from the last field (it keeps its value when the header
// sets none). Stops right after the last token of the header, or at the end
// of the file.
template <class Echo>
void ReadPassHeader(InputStream& in, PassHeader& header, int32_t& DataBlockNumber, Echo& echo) {
  using namespace header_reading;
  TokenBuffer token;
  int field = 0;
  while (ReadToken(in, token)) {
    echo.HeaderToken(token.data());
    if (token[0] != ':') continue;  // a name token

    if (field == kNumberField) {
      // A value that is no decimal number leaves DataBlockNumber as it was;
      // the end of the file leaves nothing to keep.
      const ReadResult result = ReadDecimal(in, DataBlockNumber);
      if (result == ReadResult::kEnd) break;
      header.gives_frames_per_packet = result == ReadResult::kValue;
      char number[kDecimalTextMax + 1];
      *FormatDecimal(DataBlockNumber, number) = '\0';
      KeepCellText(header, number, Cell::kEnds);
      echo.FramesPerPacket(number);
      header.complete = true;
      return;
    }

    // The file may end inside the field: nothing more is echoed for it.
    if (!ReadFieldValues(in, field, token, header, echo)) break;
    echo.FieldEnd();
    ++field;
  }
}

}  // namespace hkcsv
