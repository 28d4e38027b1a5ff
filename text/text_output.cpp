#include "text/text_output.h"

#include <cerrno>

#include "text/number_format.h"

OutputStream OutputToFile(std::FILE* file, bool crlf_line_ends) {
  OutputStream out;
  out.file = file;
  out.crlf_line_ends = crlf_line_ends;
  out.block = std::make_unique_for_overwrite<char[]>(kOutputBlockSize);
  // Blocks are handed over whole: no second buffer below ours.
  std::setvbuf(file, nullptr, _IONBF, 0);
  return out;
}

OutputStream OutputToMemory(std::string* memory, bool crlf_line_ends) {
  OutputStream out;
  out.memory = memory;
  out.crlf_line_ends = crlf_line_ends;
  out.block = std::make_unique_for_overwrite<char[]>(kOutputBlockSize);
  return out;
}

void Flush(OutputStream& out) {
  if (out.memory) {
    out.memory->append(out.block.get(), out.used);
  } else if (out.file && out.error == 0) {
    errno = 0;
    if (std::fwrite(out.block.get(), 1, out.used, out.file) != out.used || std::fflush(out.file) != 0) {
      out.error = errno != 0 ? errno : EIO;
    }
  }
  out.used = 0;
}

int CloseOutput(OutputStream& out) {
  Flush(out);
  if (out.file) {
    errno = 0;
    if (std::fclose(out.file) != 0 && out.error == 0) out.error = errno != 0 ? errno : EIO;
    out.file = nullptr;
  }
  return out.error;
}

void WriteText(OutputStream& out, std::string_view text) {
  std::size_t line_end;
  while ((line_end = text.find('\n')) != std::string_view::npos) {
    WriteBytes(out, text.substr(0, line_end));
    WriteLineEnd(out);
    text.remove_prefix(line_end + 1);
  }
  WriteBytes(out, text);
}

void WriteHex(OutputStream& out, int32_t value) {
  char* at = Reserve(out, kHexTextMax);
  out.used += static_cast<std::size_t>(FormatHex(value, at) - at);
}

void WriteDecimal(OutputStream& out, int32_t value) {
  char* at = Reserve(out, kDecimalTextMax);
  out.used += static_cast<std::size_t>(FormatDecimal(value, at) - at);
}

void WriteFixed(OutputStream& out, double value) {
  char* at = Reserve(out, kFixedTextMax);
  out.used += static_cast<std::size_t>(FormatFixed(value, at) - at);
}
