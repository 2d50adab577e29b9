#pragma once
// A DAISY 2.02 talking book as the converter needs it: the headings and page
// numbers of its ncc.html in reading order, each at a point of the book's
// audio, and that audio as one line of clips (the SMIL files in the order the
// ncc.html first names them, each file's clips in document order).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "tools/orvabook/markup_tree.h"

namespace orva::orvabook {

struct DaisyClip {
  std::string audio;  // host path of the audio file
  double begin = 0;   // seconds into it
};

struct DaisyEntry {
  int level = 0;         // 1 to 6 for a heading, 0 for a page number
  std::string text;      // the heading, or the page's number as printed
  std::size_t clip = 0;  // its first clip; the number of clips when no audio follows it
  // A heading's section as the book's text documents give it, paragraph by
  // paragraph (its own heading left out); empty when the book has none.
  std::vector<std::string> texts;
};

struct DaisyBook {
  std::string title;
  std::string language;  // as the ncc.html declares it; may be empty
  std::vector<DaisyClip> clips;
  std::vector<DaisyEntry> entries;  // headings and page numbers, in reading order
};

// `ncc`: the host path of the book's ncc.html. Throws std::runtime_error
// whose text names the file and line at fault ("FILE:LINE: ...") for a book
// it cannot read, or whose headings go back in the reading.
DaisyBook ReadDaisyBook(const std::string& ncc, const DocumentReader& reader);

// A SMIL clock value in seconds: "npt=" optionally, then hh:mm:ss.f,
// mm:ss.f, or a number with h, min, s (the default) or ms. Throws
// std::invalid_argument for anything else.
double ParseClockValue(std::string_view text);

}  // namespace orva::orvabook
