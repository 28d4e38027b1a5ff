// The constants of the two downlink formats.
#include "capture/downlink_format.h"

namespace hkcsv {

const FormatConstants& ConstantsOf(DownlinkFormat format) {
  static constexpr FormatConstants kFM{"FM",
                                       "fm",
                                       "HK data downlinked by AFSK and GMSK",
                                       "FM_Analyised_Header.csv",
                                       "FM_Analyised_Data.csv",
                                       PacketTail::kOneValue};
  static constexpr FormatConstants kFSK{"FSK",
                                        "fsk",
                                        "HK data downlinked by FSK",
                                        "FSK_Analyised_Header.csv",
                                        "FSK_Analyised_Data.csv",
                                        PacketTail::kZerosThenNonzero};
  return format == DownlinkFormat::kFM ? kFM : kFSK;
}

}  // namespace hkcsv
