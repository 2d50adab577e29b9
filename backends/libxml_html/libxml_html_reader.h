#pragma once
// The book checker's HTML reader on libxml2's HTML parser: it recovers from
// broken markup as a browser does, and decodes the character set a page
// declares in its META elements (Windows-1252 for a page that declares none
// and is not UTF-8, as the browser reads such a page).

#include "tools/orvabook/html_reader.h"
#include "tools/orvabook/markup_tree.h"

namespace orva::orvabook {

class LibxmlHtmlReader final : public HtmlReader {
 public:
  PageMarkup Read(std::string_view bytes) const override;
};

// The DAISY converter's reader of whole documents: HTML as above, and XML
// on libxml2's XML parser, which stops at the first fault and names its line.
class LibxmlDocumentReader final : public DocumentReader {
 public:
  MarkupNode ReadHtml(std::string_view bytes) const override;
  MarkupNode ReadXml(std::string_view bytes) const override;
};

}  // namespace orva::orvabook
