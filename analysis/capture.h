// The capture pipeline that both programs share: the capture files of a
// format folder, and one capture file read through (pass header, packets,
// frames), handing each decoded frame to the caller.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/downlink_format.h"
#include "analysis/run_state.h"
#include "platform/files.h"
#include "text/text_input.h"
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
  int cell_count = 0;     // cells written whole
  bool complete = false;  // every field was read; false: the file ended inside the header
  std::string time_zone;  // the date field's third value, as "JST"
};

// Where the pipeline writes while it reads a capture file, and who takes its
// frames. Every stream may be null: hkcsv traces and writes both CSV files,
// hkreport only takes the frames.
struct CaptureOutput {
  OutputStream* trace = nullptr;       // the console trace
  OutputStream* header_csv = nullptr;  // the pass header's row
  OutputStream* errors = nullptr;      // a copy of each problem line of the trace (standard error)
  std::string_view program;            // starts each copy: "hkcsv"
  std::string_view capture_path;       // names the file in copies that do not name it
  // The pass header once it is read, before the first frame.
  std::function<void(const PassHeader& header)> header;
  // Each frame read whole: packet_num, uplink_num and AnalysedData of `run`.
  std::function<void(const RunState& run)> frame;
};

struct CaptureCounts {
  std::uint64_t tokens = 0;          // after the pass header, skipped ones included
  std::uint64_t packets = 0;         // markers found, a packet cut short included
  std::uint64_t frames = 0;          // frames read whole
  std::uint64_t skipped_tokens = 0;  // tokens that are no hex number
  std::uint64_t cut_short = 0;       // packets cut short by the end of the file
};

struct CaptureFile {
  int open_error = 0;  // the open's result code: 0, or the error number
  int read_error = 0;  // the error number of a failed read; the file was read up to there
  PassHeader header;
  CaptureCounts counts;
};

// Reads the capture file at `path`: header, then packets to its end. With a
// trace, prints "InputFile = %d\n\n" after the open, and a line for an open
// or read that failed.
CaptureFile ReadCaptureFile(const std::string& path, PacketTail tail, RunState& run, CaptureOutput& out);

// Reads only the pass header of the capture file at `path`, without output.
// Returns 0, or the error number of an open or read that failed.
int ReadCaptureHeader(const std::string& path, PassHeader& header);

// The same on input that is already open.
void ReadCapture(InputStream& in, PacketTail tail, RunState& run, CaptureOutput& out, CaptureFile& file);

// The entries of a format folder that a run takes: every name ending in
// ".txt" in any letter case, files and folders alike, in byte order.
struct CaptureListing {
  std::string folder;  // base directory, separator, format folder: "/data/passes/FSK"
  std::vector<FolderEntry> entries;
  bool missing = false;  // no such folder below an existing base directory: nothing to do
  int error = 0;         // why the folder could not be listed (then no entry), or 0
};

CaptureListing ListCaptures(std::string_view sample_root, const FormatConstants& format);

}  // namespace hkcsv
