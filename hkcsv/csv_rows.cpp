// The column lines of the header and data CSV files and the data CSV row.
#include "hkcsv/csv_rows.h"

#include "hk/hk_columns.h"
#include "text/number_format.h"

namespace hkcsv {

namespace {

// The longest row: two numbers "%X,", two "%X, ", 35 cells "%4f," and the
// line end.
constexpr std::size_t kRowMax = 2 * (kHexTextMax + 1) + 2 * (kHexTextMax + 2) + 35 * (kFixedTextMax + 1) + 2;
static_assert(kRowMax <= kOutputBlockSize);

}  // namespace

void WriteHeaderColumnLine(OutputStream& header_csv) {
  for (int i = 0; i < kPassHeaderColumns; ++i) {
    WriteText(header_csv, kPassHeaderColumnNames[static_cast<std::size_t>(i)]);
    WriteText(header_csv, i + 1 < kPassHeaderColumns ? ", " : "\n");
  }
}

void WriteHeaderRow(OutputStream& header_csv, const PassHeader& header) {
  for (int cell = 0; cell < header.cell_count; ++cell) {
    WriteBytes(header_csv, header.cells[static_cast<std::size_t>(cell)]);
    WriteText(header_csv, ", ");
  }
  const bool partial = header.cell_count < kPassHeaderColumns && !header.cells[header.cell_count].empty();
  if (partial) WriteBytes(header_csv, header.cells[static_cast<std::size_t>(header.cell_count)]);
  if (header.cell_count > 0 || partial) WriteText(header_csv, "\n");
}

void WriteDataColumnLine(OutputStream& data_csv) {
  WriteText(data_csv, "packet num, uplink num, ");
  for (int slot = 0; slot < kHkValueCount; ++slot) {
    WriteText(data_csv, kHkColumns[static_cast<std::size_t>(slot)].name);
    // The bus current's comma has never been followed by a space; spreadsheets
    // and scripts read the line as it is.
    if (slot + 1 == kHkValueCount) {
      WriteText(data_csv, "\n");
    } else {
      WriteText(data_csv, slot == kCurrentSlot ? "," : ", ");
    }
  }
}

// The row is formatted straight into the output block.
void WriteDataRow(OutputStream& data_csv, const DecodedFrame& frame) {
  char* const start = Reserve(data_csv, kRowMax);
  char* at = FormatHex(frame.packet_num, start);
  *at++ = ',';
  at = FormatHex(frame.uplink_num, at);
  *at++ = ',';
  at = FormatFixed(SatTimeSeconds(frame.counters.sat_time), at);
  *at++ = ',';
  for (const int32_t information : {frame.counters.switch_info, frame.counters.reset_info}) {
    at = FormatHex(information, at);
    *at++ = ',';
    *at++ = ' ';
  }
  for (const double value : frame.values) {
    at = FormatFixed(value, at);
    *at++ = ',';
  }
  at = PutLineEnd(data_csv, at);
  data_csv.used += static_cast<std::size_t>(at - start);
}

}  // namespace hkcsv
