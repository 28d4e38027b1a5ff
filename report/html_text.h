// Text from capture files, file names and the command line, made safe for
// the report's pages: a page must stay well-formed XML whatever bytes the
// input holds.
#pragma once

#include <string>
#include <string_view>

namespace hkcsv {

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

}  // namespace hkcsv
