// The values that belong to one run over capture files and carry over from
// one capture file to the next within it. The pipeline's own: callers see
// the frames it decodes, not these.
#pragma once

#include <cstdint>

#include "hk/hk_frame.h"

namespace hkcsv {

struct RunState {
  int32_t DataBlockNumber = 0;  // HK frames per packet, from the pass header
  int32_t Data = 0;             // the last value read outside a packet's numbers and frames
  int32_t packet_num = 0;
  int32_t uplink_num = 0;
  HkFrame CDH_Data{};
  HkValues AnalysedData{};
};

}  // namespace hkcsv
