// One function per part of the workbook package, each returning the part's complete
// XML: the declaration, one line feed, then the document on one line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "export/zip.h"
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
std::string ResultsSheetXml(const ResultSet& set);
// The same text, written as the given number of pieces (see SheetPieceWriter) and joined.
std::string ResultsSheetXml(const ResultSet& set, std::size_t pieces);
// The same text in pieces for the compressor (see DeflatePieceWriter): the rows are cut into
// runs of a few MB, and Write writes one run with the bytes around it that the compressor
// needs. Write may be called from several threads at once for different pieces.
class SheetPieceWriter : public PieceSource {
 public:
  // As many pieces, and threads to write and compress them, as suit the sheet's size.
  explicit SheetPieceWriter(const ResultSet& set);
  // The given number of pieces (at least one, at most one per row), whatever the size: for
  // tests and benchmarks that choose it.
  SheetPieceWriter(const ResultSet& set, std::size_t pieces);
  ~SheetPieceWriter() override;
  SheetPieceWriter(const SheetPieceWriter&) = delete;
  SheetPieceWriter& operator=(const SheetPieceWriter&) = delete;

  std::size_t Pieces() const override;
  std::size_t Threads() const override;
  std::size_t SizeBound() const override;
  WrittenPiece Write(std::size_t index, std::string& buffer) override;
  std::uint32_t Crc() const override;
  std::size_t Size() const override;
  std::string Whole() override;

 private:
  struct Plan;
  std::unique_ptr<Plan> m_plan;
};

// What was exported, from where and when.
std::string AboutSheetXml(const ResultSet& set, std::string_view timestamp);

}  // namespace velquist
