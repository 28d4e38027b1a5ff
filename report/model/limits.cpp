// The limits file: its lines parsed into each channel's limits, and values classed by them.
#include "report/model/limits.h"

#include <charconv>
#include <cstring>
#include <system_error>

#include "platform/files.h"
#include "text/number_format.h"
#include "text/text_output.h"

namespace hkcsv {

namespace {

// The column name, then the four limits in ascending order.
constexpr std::size_t kCells = 1 + kLimitSides;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsBlankLine(std::string_view line) {
  for (const char c : line) {
    if (!IsBlank(c)) return false;
  }
  return true;
}

// Splits `line` at its commas into trimmed cells; keeps the first kCells and
// returns how many there are.
std::size_t SplitCells(std::string_view line, std::array<std::string_view, kCells>& cells) {
  std::size_t count = 0;
  for (;;) {
    const std::size_t comma = line.find(',');
    if (count < kCells) cells[count] = Trim(line.substr(0, comma));
    ++count;
    if (comma == std::string_view::npos) return count;
    line.remove_prefix(comma + 1);
  }
}

std::size_t SkipDigits(std::string_view text, std::size_t at) {
  while (at < text.size() && IsDigit(text[at])) ++at;
  return at;
}

// An optional sign, digits, optionally a point and more digits, optionally
// an exponent: e or E, an optional sign and digits. Nothing else, so that no
// inf, nan or hexadecimal form gets through to from_chars.
bool IsDecimalNumber(std::string_view text) {
  std::size_t at = 0;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
  std::size_t end = SkipDigits(text, at);
  if (end == at) return false;
  at = end;
  if (at < text.size() && text[at] == '.') {
    end = SkipDigits(text, at + 1);
    if (end == at + 1) return false;
    at = end;
  }
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    ++at;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    end = SkipDigits(text, at);
    if (end == at) return false;
    at = end;
  }
  return at == text.size();
}

enum class NumberResult { kValue, kNotANumber, kOutOfRange };

NumberResult ParseNumber(std::string_view text, double& value) {
  if (!IsDecimalNumber(text)) return NumberResult::kNotANumber;
  // from_chars takes a minus sign but no plus sign.
  if (text.front() == '+') text.remove_prefix(1);
  const char* const end = text.data() + text.size();
  const std::from_chars_result result = std::from_chars(text.data(), end, value);
  // Both overflow and underflow to zero are out of range.
  if (result.ec == std::errc::result_out_of_range) return NumberResult::kOutOfRange;
  if (result.ec != std::errc() || result.ptr != end) return NumberResult::kNotANumber;
  return NumberResult::kValue;
}

// A cell echoed in a message: at most kEchoedCellMax bytes, a longer one cut
// there and ending with "...".
constexpr std::size_t kEchoedCellMax = 64;

std::string Clipped(std::string_view cell) {
  if (cell.size() <= kEchoedCellMax) return std::string(cell);
  return std::string(cell.substr(0, kEchoedCellMax)) + "...";
}

// The engineering channel of a data CSV column name, or -1.
int FindChannel(std::string_view name) {
  for (int i = 0; i < kEngineeringChannels; ++i) {
    if (name == kHkColumns[static_cast<std::size_t>(kFirstEngineeringSlot + i)].name) return i;
  }
  return -1;
}

void AppendQuoted(std::string& out, std::string_view text) {
  out += '"';
  out += text;
  out += '"';
}

std::string LineMessage(std::string_view file_name, std::size_t line_number) {
  std::string message(file_name);
  message += ':';
  AppendUnsigned(message, line_number);
  message += ": ";
  return message;
}

// Checks the cells of one line with the right number of cells. Returns an
// empty text when the line is good and has set `limits`, else what is wrong.
// `first_lines` holds the line number of each channel's first line, 0 if none.
std::string CheckLine(const std::array<std::string_view, kCells>& cells, std::size_t line_number,
                      std::array<std::size_t, kEngineeringChannels>& first_lines, LimitTable& limits) {
  std::string wrong;
  const int channel = FindChannel(cells[0]);
  if (channel < 0) {
    wrong = "unknown column ";
    AppendQuoted(wrong, Clipped(cells[0]));
    return wrong;
  }
  std::size_t& first_line = first_lines[static_cast<std::size_t>(channel)];
  if (first_line != 0) {
    AppendQuoted(wrong, Clipped(cells[0]));
    wrong += " appears again (first on line ";
    AppendUnsigned(wrong, first_line);
    wrong += ')';
    return wrong;
  }
  first_line = line_number;

  ChannelLimits values;
  for (std::size_t i = 0; i < kLimitSides; ++i) {
    const std::string_view cell = cells[i + 1];
    if (cell.empty()) continue;
    double value = 0.0;
    const NumberResult result = ParseNumber(cell, value);
    if (result != NumberResult::kValue) {
      wrong = kLimitSideInfo[i].name;
      wrong += ' ';
      AppendQuoted(wrong, Clipped(cell));
      wrong += result == NumberResult::kOutOfRange ? " is out of the range of a double" : " is not a number";
      return wrong;
    }
    values[i] = value;
  }

  // The given limits must not decrease; comparing each with the previous
  // given one is enough.
  std::size_t previous = kLimitSides;
  for (std::size_t i = 0; i < kLimitSides; ++i) {
    if (!values[i]) continue;
    if (previous != kLimitSides && *values[previous] > *values[i]) {
      wrong = kLimitSideInfo[previous].name;
      wrong += ' ';
      wrong += Clipped(cells[previous + 1]);
      wrong += " is above ";
      wrong += kLimitSideInfo[i].name;
      wrong += ' ';
      wrong += Clipped(cells[i + 1]);
      return wrong;
    }
    previous = i;
  }

  limits[static_cast<std::size_t>(channel)] = values;
  return wrong;
}

}  // namespace

