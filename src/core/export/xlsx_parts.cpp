// The small parts of the workbook package: fixed templates with a few escaped values.
#include "export/xlsx_parts.h"

#include <initializer_list>

#include "export/xlsx_constants.h"
#include "export/xlsx_layout.h"
#include "export/xml_escape.h"
#include "results/format.h"
#include "site_constants.h"

namespace velquist {
namespace {

constexpr std::string_view kSheetType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml";

struct Relationship {
  std::string_view id, type, target;
};

// A relationships part listing the given relationships.
std::string RelationshipsXml(std::initializer_list<Relationship> relationships) {
  std::string out(kXmlDeclaration);
  out += "<Relationships xmlns=\"";
  out += kPackageRelsNs;
  out += "\">";
  for (const Relationship& r : relationships) {
    out += "<Relationship Id=\"";
    out += r.id;
    out += "\" Type=\"";
    out += r.type;
    out += "\" Target=\"";
    out += r.target;
    out += "\"/>";
  }
  out += "</Relationships>";
  return out;
}

void AppendOverride(std::string& out, std::string_view part, std::string_view type) {
  out += "<Override PartName=\"";
  out += part;
  out += "\" ContentType=\"";
  out += type;
  out += "\"/>";
}

struct CellFormat {
  int numFmt;
  int font;
  int fill;
  int border;
  bool alignRight;
};

// The cellXfs list, in the order of XlsxStyle.
constexpr CellFormat kCellFormats[] = {
    {0, 0, 0, 0, false},   {0, 1, 2, 1, false},   {0, 0, 0, 0, false}, {164, 0, 0, 0, false},
    {165, 0, 0, 0, false}, {10, 0, 0, 0, false},  {4, 0, 0, 0, false}, {3, 0, 0, 0, false},
    {166, 0, 0, 0, false}, {167, 0, 0, 0, false}, {0, 2, 0, 0, false}, {2, 0, 0, 0, false},
    {0, 1, 2, 1, true},    {0, 3, 0, 0, false},   {0, 1, 0, 0, false},
};

// One xf of cellXfs; the apply flags name what differs from the default format.
void AppendCellFormat(std::string& out, const CellFormat& f) {
  out += "<xf numFmtId=\"" + std::to_string(f.numFmt) + "\" fontId=\"" + std::to_string(f.font) +
         "\" fillId=\"" + std::to_string(f.fill) + "\" borderId=\"" + std::to_string(f.border) +
         "\" xfId=\"0\"";
  if (f.numFmt != 0) out += " applyNumberFormat=\"1\"";
  if (f.font != 0) out += " applyFont=\"1\"";
  if (f.fill != 0) out += " applyFill=\"1\"";
  if (f.border != 0) out += " applyBorder=\"1\"";
  if (f.alignRight) {
    out += " applyAlignment=\"1\"><alignment horizontal=\"right\"/></xf>";
  } else {
    out += "/>";
  }
}

}  // namespace

std::string ContentTypesXml() {
  std::string out(kXmlDeclaration);
  out += "<Types xmlns=\"";
  out += kContentTypesNs;
  out +=
      "\"><Default Extension=\"rels\" "
      "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
      "<Default Extension=\"xml\" ContentType=\"application/xml\"/>";
  AppendOverride(out, "/xl/workbook.xml",
                 "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml");
  AppendOverride(out, "/xl/worksheets/sheet1.xml", kSheetType);
  AppendOverride(out, "/xl/worksheets/sheet2.xml", kSheetType);
  AppendOverride(out, "/xl/styles.xml",
                 "application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml");
  AppendOverride(out, "/docProps/core.xml",
                 "application/vnd.openxmlformats-package.core-properties+xml");
  out += "</Types>";
  return out;
}

std::string PackageRelsXml() {
  return RelationshipsXml({{"rId1", kOfficeDocumentRel, "xl/workbook.xml"},
                           {"rId2", kCorePropertiesRel, "docProps/core.xml"}});
}

std::string CorePropertiesXml(const ResultSet& set, std::string_view timestamp) {
  std::string out(kXmlDeclaration);
  out += "<cp:coreProperties xmlns:cp=\"";
  out += kCorePropertiesNs;
  out +=
      "\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
      "xmlns:dcterms=\"http://purl.org/dc/terms/\" "
      "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><dc:title>";
  AppendXmlEscaped(out, ScreenerTitle(set));
  out += "</dc:title><dc:creator>Velquist</dc:creator><dc:description>Screener results from ";
  AppendXmlEscaped(out, SiteHost);
  out += "</dc:description><dcterms:created xsi:type=\"dcterms:W3CDTF\">";
  AppendXmlEscaped(out, timestamp);
  out += "</dcterms:created></cp:coreProperties>";
  return out;
}

std::string WorkbookXml(const ResultSet& set) {
  const std::string_view name = SheetName(set);
  std::string out(kXmlDeclaration);
  AppendSpreadsheetRoot(out, "workbook");
  out +=
      "><bookViews><workbookView xWindow=\"0\" yWindow=\"0\" windowWidth=\"20000\" "
      "windowHeight=\"12000\" activeTab=\"0\"/></bookViews><sheets><sheet name=\"";
  out += name;
  out +=
      "\" sheetId=\"1\" r:id=\"rId1\"/><sheet name=\"About\" sheetId=\"2\" r:id=\"rId2\"/>"
      "</sheets><definedNames><definedName name=\"_xlnm._FilterDatabase\" localSheetId=\"0\" "
      "hidden=\"1\">";
  out += name;
  out +=
      "!$A$1:$" + ColumnLetters(set.columns.size() - 1) + "$" + std::to_string(set.rows.size() + 1);
  out += "</definedName></definedNames></workbook>";
  return out;
}

std::string WorkbookRelsXml() {
  return RelationshipsXml({{"rId1", kWorksheetRel, "worksheets/sheet1.xml"},
                           {"rId2", kWorksheetRel, "worksheets/sheet2.xml"},
                           {"rId3", kStylesRel, "styles.xml"}});
}

std::string StylesXml() {
  std::string out(kXmlDeclaration);
  out += "<styleSheet xmlns=\"";
  out += kSpreadsheetNs;
  out +=
      "\"><numFmts count=\"4\"><numFmt numFmtId=\"164\" formatCode=\"$#,##0\"/>"
      "<numFmt numFmtId=\"165\" formatCode=\"$#,##0.00\"/>"
      "<numFmt numFmtId=\"166\" formatCode=\"yyyy-mm-dd\"/>"
      "<numFmt numFmtId=\"167\" formatCode=\"0.0&quot;x&quot;\"/></numFmts>"
      "<fonts count=\"4\">"
      "<font><sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/></font>"
      "<font><b/><sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/></font>"
      "<font><u/><sz val=\"11\"/><color rgb=\"FF0563C1\"/><name val=\"Calibri\"/>"
      "<family val=\"2\"/></font>"
      "<font><b/><sz val=\"14\"/><name val=\"Calibri\"/><family val=\"2\"/></font></fonts>"
      "<fills count=\"3\"><fill><patternFill patternType=\"none\"/></fill>"
      "<fill><patternFill patternType=\"gray125\"/></fill>"
      "<fill><patternFill patternType=\"solid\"><fgColor rgb=\"FFE5E7EB\"/>"
      "<bgColor indexed=\"64\"/></patternFill></fill></fills>"
      "<borders count=\"2\"><border><left/><right/><top/><bottom/><diagonal/></border>"
      "<border><left/><right/><top/><bottom style=\"thin\"><color rgb=\"FF9CA3AF\"/></bottom>"
      "<diagonal/></border></borders>"
      "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/>"
      "</cellStyleXfs><cellXfs count=\"15\">";
  for (const CellFormat& f : kCellFormats) AppendCellFormat(out, f);
  out +=
      "</cellXfs><cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/>"
      "</cellStyles></styleSheet>";
  return out;
}

}  // namespace velquist
