#include "backends/libxml_html/libxml_html_reader.h"

#include <libxml/HTMLparser.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <climits>
#include <memory>
#include <new>
#include <stdexcept>
#include <vector>

#include "common/runtime/utf8.h"

namespace orva::orvabook {

namespace {

std::string Text(const xmlChar* text) { return text ? reinterpret_cast<const char*>(text) : std::string(); }

std::string Attribute(xmlNode* node, const char* name) {
  xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
  std::string out = Text(value);
  xmlFree(value);
  return out;
}

std::string TextContent(xmlNode* node) {
  xmlChar* value = xmlNodeGetContent(node);
  std::string out = Text(value);
  xmlFree(value);
  return out;
}

bool HasAttribute(xmlNode* node, const char* name) {
  return xmlHasProp(node, reinterpret_cast<const xmlChar*>(name)) != nullptr;
}

bool IsUtf8(std::string_view bytes) {
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::size_t at = pos;
    if (DecodeUtf8Char(bytes, pos) == kReplacementChar && bytes.substr(at, 3) != "\xEF\xBF\xBD") return false;
  }
  return true;
}

using Doc = std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)>;

Doc Parse(std::string_view bytes, const char* encoding) {
  // Nothing is fetched, and the parser's complaints about the markup are
  // the browser's business too: it shows such pages all the same.
  const int options = HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET;
  return Doc(htmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, encoding, options),
             &xmlFreeDoc);
}

[[noreturn]] void ThrowLastError(const xmlError* error, const char* fallback) {
  throw MarkupError(error ? error->line : 0,
                    error && error->message ? CollapseBlanks(error->message) : fallback);
}

// Deeper than any book's markup; a limit keeps a hostile file from
// exhausting the stack of the tree's builders and readers.
constexpr int kMaxDepth = 256;

MarkupNode Element(xmlNode* node, int depth) {
  MarkupNode element;
  element.tag = Text(node->name);
  element.line = xmlGetLineNo(node);
  for (xmlAttr* attribute = node->properties; attribute; attribute = attribute->next)
    element.attributes.emplace_back(Text(attribute->name),
                                    Attribute(node, reinterpret_cast<const char*>(attribute->name)));
  for (xmlNode* child = node->children; child; child = child->next) {
    if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE) {
      MarkupNode text;
      text.text = Text(child->content);
      element.children.push_back(std::move(text));
    } else if (child->type == XML_ELEMENT_NODE) {
      if (depth >= kMaxDepth) throw MarkupError(xmlGetLineNo(child), "elementi annidati troppo a fondo");
      element.children.push_back(Element(child, depth + 1));
    }
  }
  return element;
}

MarkupNode Tree(xmlDoc* doc) {
  xmlNode* root = xmlDocGetRootElement(doc);
  if (root == nullptr) throw MarkupError(0, "il documento è vuoto");
  return Element(root, 0);
}

}  // namespace

PageMarkup LibxmlHtmlReader::Read(std::string_view bytes) const {
  if (bytes.size() > INT_MAX) throw std::runtime_error("pagina troppo grande");
  Doc doc = Parse(bytes, nullptr);
  // A page that declares no character set and is not UTF-8 was written in
  // the Windows code page, which is what the browser reads it in; the
  // parser's own guess would turn its accented letters into others.
  if (doc && doc->encoding == nullptr && !IsUtf8(bytes)) doc = Parse(bytes, "windows-1252");
  if (!doc) {
    const xmlError* error = xmlGetLastError();
    throw std::runtime_error(error && error->message ? CollapseBlanks(error->message) : "HTML illeggibile");
  }
  PageMarkup page;
  bool titleSeen = false;
  // Depth first, in document order, without recursion: a page may nest
  // deeper than the stack would like.
  std::vector<xmlNode*> pending{xmlDocGetRootElement(doc.get())};
  while (!pending.empty()) {
    xmlNode* node = pending.back();
    pending.pop_back();
    if (node == nullptr) continue;
    if (node->next) pending.push_back(node->next);
    if (node->type != XML_ELEMENT_NODE) continue;
    if (node->children) pending.push_back(node->children);
    const std::string tag = Text(node->name);
    if (tag == "title" && !titleSeen) {
      titleSeen = true;
      page.title = CollapseBlanks(TextContent(node));
    }
    if (!HasAttribute(node, "name") && !HasAttribute(node, "id")) continue;
    page.Add({tag, Attribute(node, "name"), Attribute(node, "id"), Attribute(node, "content"),
              Attribute(node, "href")});
  }
  return page;
}

MarkupNode LibxmlDocumentReader::ReadHtml(std::string_view bytes) const {
  if (bytes.size() > INT_MAX) throw MarkupError(0, "file troppo grande");
  Doc doc = Parse(bytes, nullptr);
  // Without a declared character set the parser would take Latin-1; a
  // text that is valid UTF-8 is UTF-8, anything else the Windows code page.
  if (doc && doc->encoding == nullptr) doc = Parse(bytes, IsUtf8(bytes) ? "UTF-8" : "windows-1252");
  if (!doc) ThrowLastError(xmlGetLastError(), "HTML illeggibile");
  return Tree(doc.get());
}

MarkupNode LibxmlDocumentReader::ReadXml(std::string_view bytes) const {
  if (bytes.size() > INT_MAX) throw MarkupError(0, "file troppo grande");
  const std::unique_ptr<xmlParserCtxt, decltype(&xmlFreeParserCtxt)> context(xmlNewParserCtxt(),
                                                                             &xmlFreeParserCtxt);
  if (!context) throw std::bad_alloc();
  // Entities are not expanded and no DTD is loaded: nothing outside the
  // file is read.
  const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_BIG_LINES;
  const Doc doc(xmlCtxtReadMemory(context.get(), bytes.data(), static_cast<int>(bytes.size()), nullptr,
                                  nullptr, options),
                &xmlFreeDoc);
  if (!doc) ThrowLastError(xmlCtxtGetLastError(context.get()), "XML illeggibile");
  return Tree(doc.get());
}

}  // namespace orva::orvabook
