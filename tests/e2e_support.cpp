// Helpers of the end-to-end tests: capture folders, runs of the real executables and the texts they print.
#include "tests/e2e_support.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

// The runs of the executables, through a POSIX shell: the Windows build has
// the unit tests alone, which use the files and texts below.
#ifndef _WIN32
namespace {

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

}  // namespace

namespace {

// The folder for a run's standard input and outputs: beside `exe`, one per
// running test and process, since test binaries running in parallel start the
// same executable (hkreport).
fs::path ScratchFolder(const std::string& exe) {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = "outside_a_test";
  if (test) name.assign(test->test_suite_name()).append(".").append(test->name());
  std::replace(name.begin(), name.end(), '/', '_');  // parameterized names hold slashes
  name.append(".").append(std::to_string(::getpid()));
  return fs::path(exe).parent_path() / (fs::path(exe).filename().string() + ".io") / name;
}

// Runs `command` (quoted already) with its standard input and outputs in
// files of a scratch folder, removed afterwards.
RunResult RunCommand(const std::string& exe, const std::string& command, std::string_view input) {
  const fs::path scratch = ScratchFolder(exe);
  fs::create_directories(scratch);
  const std::string in = (scratch / "stdin").string();
  const std::string out = (scratch / "stdout").string();
  const std::string err = (scratch / "stderr").string();
  WriteFile(in, input);
  const int raw = std::system((command + " < " + Quote(in) + " > " + Quote(out) + " 2> " + Quote(err)).c_str());
  const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  RunResult result{status, ReadFile(out), ReadFile(err)};
  fs::remove_all(scratch);
  return result;
}

}  // namespace

RunResult RunHkcsv(const std::string& exe, std::string_view input) { return RunCommand(exe, Quote(exe), input); }

RunResult RunWithArguments(const std::string& exe, const std::vector<std::string>& arguments) {
  std::string command = Quote(exe);
  for (const std::string& argument : arguments) command.append(" ").append(Quote(argument));
  return RunCommand(exe, command, "");
}

RunResult RunWithFileSizeLimit(const std::string& exe, const std::vector<std::string>& arguments, std::size_t bytes) {
  std::string command = "trap '' XFSZ; exec prlimit --fsize=" + std::to_string(bytes) + " " + Quote(exe);
  for (const std::string& argument : arguments) command.append(" ").append(Quote(argument));
  return RunCommand(exe, command, "");
}
#endif

void WriteFile(const std::string& path, std::string_view bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(file.good()) << path;
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

bool Exists(const std::string& path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(path, error));
}

