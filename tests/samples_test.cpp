// The bundled capture files, run as the README's first command runs them, and
// compared with CSV files kept in the repository (rows checked by hand when
// they were first made: satellite time, bus voltage, temperatures, gyro and
// magnetometer values). A guard against any change of output.
#include <filesystem>

#include "tests/e2e_support.h"

namespace fs = std::filesystem;

namespace {

using BundledSamples = EndToEnd;

TEST_F(BundledSamples, GiveTheKeptCsvFiles) {
  for (const char* format : {"FM", "FSK"}) {
    for (const auto& entry : fs::directory_iterator(fs::path(HKCSV_SOURCE_DIR) / "samples" / format)) {
      fs::copy_file(entry.path(), fs::path(root) / format / entry.path().filename());
    }
  }
  const RunResult result = Run("0 1 2");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.console.find("Warning"), std::string::npos);
  EXPECT_EQ(result.console.find("cut short"), std::string::npos);
  const fs::path golden = fs::path(HKCSV_SOURCE_DIR) / "tests" / "golden";
  for (const char* name : {"FM_Analyised_Header.csv", "FM_Analyised_Data.csv"}) {
    EXPECT_EQ(ReadFile(fm + name), ReadFile((golden / name).string())) << name;
  }
  for (const char* name : {"FSK_Analyised_Header.csv", "FSK_Analyised_Data.csv"}) {
    EXPECT_EQ(ReadFile(fsk + name), ReadFile((golden / name).string())) << name;
  }
}

}  // namespace
