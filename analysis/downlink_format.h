// What differs between the two downlink formats.
#pragma once

// FM: frames received by AFSK and GMSK (menu choice 0). FSK: frames received
// by FSK (menu choice 1).
enum class DownlinkFormat { kFM, kFSK };

// What follows a packet's frames.
enum class PacketTail {
  kOneValue,          // FM: exactly one value
  kZerosThenNonzero,  // FSK: any number of zero values, then one nonzero value
};

struct FormatConstants {
  const char* folder;      // below the base directory
  const char* header_csv;  // file names in that folder
  const char* data_csv;
  PacketTail tail;
};

const FormatConstants& ConstantsOf(DownlinkFormat format);
