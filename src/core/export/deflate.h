// Raw deflate (RFC 1951) with one final block of fixed Huffman codes and greedy matching
// on hash chains. Simple and deterministic: the output bytes depend only on the input.
#pragma once

#include <string>
#include <string_view>

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

// Upper bound of the stream length for an input of n bytes: a literal costs at most 9 bits
// and a match never costs more than 9 bits per byte it covers.
constexpr std::size_t DeflateFixedBound(std::size_t n) { return n + n / 8 + 16; }

}  // namespace velquist
