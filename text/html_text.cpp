// Escaping of text for pages, exports and messages.
#include "text/html_text.h"

#include "platform/files.h"
#include "text/number_format.h"

namespace hkcsv {

namespace {

// Appends the four characters \xHH (upper-case hex) of `byte`.
void AppendHexEscape(std::string& out, unsigned char byte) {
  out += "\\x";
  out += kHexDigits[byte >> 4];
  out += kHexDigits[byte & 0xF];
}

unsigned ByteAt(std::string_view text, std::size_t at) { return static_cast<unsigned char>(text[at]); }

// The length of the UTF-8 sequence at `at` when it is well-formed and its
// character may appear in XML text, else 0. The bounds of the second byte
// rule out overlong forms (E0, F0), surrogates (ED) and code points above
// U+10FFFF (F4); C0, C1 and F5 to FF never lead.
std::size_t AllowedSequenceLength(std::string_view text, std::size_t at) {
  const unsigned lead = ByteAt(text, at);
  std::size_t length = 0;
  unsigned second_low = 0x80;
  unsigned second_high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) second_low = 0xA0;
    if (lead == 0xED) second_high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) second_low = 0x90;
    if (lead == 0xF4) second_high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() - at < length) return 0;
  const unsigned second = ByteAt(text, at + 1);
  if (second < second_low || second > second_high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    const unsigned next = ByteAt(text, at + i);
    if (next < 0x80 || next > 0xBF) return 0;
  }
  if (lead == 0xC2 && second <= 0x9F) return 0;                                  // C1 control
  if (lead == 0xEF && second == 0xBF && ByteAt(text, at + 2) >= 0xBE) return 0;  // U+FFFE, U+FFFF
  return length;
}

// The replacement of an ASCII byte, or null when it stays as it is.
const char* AsciiReplacement(unsigned byte) {
  switch (byte) {
    case '&':
      return "&amp;";
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    case '"':
      return "&quot;";
    case '\'':
      return "&#39;";
    default:
      return nullptr;
  }
}

bool IsPlainAscii(unsigned byte) { return byte >= 0x20 && byte < 0x7F && AsciiReplacement(byte) == nullptr; }

// Appends the non-ASCII sequence at `at`, or its first byte escaped when it
// is not well-formed, and returns the position after it. Only that byte is
// escaped; the next is looked at afresh. The other bytes of a bad sequence
// are continuation bytes, which never start a sequence, so each of them is
// escaped in its turn.
std::size_t AppendSequence(std::string& out, std::string_view text, std::size_t at) {
  const std::size_t length = AllowedSequenceLength(text, at);
  if (length == 0) {
    AppendHexEscape(out, static_cast<unsigned char>(text[at]));
    return at + 1;
  }
  out.append(text, at, length);
  return at + length;
}

}  // namespace

void AppendControlsEscaped(std::string& out, std::string_view text) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      AppendHexEscape(out, byte);
    } else {
      out += c;
    }
  }
}

void AppendUtf8OrEscapes(std::string& out, std::string_view text) {
  std::size_t at = 0;
  while (at < text.size()) {
    if (ByteAt(text, at) < 0x80) {
      out += text[at++];
    } else {
      at = AppendSequence(out, text, at);
    }
  }
}

void AppendHtmlText(std::string& out, std::string_view text) {
  std::size_t at = 0;
  while (at < text.size()) {
    // Runs of bytes that stay as they are go in at once.
    std::size_t end = at;
    while (end < text.size() && IsPlainAscii(ByteAt(text, end))) ++end;
    out.append(text, at, end - at);
    at = end;
    if (at == text.size()) break;

    const unsigned byte = ByteAt(text, at);
    if (byte >= 0x80) {
      at = AppendSequence(out, text, at);
    } else if (const char* replacement = AsciiReplacement(byte)) {
      out += replacement;
      ++at;
    } else {
      AppendHexEscape(out, static_cast<unsigned char>(byte));  // a control byte
      ++at;
    }
  }
}

void AppendNarrow(std::string& html, std::string_view text) { AppendHtmlText(html, NarrowToUtf8(text)); }

std::size_t Utf8Prefix(std::string_view text, std::size_t most) {
  if (text.size() <= most) return text.size();
  std::size_t cut = most;
  while (cut > 0 && most - cut < 3 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return cut;
}

}  // namespace hkcsv
