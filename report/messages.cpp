#include "report/messages.h"

namespace hkcsv {

void TellLine(OutputStream& errors, std::string_view line) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  std::string safe;
  safe.reserve(line.size());
  for (const char c : line) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      safe += "\\x";
      safe += kDigits[byte >> 4];
      safe += kDigits[byte & 0xF];
    } else {
      safe += c;
    }
  }
  WriteBytes(errors, safe);
  WriteLineEnd(errors);
  Flush(errors);
}

std::string Clipped(std::string_view cell) {
  if (cell.size() <= kEchoedCellMax) return std::string(cell);
  return std::string(cell.substr(0, kEchoedCellMax)) + "...";
}

}  // namespace hkcsv
