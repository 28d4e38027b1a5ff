// The token reader against the C library's formatted input.
#include "text/text_input.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <random>
#include <string>

using namespace hkcsv;

namespace {

std::size_t Consumed(const InputStream& in, const std::string& text) {
  return static_cast<std::size_t>(in.next - reinterpret_cast<const unsigned char*>(text.data()));
}

// Reads `text` with ReadHex and with sscanf("%X%n"): the outcome, the value
// and the characters consumed must agree. On a failed conversion ReadHex
// consumes only the white space, so the caller can report the token whole.
::testing::AssertionResult SameAsScanf(const std::string& text) {
  int expected_consumed = -1;
#ifdef _WIN32
  // glibc's %X reads 64 bits, its unsigned long, and keeps the low 32: so do
  // the CSV files on both platforms. MinGW's %X stops at 32 bits, its %llX
  // reads 64.
  unsigned long long expected = 0;
  const int scanned = std::sscanf(text.c_str(), "%llX%n", &expected, &expected_consumed);
#else
  unsigned expected = 0;
  const int scanned = std::sscanf(text.c_str(), "%X%n", &expected, &expected_consumed);
#endif
  InputStream in = InputFromText(text, false);
  int32_t value = 0;
  const ReadResult result = ReadHex(in, value);
  const ReadResult expected_result = scanned == 1   ? ReadResult::kValue
                                     : scanned == 0 ? ReadResult::kNotANumber
                                                    : ReadResult::kEnd;
  if (result != expected_result) return ::testing::AssertionFailure() << "outcome differs on \"" << text << '"';
  if (scanned == 1 && static_cast<unsigned>(value) != static_cast<unsigned>(expected)) {
    return ::testing::AssertionFailure() << "value " << value << " differs on \"" << text << '"';
  }
  const std::size_t white_space = text.find_first_not_of(" \t\n\v\f\r");
  if ((scanned == 1 && Consumed(in, text) != static_cast<std::size_t>(expected_consumed)) ||
      (scanned == 0 && Consumed(in, text) != white_space)) {
    return ::testing::AssertionFailure() << "consumed " << Consumed(in, text) << " on \"" << text << '"';
  }
  return ::testing::AssertionSuccess();
}

TEST(ReadHex, AgreesWithScanfOnGeneratedTokens) {
  const char* signs[] = {"", "+", "-"};
  const char* prefixes[] = {"", "0x", "0X", "0"};
  const char* digits[] = {
      "",       "0",        "7",        "f",        "A",         "1F",       "ff",
      "00001F", "7FFFFFFF", "80000000", "FFFFFFFF", "123456789", "DeadBeef", "0000000000000000000000000000001f"};
  const char* tails[] = {"", " ", "\n5", "G", "xyz", "-1", "0x1", "\t", "g1"};
  for (const char* sign : signs) {
    for (const char* prefix : prefixes) {
      for (const char* digit : digits) {
        for (const char* tail : tails) ASSERT_TRUE(SameAsScanf(std::string("  ") + sign + prefix + digit + tail));
      }
    }
  }
}

TEST(ReadHex, AgreesWithScanfOnRandomTokens) {
  std::mt19937 random(2019);
  constexpr char kAlphabet[] = "0123456789abcdefABCDEF0000xX+-G ";
  for (int i = 0; i < 200000; ++i) {
    std::string text(1 + random() % 12, ' ');
    for (char& c : text) c = kAlphabet[random() % (sizeof kAlphabet - 1)];
    ASSERT_TRUE(SameAsScanf(text));
  }
}

TEST(ReadHex, KeepsTheLow32BitsOfLongNumbers) {
  struct Case {
    const char* text;
    uint32_t value;
  };
  for (const Case& c :
       {Case{"123456789", 0x23456789u}, Case{"FFFFFFFFFFFFFFFFF1", 0xFFFFFFF1u}, Case{"-100000001", 0xFFFFFFFFu}}) {
    InputStream in = InputFromText(c.text, false);
    int32_t value = 0;
    ASSERT_EQ(ReadHex(in, value), ReadResult::kValue) << c.text;
    EXPECT_EQ(static_cast<uint32_t>(value), c.value) << c.text;
  }
}

TEST(ReadDecimal, ReadsAsPercentDDoes) {
  struct Case {
    const char* text;
    ReadResult result;
    int32_t value;
    std::size_t consumed;
  };
  const Case cases[] = {
      {" 2", ReadResult::kValue, 2, 2},
      {"3A", ReadResult::kValue, 3, 1},
      {"-12 ", ReadResult::kValue, -12, 3},
      {"+7", ReadResult::kValue, 7, 2},
      {"99999999999", ReadResult::kValue, 1215752191, 11},  // low 32 bits
      {"-A", ReadResult::kNotANumber, 77, 1},               // the sign is consumed
      {"x", ReadResult::kNotANumber, 77, 0},
      {"  -", ReadResult::kNotANumber, 77, 3},  // a lone sign at the end, too
      {" \r\n", ReadResult::kEnd, 77, 3},
  };
  for (const Case& c : cases) {
    const std::string text = c.text;
    InputStream in = InputFromText(text, false);
    int32_t value = 77;
    EXPECT_EQ(ReadDecimal(in, value), c.result) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
    EXPECT_EQ(Consumed(in, text), c.consumed) << c.text;
  }
}

TEST(ReadInteger, RejectsNumbersOutsideThe32BitRange) {
  for (const char* text : {"2147483648", "-2147483649", "99999999999"}) {
    InputStream in = InputFromText(text, false);
    int32_t value = 77;
    EXPECT_EQ(ReadInteger(in, value), ReadResult::kNotANumber) << text;
    EXPECT_EQ(value, 77);
  }
  for (const auto& [text, expected] : {std::pair{"2147483647", INT32_MAX}, std::pair{"-2147483648", INT32_MIN}}) {
    InputStream in = InputFromText(text, false);
    int32_t value = 0;
    EXPECT_EQ(ReadInteger(in, value), ReadResult::kValue);
    EXPECT_EQ(value, expected);
  }
}

TEST(ReadToken, SplitsOnCLocaleWhiteSpaceAndCutsLongTokens) {
  const std::string text = "a\tb\vc\fd\re\nf " + std::string(300, 'x') + "y next";
  InputStream in = InputFromText(text, false);
  TokenBuffer token;
  for (const char* expected : {"a", "b", "c", "d", "e", "f"}) {
    ASSERT_TRUE(ReadToken(in, token));
    EXPECT_STREQ(token.data(), expected);
  }
  ASSERT_TRUE(ReadToken(in, token));
  EXPECT_EQ(std::string(token.data()), std::string(254, 'x'));
  ASSERT_TRUE(ReadToken(in, token));
  EXPECT_STREQ(token.data(), "next");
  EXPECT_FALSE(ReadToken(in, token));
}

TEST(ReadToken, ControlZEndsACaptureFile) {
  const std::string text = "one tw\x1Ao three";
  InputStream in = InputFromText(text, true);
  TokenBuffer token;
  ASSERT_TRUE(ReadToken(in, token));
  ASSERT_TRUE(ReadToken(in, token));
  EXPECT_STREQ(token.data(), "tw");
  EXPECT_FALSE(ReadToken(in, token));
}

// Tokens that straddle the reader's block boundaries read as if whole.
TEST(ReadHex, TokensAcrossBlockBoundaries) {
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  std::string text;
  std::vector<uint32_t> expected;
  // Each "-0x1F" starts a few bytes before or after a multiple of 128 KiB.
  for (std::size_t k = 0; k < 15; ++k) {
    const std::size_t start = (k + 1) * 131072 + k - 7;
    text += std::string(start - text.size(), ' ');
    text += "-0x1F 0";
    expected.push_back(0xFFFFFFE1u);
    expected.push_back(0u);
  }
  text += " " + std::string(200000, '0') + "1f";
  expected.push_back(0x1Fu);
  std::fwrite(text.data(), 1, text.size(), file);
  std::fflush(file);
  ::lseek(fileno(file), 0, SEEK_SET);
  InputStream in = InputFromDescriptor(fileno(file), false);
  int32_t value = 0;
  for (uint32_t want : expected) {
    ASSERT_EQ(ReadHex(in, value), ReadResult::kValue);
    EXPECT_EQ(static_cast<uint32_t>(value), want);
  }
  EXPECT_EQ(ReadHex(in, value), ReadResult::kEnd);
  std::fclose(file);
}

}  // namespace
