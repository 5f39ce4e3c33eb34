// The standard namespace and relationship-type URIs of Office Open XML packages, and the
// fixed pieces that several parts share.
#pragma once

#include <string>
#include <string_view>

namespace velquist {

inline constexpr std::string_view kXmlDeclaration =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";

// Both sheets print with the same margins.
inline constexpr std::string_view kPageMargins =
    "<pageMargins left=\"0.5\" right=\"0.5\" top=\"0.75\" bottom=\"0.75\" header=\"0.3\" "
    "footer=\"0.3\"/>";

inline constexpr std::string_view kSpreadsheetNs =
    "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
inline constexpr std::string_view kRelationshipsNs =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
inline constexpr std::string_view kContentTypesNs =
    "http://schemas.openxmlformats.org/package/2006/content-types";
inline constexpr std::string_view kPackageRelsNs =
    "http://schemas.openxmlformats.org/package/2006/relationships";
inline constexpr std::string_view kCorePropertiesNs =
    "http://schemas.openxmlformats.org/package/2006/metadata/core-properties";

inline constexpr std::string_view kOfficeDocumentRel =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument";
inline constexpr std::string_view kCorePropertiesRel =
    "http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties";
inline constexpr std::string_view kWorksheetRel =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet";
inline constexpr std::string_view kStylesRel =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles";

// The start tag of a workbook or worksheet root, left open: the main namespace and the
// relationships namespace as r.
inline void AppendSpreadsheetRoot(std::string& out, std::string_view element) {
  out += '<';
  out += element;
  out += " xmlns=\"";
  out += kSpreadsheetNs;
  out += "\" xmlns:r=\"";
  out += kRelationshipsNs;
  out += '"';
}

}  // namespace velquist
