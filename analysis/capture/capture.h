// The capture pipeline that both programs share: the capture files of a
// format folder, and capture files read through one after the other (pass
// header, packets, frames), handing each decoded frame to the caller.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/capture/decoded_frame.h"
#include "analysis/capture/downlink_format.h"
#include "platform/files.h"
#include "text/text_output.h"

namespace hkcsv {

// The cells of a header CSV row, in column order.
enum PassHeaderCell {
  kDateCell,
  kTimeCell,
  kAosTimeCell,
  kLosTimeCell,
  kMaxAngleCell,
  kAzimuthAosCell,
  kAzimuthLosCell,
  kTemperatureCell,
  kPressureCell,
  kWeatherCell,
  kSunshineCell,
  kPolarizationCell,
  kSMeterCell,
  kReceivedPacketsCell,  // the number of packets the station announced
  kModulationCell,
  kDataContentsCell,
  kFramesPerPacketCell,
  kPassHeaderColumns
};

// The header CSV's column names, in column order, misspellings included.
inline constexpr std::array<const char*, kPassHeaderColumns> kPassHeaderColumnNames{
    "Date",
    "Time",
    "AOS time",
    "LOS time",
    "MAX Angle of Attack",
    "Azimuth(AOS)",
    "Azimuth(LOS)",
    "Temperature",
    "Atmospheric Pressure",
    "Weather",
    "In the Sunshine or Shade",
    "Plane of Polarization",
    "S meter",
    "Recieved Packet Number",
    "Modulation Method",
    "Data Contents",
    "Datablock Number",
};

// The header CSV cells of one capture file, as written to the header CSV.
struct PassHeader {
  std::array<std::string, kPassHeaderColumns> cells;
  int cell_count = 0;                    // cells written whole
  bool complete = false;                 // every field was read; false: the file ended inside the header
  bool gives_frames_per_packet = false;  // its last field held a number: DataBlockNumber was set from it
  std::string time_zone;                 // the date field's third value, as "JST"
};

struct CaptureCounts {
  std::uint64_t tokens = 0;          // after the pass header, skipped ones included
  std::uint64_t packets = 0;         // markers found, a packet cut short included
  std::uint64_t frames = 0;          // frames read whole
  std::uint64_t skipped_tokens = 0;  // tokens that are no hex number
  std::uint64_t cut_short = 0;       // packets cut short by the end of the file
};

// One capture file, once it is read.
struct CaptureFile {
  int open_error = 0;  // the open's result code: 0, or the error number
  int read_error = 0;  // the error number of a failed read; the file was read up to there
  PassHeader header;
  // The number of frames its packets were read with: its header's, or the
  // one carried over from the file before when its header gives none.
  int32_t frames_per_packet = 0;
  CaptureCounts counts;
};

// How the text of a skipped token comes: in pieces, for a token may be
// longer than any buffer.
enum class TokenPart { kStart, kPiece, kEnd };

// Where the pipeline writes while it reads, and what it tells its caller.
// Every member may be empty: hkcsv traces, writes both CSV files and tells
// each problem; hkreport takes the headers, the frames and the counts.
struct CaptureOutput {
  OutputStream* trace = nullptr;       // the console trace of each header and packet
  OutputStream* header_csv = nullptr;  // each pass header's row
  // Each capture file as it is opened, before anything of it is read: its
  // path and the open's result code.
  std::function<void(const std::string& path, int open_error)> opened;
  // The pass header once it is read, before the first frame.
  std::function<void(const PassHeader& header)> header;
  // Each frame read whole.
  std::function<void(const DecodedFrame& frame)> frame;
  // A token of the dump that is no hex number, skipped: kStart, its text in
  // pieces (kPiece), kEnd.
  std::function<void(TokenPart part, std::string_view text)> skipped_token;
  // The file ended inside a packet; its frames read whole were handed on.
  std::function<void()> cut_short;
  // Each capture file once it is read to its end, or could not be.
  std::function<void(const CaptureFile& file)> read;
};

// A capture to read: the file at `path`, or, where `text` is given, that
// text under the name `path` (tests and fuzzers read captures from memory).
struct CaptureSource {
  std::string path;
  std::optional<std::string_view> text;
};

// Reads the captures in order as one run: each its pass header, then its
// packets to its end. The values that the run carries (DataBlockNumber, Data,
// packet_num, uplink_num) pass from one capture to the next.
void ReadCaptures(std::span<const CaptureSource> sources, PacketTail tail, CaptureOutput& out);

// The entries of a format folder that a run takes: every name ending in
// ".txt" in any letter case, files and folders alike, in byte order.
struct CaptureListing {
  std::string folder;  // base directory, separator, format folder: "/data/passes/FSK"
  std::vector<FolderEntry> entries;
  bool missing = false;  // no such folder below an existing base directory: nothing to do
  int error = 0;         // why the folder could not be listed (then no entry), or 0
};

CaptureListing ListCaptures(std::string_view sample_root, const FormatConstants& format);

// The capture files of a listing, its folders left out, in listing order.
std::vector<CaptureSource> CaptureSources(const CaptureListing& listing);

}  // namespace hkcsv
