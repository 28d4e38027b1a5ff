// A capture file as the reader tells it: what was counted in it, the events
// of its reading, and where its text comes from.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "capture/decoded_frame.h"
#include "capture/pass_header.h"

namespace hkcsv {

struct CaptureCounts {
  std::uint64_t tokens = 0;          // after the pass header, skipped ones included
  std::uint64_t packets = 0;         // markers found, a packet cut short included
  std::uint64_t frames = 0;          // frames read whole
  std::uint64_t skipped_tokens = 0;  // tokens that are no hex number
  std::uint64_t cut_short = 0;       // packets cut short by the end of the file
};

// One capture file, once it is read.
struct CaptureFile {
  int open_error = 0;  // the open's result code: 0, or the error number
  int read_error = 0;  // the error number of a failed read; the file was read up to there
  PassHeader header;
  // The number of frames its packets were read with: its header's, or the
  // one carried over from the file before when its header gives none.
  int32_t frames_per_packet = 0;
  CaptureCounts counts;
};

// How the text of a skipped token comes: in pieces, for a token may be
// longer than any buffer.
enum class TokenPart { kStart, kPiece, kEnd };

// What the reader tells its caller as it reads. Every member may be empty:
// hkcsv writes its CSV files and problem lines from them, hkreport keeps the
// headers, the frames and the counts.
struct CaptureEvents {
  // Each capture file as it is opened, before anything of it is read: its
  // path and the open's result code.
  std::function<void(const std::string& path, int open_error)> opened;
  // The pass header once it is read (or the file ended inside it), before
  // the first frame.
  std::function<void(const PassHeader& header)> header;
  // Each frame read whole.
  std::function<void(const DecodedFrame& frame)> frame;
  // A token of the dump that is no hex number, skipped: kStart, its text in
  // pieces (kPiece), kEnd.
  std::function<void(TokenPart part, std::string_view text)> skipped_token;
  // The file ended inside a packet; its frames read whole were handed on.
  std::function<void()> cut_short;
  // Each capture file once it is read to its end, or could not be.
  std::function<void(const CaptureFile& file)> read;
};

// A capture to read: the file at `path`, or, where `text` is given, that
// text under the name `path` (tests and fuzzers read captures from memory).
struct CaptureSource {
  std::string path;
  std::optional<std::string_view> text;
};

}  // namespace hkcsv
