// Text made safe for the pages: markup, controls and bytes that are not UTF-8 escaped, valid UTF-8 kept.
#include "text/html_text.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

using namespace hkcsv;

namespace {

TEST(HtmlTextTest, EscapesMarkupControlsAndBadUtf8) {
  struct Case {
    std::string_view text;
    std::string_view html;
  };
  using namespace std::string_view_literals;
  const Case cases[] = {
      {"<b>&", "&lt;b&gt;&amp;"},
      {"\"it's\"", "&quot;it&#39;s&quot;"},
      {"a\tb\r\n", "a\\x09b\\x0D\\x0A"},
      {"\0\x1F\x7F"sv, "\\x00\\x1F\\x7F"},
      {"back\\slash ~", "back\\slash ~"},
      {"\x80", "\\x80"},                                               // a lone continuation byte
      {"\xE3\x81", "\\xE3\\x81"},                                      // a 3-byte sequence cut short by the end
      {"\xE3\x81x", "\\xE3\\x81x"},                                    // and by an ASCII byte
      {"\xE3\xC3\xA9", "\\xE3\xC3\xA9"},                               // and by a valid sequence, which stays
      {"\xC0\xAF", "\\xC0\\xAF"},                                      // overlong '/'
      {"\xE0\x80\xAF", "\\xE0\\x80\\xAF"},                             // overlong in three bytes
      {"\xF0\x8F\xBF\xBF", "\\xF0\\x8F\\xBF\\xBF"},                    // overlong U+FFFF
      {"\xED\xA0\x80", "\\xED\\xA0\\x80"},                             // surrogate U+D800
      {"\xED\x9F\xBF", "\xED\x9F\xBF"},                                // U+D7FF, just below
      {"\xEE\x80\x80", "\xEE\x80\x80"},                                // U+E000, just above
      {"\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},                    // U+110000
      {"\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"},                        // U+10FFFF
      {"\xF5\x80\x80\x80", "\\xF5\\x80\\x80\\x80"},                    // lead byte above F4
      {"\xFE\xFF", "\\xFE\\xFF"},                                      // never in UTF-8
      {"\xC2\x80\xC2\x9F", "\\xC2\\x80\\xC2\\x9F"},                    // C1 controls
      {"\xC2\xA0\xC3\xA9", "\xC2\xA0\xC3\xA9"},                        // U+00A0, U+00E9
      {"\xEF\xBF\xBE\xEF\xBF\xBF", "\\xEF\\xBF\\xBE\\xEF\\xBF\\xBF"},  // U+FFFE, U+FFFF
      {"\xEF\xBF\xBD", "\xEF\xBF\xBD"},                                // U+FFFD
      {"解析ソフト", "解析ソフト"},
      {"\xF0\x9F\x9B\xB0", "\xF0\x9F\x9B\xB0"},  // U+1F6F0, four bytes
  };
  for (const Case& c : cases) {
    std::string out = "kept:";
    AppendHtmlText(out, c.text);
    EXPECT_EQ(out, "kept:" + std::string(c.html)) << c.html;
  }
  // Messages keep their text but no byte that acts on a terminal: DEL too.
  std::string message = "kept:";
  AppendControlsEscaped(message, "a\x7F\x1B[2J\n\xC3\xA9<");
  EXPECT_EQ(message, "kept:a\\x7F\\x1B[2J\\x0A\xC3\xA9<");
}

}  // namespace