const char* LimitBandName(LimitBand band) {
  switch (band) {
    case LimitBand::kRed:
      return "red";
    case LimitBand::kYellow:
      return "yellow";
    case LimitBand::kInside:
      break;
  }
  return "ok";
}

LimitBand Classify(const ChannelLimits& limits, double value) {
  const auto beyond = [&](LimitSide side) {
    const std::optional<double>& limit = limits[side];
    return limit && (kLimitSideInfo[side].low ? value < *limit : value > *limit);
  };
  if (beyond(kRedLow) || beyond(kRedHigh)) return LimitBand::kRed;
  if (beyond(kYellowLow) || beyond(kYellowHigh)) return LimitBand::kYellow;
  return LimitBand::kInside;
}

bool ParseLimits(std::string_view text, std::string_view file_name, LimitTable& limits,
                 std::vector<std::string>& errors) {
  limits = LimitTable{};
  const std::size_t errors_before = errors.size();
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());

  std::array<std::size_t, kEngineeringChannels> first_lines{};
  std::size_t line_number = 0;
  while (!text.empty()) {
    const std::size_t line_end = text.find('\n');
    std::string_view line = text.substr(0, line_end);
    text.remove_prefix(line_end == std::string_view::npos ? text.size() : line_end + 1);
    ++line_number;
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (IsBlankLine(line) || line.front() == '#') continue;

    std::array<std::string_view, kCells> cells;
    const std::size_t count = SplitCells(line, cells);
    std::string wrong;
    if (count != kCells) {
      wrong = "expected ";
      AppendUnsigned(wrong, kCells);
      wrong += " cells, found ";
      AppendUnsigned(wrong, count);
    } else {
      wrong = CheckLine(cells, line_number, first_lines, limits);
    }
    if (!wrong.empty()) errors.push_back(LineMessage(file_name, line_number) + wrong);
  }
  return errors.size() == errors_before;
}

bool ReadLimits(const std::string& path, LimitTable& limits, std::vector<std::string>& errors) {
  limits = LimitTable{};
  std::string text;
  if (const int error = ReadWholeFile(path, text)) {
    errors.push_back(path + ": " + ErrorText(error));
    return false;
  }
  return ParseLimits(text, path, limits, errors);
}

}  // namespace hkcsv
