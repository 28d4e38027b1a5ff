// Buffered formatted output to a stdio stream or to memory. Writes are
// collected in a block and handed on in large pieces; the bytes are those that
// the corresponding printf formats would give.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

struct OutputStream {
  std::FILE* file = nullptr;      // the destination, or null for `memory`
  std::string* memory = nullptr;  // the destination of tests and fuzzers
  bool crlf_line_ends = false;    // CSV files store each "\n" as CR LF
  std::unique_ptr<char[]> block;
  std::size_t used = 0;
  int error = 0;  // errno of the first failed write; later output is dropped
};

OutputStream OutputToFile(std::FILE* file, bool crlf_line_ends);
OutputStream OutputToMemory(std::string* memory, bool crlf_line_ends);

// Hands the collected bytes to the destination (and flushes the stdio stream).
void Flush(OutputStream& out);
// Flushes and closes the file. Returns 0, or the errno of the first failure.
int CloseOutput(OutputStream& out);

// Text with "\n" as the line end ("%s" of a format literal).
void WriteText(OutputStream& out, std::string_view text);
// A token as "%s" shows it: up to its first NUL byte. Tokens hold no line end.
void WriteToken(OutputStream& out, const char* token);
// The line end alone: "\n", or CR LF for a CSV file.
void WriteLineEnd(OutputStream& out);
void WriteHex(OutputStream& out, int32_t value);      // "%X"
void WriteDecimal(OutputStream& out, int32_t value);  // "%d"
void WriteFixed(OutputStream& out, double value);     // "%4f"

// Room for `count` more bytes (count <= 4096) at the end of the block; the
// caller writes them there and adds what it wrote to `used`.
char* Reserve(OutputStream& out, std::size_t count);
