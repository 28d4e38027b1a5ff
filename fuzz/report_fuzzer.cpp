// The report's own handling of arbitrary input: a limits file of any bytes,
// page text of any bytes (zone tokens and point titles among it), and chart
// series of any times and values. Nothing
// may crash, and the text put on the page must stay well-formed: no raw
// markup character, no control byte, only valid UTF-8.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "report/charts/charts.h"
#include "report/charts/svg_chart.h"
#include "report/model/limits.h"
#include "text/html_text.h"

using namespace hkcsv;

namespace {

// A byte the escaped text may not hold, or an invalid UTF-8 sequence.
bool SafeText(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte == '<' || byte == '>' || byte == '"' || byte == '\'' || byte < 0x20 || byte == 0x7F) return false;
    if (byte == '&' && text.compare(i, 5, "&amp;") != 0 && text.compare(i, 4, "&lt;") != 0 &&
        text.compare(i, 4, "&gt;") != 0 && text.compare(i, 6, "&quot;") != 0 && text.compare(i, 5, "&#39;") != 0) {
      return false;
    }
    if (byte >= 0x80) {
      const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC2 ? 2 : 0;
      if (length == 0 || i + length > text.size()) return false;
      for (std::size_t k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
      }
      i += length - 1;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  LimitTable limits;
  std::vector<std::string> errors;
  ParseLimits(text, "limits.txt", limits, errors);

  std::string escaped;
  AppendHtmlText(escaped, text);
  if (!SafeText(escaped)) __builtin_trap();

  // Every 12 bytes a sample: a time, a value, and which of two series and
  // segments it joins.
  TimeSeries series[2];
  std::uint32_t seq = 0;
  for (std::size_t at = 0; at + 12 <= size; at += 12, ++seq) {
    double t;
    float v;
    std::memcpy(&t, data + at, sizeof t);
    std::memcpy(&v, data + at + 8, sizeof v);
    AddSample(series[seq % 2], {t, v, seq, static_cast<std::uint32_t>(data[at] % 3)});
  }
  // The lines of the input as zone tokens, and each sample's point titled
  // and linked with the input.
  std::vector<std::string> zones;
  for (std::size_t at = 0; at <= text.size();) {
    const std::size_t end = std::min(text.find('\n', at), text.size());
    zones.emplace_back(text.substr(at, end - at));
    at = end + 1;
  }
  const std::vector<PointLink> links(seq, PointLink{text, text, static_cast<double>(size)});
  ChartInput chart{"c",
                   "Chart <&>",
                   "Value [V]",
                   TimeAxisTitle(zones),
                   {{"a", &series[0], &links}, {"b\xFF", &series[1]}},
                   LimitLines(&limits, std::vector<int>{0, 1, 2}, size % 2 == 0),
                   seq};
  chart.point_marker = size % 3 == 0 ? "m" : "";
  for (const ChannelLimits& limit : limits) {
    if (limit[kRedHigh]) chart.limits.push_back({"red high", *limit[kRedHigh], true});
    if (limit[kYellowLow]) chart.limits.push_back({"yellow low", *limit[kYellowLow], false});
  }
  std::string html;
  AppendChart(html, chart);
  if (html.find("<figure") != 0 || html.find("</figure>") == std::string::npos) __builtin_trap();
  return 0;
}
