#include "analysis/csv_rows.h"

#include "analysis/capture.h"
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
void WriteDataRow(OutputStream& data_csv, const RunState& run) {
  char* const start = Reserve(data_csv, kRowMax);
  char* at = FormatHex(run.packet_num, start);
  *at++ = ',';
  at = FormatHex(run.uplink_num, at);
  *at++ = ',';
  for (int slot = 0; slot < kHkValueCount; ++slot) {
    const double value = run.AnalysedData[static_cast<std::size_t>(slot)];
    if (slot == kSwitchInfoSlot || slot == kResetInfoSlot) {
      // Both slots hold whole numbers converted from 32-bit integers.
      at = FormatHex(static_cast<int32_t>(value), at);
      *at++ = ',';
      *at++ = ' ';
    } else {
      at = FormatFixed(value, at);
      *at++ = ',';
    }
  }
  at = PutLineEnd(data_csv, at);
  data_csv.used += static_cast<std::size_t>(at - start);
}

}  // namespace hkcsv
