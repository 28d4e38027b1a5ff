// What differs between the two downlink formats.
#pragma once

#include <array>

namespace hkcsv {

// FM: frames received by AFSK and GMSK (menu choice 0). FSK: frames received
// by FSK (menu choice 1).
enum class DownlinkFormat { kFM, kFSK };

// Both formats, in the order of the menu and of every report.
inline constexpr std::array<DownlinkFormat, 2> kDownlinkFormats{DownlinkFormat::kFM, DownlinkFormat::kFSK};

// What follows a packet's frames.
enum class PacketTail {
  kOneValue,          // FM: exactly one value
  kZerosThenNonzero,  // FSK: any number of zero values, then one nonzero value
};

// What each format is called and where its files are: the same facts for
// both programs (hkcsv's menu and the report's headings name a format by its
// description; hkcsv writes the CSV files, and the pass pages point to the
// data CSV for every frame).
struct FormatConstants {
  const char* folder;       // below the base directory: "FM"
  const char* id;           // the folder's name in lower case, as command lines and pages name it: "fm"
  const char* description;  // "HK data downlinked by AFSK and GMSK"
  const char* header_csv;   // the CSV files hkcsv writes in that folder
  const char* data_csv;
  PacketTail tail;  // what the reader reads after a packet's frames
};

const FormatConstants& ConstantsOf(DownlinkFormat format);

}  // namespace hkcsv
