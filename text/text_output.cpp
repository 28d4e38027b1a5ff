// The block writer: output collected in blocks and handed on in large pieces.
#include "text/text_output.h"

#include "text/number_format.h"

namespace hkcsv {

OutputStream OutputToDescriptor(int descriptor, bool crlf_line_ends) {
  OutputStream out;
  out.descriptor = descriptor;
  out.crlf_line_ends = crlf_line_ends;
  out.block = std::make_unique_for_overwrite<char[]>(kOutputBlockSize);
  return out;
}

OutputStream OutputToFile(File file, bool crlf_line_ends) {
  OutputStream out = OutputToDescriptor(file.descriptor(), crlf_line_ends);
  out.file = std::move(file);
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
  } else if (out.descriptor >= 0 && out.error == 0) {
    out.error = WriteAll(out.descriptor, out.block.get(), out.used);
  }
  out.used = 0;
}

void WriteLargeBytes(OutputStream& out, std::string_view bytes) {
  Flush(out);
  if (out.memory) {
    out.memory->append(bytes);
  } else if (out.descriptor >= 0 && out.error == 0) {
    out.error = WriteAll(out.descriptor, bytes.data(), bytes.size());
  }
}

int CloseOutput(OutputStream& out) {
  Flush(out);
  const int error = CloseFile(out.file);
  out.descriptor = -1;
  if (out.error == 0) out.error = error;
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

}  // namespace hkcsv
