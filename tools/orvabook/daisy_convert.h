#pragma once
// A DAISY 2.02 book made a book of this player:
//  - Index.htm lists the headings at their levels, each linked to its page;
//  - Pagine/ holds one page per heading, titled with its own file name (the
//    player finds a page's folder from its title). The page plays the
//    section's audio files one after the other, the first from the
//    section's first clip, and chains to the next page in reading order;
//    its position index holds the heading, the sub-headings and the page
//    numbers that fall in its first audio file;
//  - Libro/ holds the audio, under names the player resolves the same way
//    from a page and from the audio before it;
//  - INCLUDE/ holds the sample book's style sheets, help page and splash
//    picture.
// Positions are whole seconds, rounded down: the player reads a position in
// the reader's locale, and a page that starts a little early loses no words.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/orvabook/daisy_book.h"

namespace orva::orvabook {

struct BookFile {
  std::string path;  // inside the book, "/" separated
  std::string bytes;
};

struct ConvertedBook {
  std::vector<BookFile> files;
  // Inside the book ("Libro/a01.mp3"), and the host file it is taken from.
  std::vector<std::pair<std::string, std::string>> audio;
  int pages = 0;
};

ConvertedBook ConvertDaisyBook(const DaisyBook& book);

// Throws std::runtime_error when `out` exists, or its parent folder does not.
void CheckNewFolder(const std::string& out);

// Writes the book into a new folder beside `out` and renames it `out` once
// it is whole; on any failure the new folder is removed and nothing is left
// behind. Audio files are hard-linked where the file system allows it, and
// copied otherwise.
void WriteBook(const ConvertedBook& book, const std::string& out);

// The sample book's INCLUDE files, built into the program.
struct IncludeFile {
  std::string_view name;
  std::string_view bytes;
};
const std::vector<IncludeFile>& SampleIncludeFiles();

}  // namespace orva::orvabook
