// Raw deflate (RFC 1951) with one final block of fixed Huffman codes and greedy matching
// on hash chains. Simple and deterministic: the output bytes depend only on the input.
#pragma once

#include <functional>
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

// One piece of an input that is written piece by piece (see below): the piece, and whether
// its buffer holds the rest of the input after it, to the input's end.
struct WrittenPiece {
  DeflatePiece piece;
  bool toEnd = false;
};

// Writes piece `index` of an input, as DeflatePiece describes it, into `buffer`, which the
// calling thread reuses for each of its pieces (a writer whose pieces are held elsewhere
// may leave it alone). Called from several threads at once, for different pieces.
using DeflatePieceWriter = std::function<WrittenPiece(std::size_t index, std::string& buffer)>;

// The stream of an input of `pieces` pieces, appended to out, each piece written by `write`
// just before it is deflated, by up to `threads` threads (piece i by thread i % threads), so
// that each thread holds one piece at a time. sizeBound bounds the input's length and
// longestBuffer the buffers' lengths. False, with out as it was, in the cases given for the
// pieces above.
bool AppendDeflateFixed(std::size_t pieces, std::size_t threads, std::size_t sizeBound,
                        std::size_t longestBuffer, const DeflatePieceWriter& write,
                        std::string& out);

// Upper bound of the stream length for an input of n bytes: a literal costs at most 9 bits
// and a match never costs more than 9 bits per byte it covers.
constexpr std::size_t DeflateFixedBound(std::size_t n) { return n + n / 8 + 16; }

}  // namespace velquist
