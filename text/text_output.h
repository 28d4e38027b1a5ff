// Buffered formatted output to a file descriptor or to memory. Writes are
// collected in a block and handed on in large pieces; the bytes are those that
// the corresponding printf formats would give.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace hkcsv {

// The UTF-8 byte-order mark: spreadsheets on Windows need it to read UTF-8,
// and a text file saved by Notepad may start with it.
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

inline constexpr std::size_t kOutputBlockSize = 64 * 1024;

struct OutputStream {
  int descriptor = -1;            // the destination, or -1 for `memory`
  File file;                      // the file behind `descriptor` when the stream owns it
  std::string* memory = nullptr;  // the destination of tests and fuzzers
  bool crlf_line_ends = false;    // CSV files store each "\n" as CR LF
  std::unique_ptr<char[]> block;
  std::size_t used = 0;
  int error = 0;  // the error number of the first failed write; later output is dropped
};

// Output to a file that the stream owns: closed by CloseOutput, or when the
// stream goes out of scope.
OutputStream OutputToFile(File file, bool crlf_line_ends);
// Output to a descriptor that stays open: standard output or error.
OutputStream OutputToDescriptor(int descriptor, bool crlf_line_ends);
OutputStream OutputToMemory(std::string* memory, bool crlf_line_ends);

// Hands the collected bytes to the destination.
void Flush(OutputStream& out);
// Flushes and closes an owned file. Returns 0, or the error number of the
// first failure, of a write or of the close.
int CloseOutput(OutputStream& out);

// Room for `count` more bytes (count <= kOutputBlockSize) at the end of the
// block; the caller writes them there and adds what it wrote to `used`.
inline char* Reserve(OutputStream& out, std::size_t count) {
  if (kOutputBlockSize - out.used < count) Flush(out);
  return out.block.get() + out.used;
}

// More bytes than a block holds, handed on past the block.
void WriteLargeBytes(OutputStream& out, std::string_view bytes);

// Bytes as they are: text that holds no line end.
inline void WriteBytes(OutputStream& out, std::string_view bytes) {
  if (bytes.size() <= 256) {
    std::memcpy(Reserve(out, bytes.size()), bytes.data(), bytes.size());
    out.used += bytes.size();
  } else if (bytes.size() < kOutputBlockSize) {
    for (std::size_t at = 0; at < bytes.size(); at += 256) WriteBytes(out, bytes.substr(at, 256));
  } else {
    WriteLargeBytes(out, bytes);
  }
}

// The line end "\n", stored as CR LF in a CSV file; returns its end.
inline char* PutLineEnd(const OutputStream& out, char* at) {
  if (out.crlf_line_ends) *at++ = '\r';
  *at++ = '\n';
  return at;
}

inline void WriteLineEnd(OutputStream& out) {
  char* at = Reserve(out, 2);
  out.used += static_cast<std::size_t>(PutLineEnd(out, at) - at);
}

// Text with "\n" as the line end ("%s" of a format literal).
void WriteText(OutputStream& out, std::string_view text);
// A token as "%s" shows it: up to its first NUL byte. Tokens hold no line end.
inline void WriteToken(OutputStream& out, const char* token) { WriteBytes(out, token); }
void WriteHex(OutputStream& out, int32_t value);      // "%X"
void WriteDecimal(OutputStream& out, int32_t value);  // "%d"

}  // namespace hkcsv
