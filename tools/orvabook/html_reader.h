#pragma once
// What the book checker reads of a page: the same things the player asks of
// the page its browser has loaded, and nothing more. The elements that carry
// a name or an id, with the attributes the player reads of them (a META's
// content, an anchor's href), and the document's title, which the browser
// gives as the page's location name.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orva::orvabook {

struct MarkupElement {
  std::string tag;  // lower case
  std::string name;
  std::string id;
  std::string content;
  std::string href;  // as written in the page, not yet resolved
};

class PageMarkup {
 public:
  // The title element's text as the browser's document.title gives it:
  // runs of blanks made one, none at either end.
  std::string title;

  void Add(MarkupElement element);
  const std::vector<MarkupElement>& Elements() const { return elements_; }
  // The first element, in document order, whose name or id is exactly
  // `nameOrId`, as the player's look-up finds it; nullptr when none is.
  const MarkupElement* All(std::string_view nameOrId) const;
  // The content of that element; empty when there is none.
  std::string Content(std::string_view nameOrId) const;

 private:
  std::vector<MarkupElement> elements_;
  std::unordered_map<std::string, std::size_t> first_;
};

// A parser of HTML as a browser parses it: it recovers from broken markup and
// decodes the page's declared character set.
class HtmlReader {
 public:
  virtual ~HtmlReader() = default;
  // Throws std::runtime_error with the parser's words for a page it cannot
  // read at all.
  virtual PageMarkup Read(std::string_view bytes) const = 0;
};

// Blanks (space, tab, line ends, form feed) collapsed and trimmed, as
// document.title gives a title.
std::string CollapseBlanks(std::string_view text);

}  // namespace orva::orvabook
