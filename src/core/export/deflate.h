// Raw deflate (RFC 1951) with one final block of fixed Huffman codes and greedy matching
// on hash chains. Simple and deterministic: the output bytes depend only on the input.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velquist {

// The raw deflate stream of bytes: no zlib or gzip wrapper.
std::string DeflateFixed(std::string_view bytes);

// Appends the raw deflate stream of bytes to out, so that a caller that builds a bigger
// buffer (the ZIP writer) needs no intermediate copy.
// Inputs of several MiB are worked on by up to four threads at once; the stream is the
// same as from one.
void AppendDeflateFixed(std::string_view bytes, std::string& out);

// The same stream, worked out in the given number of stretches of the input, one thread
// each, with no least stretch length: for tests and benchmarks that choose it.
void AppendDeflateFixed(std::string_view bytes, std::string& out, std::size_t stretches);

// One piece of a larger input, held in a buffer of its own: its own bytes are
// buffer[begin, end), and the pieces' own bytes one after the other make the input. Before
// begin the buffer holds the 32 KiB of the input before the piece (or all of it, when there
// is less), and after end the bytes of the input that follow it, as many as the caller
// chose to keep; the first piece begins at 0.
struct DeflatePiece {
  std::string_view buffer;
  std::size_t begin = 0;
  std::size_t end = 0;
};

// The stream of the whole input, appended to out, each piece worked on by a thread of its
// own; the stream is the same as from the joined input. False, with out as it was, when a
// piece's parse ran past the bytes kept after it before it met the next piece's parse
// (on real text they meet within a few tokens), or when a piece lacks its window: then
// the caller deflates the joined input instead.
bool AppendDeflateFixed(const std::vector<DeflatePiece>& pieces, std::string& out);

// Upper bound of the stream length for an input of n bytes: a literal costs at most 9 bits
// and a match never costs more than 9 bits per byte it covers.
constexpr std::size_t DeflateFixedBound(std::size_t n) { return n + n / 8 + 16; }

}  // namespace velquist
