// One function per part of the workbook package, each returning the part's complete
// XML: the declaration, one line feed, then the document on one line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "export/deflate.h"
#include "results/result_set.h"

namespace velquist {

std::string ContentTypesXml();
std::string PackageRelsXml();
std::string CorePropertiesXml(const ResultSet& set, std::string_view timestamp);
std::string WorkbookXml(const ResultSet& set);
std::string WorkbookRelsXml();
std::string StylesXml();
// The parts that name columns expect at least one.
// The results: frozen header row and first column, AutoFilter, typed and styled cells.
// Large sheets are written by up to four threads at once, each taking a run of the rows;
// the text is the same as from one.
std::string ResultsSheetXml(const ResultSet& set);
// The same text, written by the given number of threads (at least one, at most one per
// row), whatever the size: for tests and benchmarks that choose it.
std::string ResultsSheetXml(const ResultSet& set, std::size_t threads);
// The same text in pieces for the compressor, one per thread that wrote it (see
// DeflatePiece), with the CRC-32 and the length of the whole text.
struct SheetBuffer {
  std::string text;
  std::size_t begin = 0;  // the piece's own bytes are text[begin, end)
  std::size_t end = 0;
};
struct SheetPieces {
  std::vector<SheetBuffer> buffers;
  std::uint32_t crc = 0;
  std::size_t size = 0;
  // Views into the buffers, valid while they are.
  std::vector<DeflatePiece> Pieces() const;
};
SheetPieces ResultsSheetPieces(const ResultSet& set);
SheetPieces ResultsSheetPieces(const ResultSet& set, std::size_t threads);
// What was exported, from where and when.
std::string AboutSheetXml(const ResultSet& set, std::string_view timestamp);

}  // namespace velquist
