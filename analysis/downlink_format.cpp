#include "analysis/downlink_format.h"

const FormatConstants& ConstantsOf(DownlinkFormat format) {
  static constexpr FormatConstants kFM{"FM", "FM_Analyised_Header.csv", "FM_Analyised_Data.csv", PacketTail::kOneValue};
  static constexpr FormatConstants kFSK{"FSK", "FSK_Analyised_Header.csv", "FSK_Analyised_Data.csv",
                                        PacketTail::kZerosThenNonzero};
  return format == DownlinkFormat::kFM ? kFM : kFSK;
}
