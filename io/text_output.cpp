#include "io/text_output.h"

#include <cerrno>
#include <cstring>

#include "io/number_format.h"

namespace {

constexpr std::size_t kBlockSize = 64 * 1024;

void Append(OutputStream& out, const char* bytes, std::size_t count) {
  while (count > 0) {
    if (out.used == kBlockSize) Flush(out);
    const std::size_t room = kBlockSize - out.used;
    const std::size_t taken = count < room ? count : room;
    std::memcpy(out.block.get() + out.used, bytes, taken);
    out.used += taken;
    bytes += taken;
    count -= taken;
  }
}

}  // namespace

OutputStream OutputToFile(std::FILE* file, bool crlf_line_ends) {
  OutputStream out;
  out.file = file;
  out.crlf_line_ends = crlf_line_ends;
  out.block = std::make_unique<char[]>(kBlockSize);
  return out;
}

OutputStream OutputToMemory(std::string* memory, bool crlf_line_ends) {
  OutputStream out;
  out.memory = memory;
  out.crlf_line_ends = crlf_line_ends;
  out.block = std::make_unique<char[]>(kBlockSize);
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

char* Reserve(OutputStream& out, std::size_t count) {
  if (kBlockSize - out.used < count) Flush(out);
  return out.block.get() + out.used;
}

void WriteText(OutputStream& out, std::string_view text) {
  if (!out.crlf_line_ends) {
    Append(out, text.data(), text.size());
    return;
  }
  std::size_t line_end;
  while ((line_end = text.find('\n')) != std::string_view::npos) {
    Append(out, text.data(), line_end);
    Append(out, "\r\n", 2);
    text.remove_prefix(line_end + 1);
  }
  Append(out, text.data(), text.size());
}

void WriteToken(OutputStream& out, const char* token) { Append(out, token, std::strlen(token)); }

void WriteLineEnd(OutputStream& out) {
  if (out.crlf_line_ends) {
    Append(out, "\r\n", 2);
  } else {
    Append(out, "\n", 1);
  }
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
