// The frame export's cells of a pass, quoted as CSV needs them.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>

#include "report/output/export_csv.h"

using namespace hkcsv;

namespace {

TEST(Export, PassCellsAreQuotedWhereCsvNeedsIt) {
  const std::tuple<const char*, std::optional<double>, const char*, std::string> cases[] = {
      {"pass.txt", 1547111730, "JST", "FM,pass.txt,2019-01-10 09:15:30,JST,"},
      {"a, \"b\".txt", std::nullopt, "JST", "FM,\"a, \"\"b\"\".txt\",,JST,"},
      {"line\nbreak.txt", std::nullopt, "J,S", "FM,\"line\nbreak.txt\",,\"J,S\","},
  };
  for (const auto& [name, time, zone, cells] : cases) EXPECT_EQ(ExportPassCells("FM", name, time, zone), cells) << name;
}

TEST(Export, BytesThatAreNotUtf8AreWrittenAsThePagesWriteThem) {
#ifdef _WIN32
  GTEST_SKIP() << "file names are text of the ANSI code page here, converted to UTF-8 whole";
#endif
  // The byte 0xFF, no UTF-8, as the pages write it; a character of UTF-8 as it is.
  EXPECT_EQ(ExportPassCells("FM", "x\xFF\xE8\xA7\xA3.txt", std::nullopt, ""), "FM,x\\xFF\xE8\xA7\xA3.txt,,,");
}

}  // namespace
