// What differs between the two downlink formats.
#pragma once

#include "analysis/analysis.h"
#include "analysis/packet_scanner.h"

struct FormatConstants {
  const char* folder;      // below the base directory
  const char* header_csv;  // file names in that folder
  const char* data_csv;
  PacketTail tail;
};

const FormatConstants& ConstantsOf(DownlinkFormat format);
