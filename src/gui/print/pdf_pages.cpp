#include "gui/print/pdf_pages.h"

#include <exception>
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <vector>

namespace velquist {
namespace {

void Open(QPDF& document, const char* name, std::string_view bytes) {
  // Warnings about repaired damage stay out of the program's output; errors still throw.
  document.setSuppressWarnings(true);
  document.processMemoryFile(name, bytes.data(), bytes.size());
}

void SetError(std::string* error, const std::exception& e) {
  if (error) *error = e.what();
}

// Draws the form made of `under`'s page first, inside a saved graphics state, so that the
// page's own content (which paints its page area white) comes out on top of it. The
// report's pages paint only the area inside their margins, where the underlay has no text.
void PlaceUnder(QPDF& document, QPDFPageObjectHelper& page, QPDFObjectHandle form) {
  QPDFObjectHandle resources = page.getAttribute("/Resources", true);
  if (!resources.hasKey("/XObject")) {
    resources.replaceKey("/XObject", QPDFObjectHandle::newDictionary());
  }
  int suffix = 0;
  const std::string name = resources.getUniqueResourceName("/VqUnder", suffix);
  const std::string place =
      page.placeFormXObject(form, name, page.getTrimBox().getArrayAsRectangle());
  if (place.empty()) return;
  resources.getKey("/XObject").replaceKey(name, form);
  page.addPageContents(QPDFObjectHandle::newStream(&document, "q\n" + place + "Q\n"), true);
}

}  // namespace

int PdfPageCount(std::string_view pdf, std::string* error) {
  try {
    QPDF document;
    Open(document, "report", pdf);
    return static_cast<int>(document.getAllPages().size());
  } catch (const std::exception& e) {
    SetError(error, e);
    return -1;
  }
}

bool UnderlayPages(std::string_view pdf, std::string_view under, std::string& out,
                   std::string* error) {
  try {
    QPDF document;
    Open(document, "report", pdf);
    QPDF underlay;
    Open(underlay, "margins", under);
    std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(document).getAllPages();
    std::vector<QPDFPageObjectHelper> beneath = QPDFPageDocumentHelper(underlay).getAllPages();
    for (std::size_t i = 0; i < pages.size() && i < beneath.size(); ++i) {
      PlaceUnder(document, pages[i],
                 document.copyForeignObject(beneath[i].getFormXObjectForPage()));
    }
    QPDFWriter writer(document);
    writer.setOutputMemory();
    writer.write();
    const std::shared_ptr<Buffer> bytes = writer.getBufferSharedPointer();
    out.assign(reinterpret_cast<const char*>(bytes->getBuffer()), bytes->getSize());
    return true;
  } catch (const std::exception& e) {
    SetError(error, e);
    return false;
  }
}

}  // namespace velquist
