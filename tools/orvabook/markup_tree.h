#pragma once
// A document read whole, as a tree of elements and text with the line each
// element starts on: what the DAISY converter needs of the ncc.html, the
// SMIL files and the text documents of a book, and what lets it name the
// line of a fault.

#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orva::orvabook {

struct MarkupNode {
  std::string tag;   // an element's name (lower case in HTML); empty for text
  std::string text;  // a text node's text, UTF-8
  long line = 0;
  std::vector<std::pair<std::string, std::string>> attributes;
  std::vector<MarkupNode> children;

  // The attribute's value; empty when the element has none.
  std::string Attribute(std::string_view name) const;
  // All the text below, in document order, blanks collapsed as a browser
  // shows them.
  std::string Text() const;
};

// A document that cannot be read; `line` is 0 when no line is to blame.
class MarkupError : public std::runtime_error {
 public:
  MarkupError(long line, const std::string& message) : std::runtime_error(message), line_(line) {}
  long Line() const { return line_; }

 private:
  long line_;
};

class DocumentReader {
 public:
  virtual ~DocumentReader() = default;
  // HTML as a browser reads it, recovering from broken markup and decoding
  // the declared character set.
  virtual MarkupNode ReadHtml(std::string_view bytes) const = 0;
  // XML that must be well formed; throws MarkupError at its first fault.
  // Nothing is fetched: a DOCTYPE's DTD is not read.
  virtual MarkupNode ReadXml(std::string_view bytes) const = 0;
};

}  // namespace orva::orvabook
