// Text from capture files, file names and the command line, made safe where
// it is shown: on the report's pages, which must stay well-formed XML
// whatever bytes the input holds, in the export and in messages.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace hkcsv {

// Appends `text` with its control bytes (below 0x20, and 0x7F) as \xHH, so
// that no byte of a message acts on a terminal.
void AppendControlsEscaped(std::string& out, std::string_view text);

// Appends `text` as HTML/XML character data or attribute text: & < > " ' as
// &amp; &lt; &gt; &quot; &#39;, control bytes (00-1F, 7F, and the C1
// controls U+0080-U+009F) and bytes that are not valid UTF-8 (each byte of a
// bad sequence, overlong forms, surrogates, above U+10FFFF, and U+FFFE/U+FFFF
// which XML forbids) as the visible four characters \xHH (upper-case hex).
// Valid UTF-8 stays as it is.
void AppendHtmlText(std::string& out, std::string_view text);

// Appends `text` with only the bytes that are not well-formed UTF-8 (as
// above: a bad sequence, a C1 control, U+FFFE or U+FFFF) as \xHH; ASCII
// bytes, controls included, stay as they are.
void AppendUtf8OrEscapes(std::string& out, std::string_view text);

// Narrow text as it came from a capture file, a file name or the command line
// (on Windows in the ANSI code page), as HTML text.
void AppendNarrow(std::string& html, std::string_view text);

// The length of at most `most` bytes of `text` that ends at the start of a
// UTF-8 character (backing over at most three continuation bytes, so that
// text that is no UTF-8 is cut too).
std::size_t Utf8Prefix(std::string_view text, std::size_t most);

}  // namespace hkcsv