std::string OwnFolder(const std::string& name) {
  const fs::path folder = fs::path(::testing::TempDir()) / (name + "_" + std::to_string(::getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder / "sub");
  return folder.string();
}

void ResetRoot(const std::string& path) {
  fs::remove_all(path);
  fs::create_directories(path + "/FM");
  fs::create_directories(path + "/FSK");
}

std::string Crlf(std::string_view text) {
  std::string result;
  for (char c : text) {
    if (c == '\n') result += '\r';
    result += c;
  }
  return result;
}

const char kMenu[] =
    "Please select data format.\n"
    "0 : HK data downlinked by AFSK and GMSK.\n"
    "1 : HK data downlinked by FSK.\n"
    "2 : Close this program.\n";

const char kHeaderColumns[] =
    "Date, Time, AOS time, LOS time, MAX Angle of Attack, Azimuth(AOS), Azimuth(LOS), Temperature, "
    "Atmospheric Pressure, Weather, In the Sunshine or Shade, Plane of Polarization, S meter, "
    "Recieved Packet Number, Modulation Method, Data Contents, Datablock Number\n";

const char kDataColumns[] =
    "packet num, uplink num, SatTime, SwitchInfo, ResetInfo, Buss Voltage, Buss Current,Solar Current 1, "
    "Solar Current 2, Solar Current 3, Solar Current 4, Solar Current 5, Solar Current 6, Battery Temp1, "
    "Battery Temp2, 5V reg Temp1, 5V reg Temp2, 3.5V reg Temp, TRP Temp, QPSK Temp, FSK Temp, +Xsc Tepm, "
    "+Ysc Temp, +Zsc Temp, -Xsc Tepm, -Ysc Temp, -Zsc Temp, Zemto T Temp, Zemto R Temp, Gyro_x Temp, "
    "Gyro_y Temp, Gyro_z Temp, Gyro_x Rate, Gyro_y Rate, Gyro_z Rate, Mag_x, Mag_y, Mag_z, Mag_ref\n";

std::string PassHeader(std::string_view blocks) {
  return "Date : 2019/01/10 09:15:30 JST\nAOS : 09:10:00\nLOS : 09:20:00\nMAX Angle : 45 deg\n"
         "AzAOS : 120 deg\nAzLOS : 300 deg\nTemp : 8 degC\nPressure : 1015 hPa\nWeather : Fine\n"
         "Sun : Sunshine\nIgnored : xyz\nPolarization : Right Hand\nS : 5\nPackets : 12\nMod : GMSK\n"
         "Contents : HK data\nBlocks : " +
         std::string(blocks) + "\n";
}

std::string PassHeaderRow(std::string_view blocks) {
  return "2019/01/10, 09:15:30, 09:10:00, 09:20:00, 45, 120, 300, 8, 1015, Fine, Sunshine, Right Hand, 5, 12, "
         "GMSK, HK data, " +
         std::string(blocks) + ", \n";
}

std::string PassHeaderTrace(std::string_view blocks) {
  return "Date : 2019/01/10 09:15:30 JST \nAOS : 09:10:00 \nLOS : 09:20:00 \nMAX Angle : 45 deg \n"
         "AzAOS : 120 deg \nAzLOS : 300 deg \nTemp : 8 degC \nPressure : 1015 hPa \nWeather : Fine \n"
         "Sun : Sunshine \nIgnored : \nPolarization : Right Hand \nS : 5 \nPackets : 12 \nMod : GMSK \n"
         "Contents : HK data \nBlocks : " +
         std::string(blocks) + " \n";
}

const char kMarker[] = "51 58 30 54 4C 4D 3E 56 4F 52 41 4E 3A";

const char kExampleFrame[] =
    "00 00 01 2C 5A 07 00 00 00 03 0C 00 00 64 01 00 "
    "00 00 00 00 00 00 00 00 00 00 "
    "08 00 08 00 08 00 08 00 08 00 08 00 08 00 08 00 08 00 08 00 08 00 08 00 08 00 08 00 08 00 08 00 "
    "FF C0 00 40 00 00 FF 9C 00 64 00 00 00 01 00 00 00 00 0F FF";

const char kExampleFrameTrace[] =
    "0 0 1 2C 5A 7 0 0 0 3 C 0 0 64 1 0 "
    "0 0 0 0 0 0 0 0 0 0 "
    "8 0 8 0 8 0 8 0 8 0 8 0 8 0 8 0 8 0 8 0 8 0 8 0 8 0 8 0 8 0 8 0 "
    "FF C0 0 40 0 0 FF 9C 0 64 0 0 0 1 0 0 0 0 F FF ";

const char kExampleRowValues[] =
    "150.000000,5A, 3, 3.750000,244.140625,31.250000,0.000000,0.000000,0.000000,0.000000,0.000000,"
    "33.250000,33.925000,33.550000,33.350000,32.625000,33.025000,34.100000,32.775000,33.675000,33.625000,"
    "33.150000,33.825000,32.450000,34.400000,31.825000,33.700000,44.800000,45.200000,45.000000,-1.250000,"
    "1.250000,0.000000,122.070312,0.000000,0.000000,499877.929687,\n";

std::string RunConsole(int choice, const std::string& folder, const std::vector<TracedFile>& files) {
  return std::string(kMenu) + "FormatType = " + std::to_string(choice) + "\n" + AnalysisConsole(folder, files) +
         EndConsole();
}

std::string AnalysisConsole(const std::string& folder, const std::vector<TracedFile>& files) {
  std::string console;
  for (const TracedFile& file : files) console += folder + file.name + "\n";
  console += "\n\nOutputFile_error = 0\nOutputFile_error = 0\n";
  for (const TracedFile& file : files) console += "InputFile = 0\n\n" + file.trace;
  return console + "\n";
}

std::string EndConsole() { return std::string(kMenu) + "FormatType = 2\nProgram is end.\n"; }
