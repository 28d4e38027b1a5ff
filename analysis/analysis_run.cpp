#include <cstring>
#include <string>

#include "analysis/analysis.h"
#include "analysis/capture_list.h"
#include "analysis/downlink_format.h"
#include "platform/files.h"
#include "analysis/packet_scanner.h"
#include "analysis/pass_header.h"
#include "analysis/run_state.h"
#include "text/text_input.h"

namespace {

constexpr const char* kHeaderColumnLine[] = {
    "Date, Time, AOS time, LOS time, ",
    "MAX Angle of Attack, ",
    "Azimuth(AOS), Azimuth(LOS), Temperature, Atmospheric Pressure, ",
    "Weather, In the Sunshine or Shade, Plane of Polarization, S meter, ",
    "Recieved Packet Number, Modulation Method, Data Contents, Datablock Number\n",
};

constexpr const char* kDataColumnLine[] = {
    "packet num, uplink num, SatTime, SwitchInfo, ResetInfo, ",
    "Buss Voltage, Buss Current,",
    "Solar Current 1, Solar Current 2, Solar Current 3, ",
    "Solar Current 4, Solar Current 5, Solar Current 6, ",
    "Battery Temp1, Battery Temp2, ",
    "5V reg Temp1, 5V reg Temp2, 3.5V reg Temp, ",
    "TRP Temp, QPSK Temp, FSK Temp, ",
    "+Xsc Tepm, +Ysc Temp, +Zsc Temp, ",
    "-Xsc Tepm, -Ysc Temp, -Zsc Temp, ",
    "Zemto T Temp, Zemto R Temp, ",
    "Gyro_x Temp, Gyro_y Temp, Gyro_z Temp, ",
    "Gyro_x Rate, Gyro_y Rate, Gyro_z Rate, ",
    "Mag_x, Mag_y, Mag_z, Mag_ref\n",
};

void ReportFailure(OutputStream& console, const char* what, const std::string& path, int error) {
  WriteText(console, what);
  WriteText(console, " ");
  WriteText(console, path);
  WriteText(console, ": ");
  WriteText(console, std::strerror(error));
  WriteText(console, "\n");
}

// Creates a CSV file and writes its column line. Prints the open's result
// code; returns false, with a message, when the file cannot be created.
template <std::size_t N>
bool CreateCsv(const std::string& path, const char* const (&column_line)[N], OutputStream& csv, OutputStream& console) {
  std::FILE* file = nullptr;
  const int error = CreateCsvFile(path, file);
  WriteText(console, "OutputFile_error = ");
  WriteDecimal(console, error);
  WriteText(console, "\n");
  if (error != 0) {
    ReportFailure(console, "Cannot open", path, error);
    return false;
  }
  csv = OutputToFile(file, true);
  for (const char* text : column_line) WriteText(csv, text);
  return true;
}

// Closes a CSV file; a write that failed on the way is reported here.
void CloseCsv(const std::string& path, OutputStream& csv, OutputStream& console) {
  if (const int error = CloseOutput(csv)) ReportFailure(console, "Cannot write", path, error);
}

void ProcessCaptureFile(const std::string& path, const FormatConstants& constants, OutputStream& header_csv,
                        OutputStream& data_csv, OutputStream& console, RunState& run) {
  int fd = -1;
  const int error = OpenCaptureFile(path, fd);
  WriteText(console, "InputFile = ");
  WriteDecimal(console, error);
  WriteText(console, "\n\n");
  if (error != 0) {
    ReportFailure(console, "Cannot open", path, error);
    return;
  }
  InputStream in = InputFromDescriptor(fd, true);
  ReadPassHeader(in, header_csv, console, run.DataBlockNumber);
  ScanPackets(in, data_csv, console, constants.tail, run);
  if (in.error != 0) ReportFailure(console, "Cannot read", path, in.error);
  CloseCaptureFile(fd);
}

// Prints the listing: folders by name with "(DIR)", capture files by full
// path. Returns the paths of the capture files, in listing order.
std::vector<std::string> PrintListing(const std::vector<FolderEntry>& entries, const std::string& FileDirectory,
                                      OutputStream& console) {
  std::vector<std::string> InputFilePath;
  for (const FolderEntry& entry : entries) {
    if (entry.is_folder) {
      WriteText(console, entry.name);
      WriteText(console, " (DIR)\n");
    } else {
      InputFilePath.push_back(FileDirectory + entry.name);
      WriteText(console, InputFilePath.back());
      WriteText(console, "\n");
    }
  }
  WriteText(console, "\n\n");
  return InputFilePath;
}

// Recreates both CSV files and processes the capture files in order. A CSV
// file that cannot be created ends the run.
void ProcessCaptureFiles(const std::vector<std::string>& InputFilePath, const std::string& FileDirectory,
                         const FormatConstants& constants, OutputStream& console) {
  const std::string header_path = FileDirectory + constants.header_csv;
  const std::string data_path = FileDirectory + constants.data_csv;
  OutputStream header_csv;
  OutputStream data_csv;
  if (!CreateCsv(header_path, kHeaderColumnLine, header_csv, console)) return;
  if (!CreateCsv(data_path, kDataColumnLine, data_csv, console)) {
    CloseCsv(header_path, header_csv, console);
    return;
  }
  RunState run;
  for (const std::string& path : InputFilePath) ProcessCaptureFile(path, constants, header_csv, data_csv, console, run);
  CloseCsv(header_path, header_csv, console);
  CloseCsv(data_path, data_csv, console);
}

}  // namespace

void AnalyzeFormat(DownlinkFormat format, std::string_view sample_root, OutputStream& console) {
  const FormatConstants& constants = ConstantsOf(format);
  const std::string FileDirectory = std::string(sample_root) + kPathSeparator + constants.folder + kPathSeparator;

  // Nothing listed: the CSV files of an earlier run stay as they are.
  const std::vector<FolderEntry> entries = ListCaptureEntries(FileDirectory);
  if (!entries.empty()) {
    ProcessCaptureFiles(PrintListing(entries, FileDirectory, console), FileDirectory, constants, console);
  }
  WriteText(console, "\n");
}
