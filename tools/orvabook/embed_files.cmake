# cmake -DOUTPUT=FILE.cpp -DFILES=A,B,... -P embed_files.cmake
# Writes a C++ source that holds the bytes of each file, for
# orva::orvabook::SampleIncludeFiles(): the converter gives every book it
# writes the sample book's INCLUDE folder, wherever the program is installed.
string(REPLACE "," ";" files "${FILES}")
set(arrays "")
set(entries "")
set(n 0)
foreach(file IN LISTS files)
  file(READ "${file}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  get_filename_component(name "${file}" NAME)
  string(APPEND arrays "const unsigned char kFile${n}[] = {${bytes}};\n")
  string(APPEND entries "      {\"${name}\", {reinterpret_cast<const char*>(kFile${n}), sizeof kFile${n}}},\n")
  math(EXPR n "${n} + 1")
endforeach()
file(WRITE "${OUTPUT}.new" "// Made by embed_files.cmake from the sample book's INCLUDE folder.
#include \"tools/orvabook/daisy_convert.h\"

namespace orva::orvabook {
namespace {
${arrays}}  // namespace

const std::vector<IncludeFile>& SampleIncludeFiles() {
  static const std::vector<IncludeFile> files = {
${entries}  };
  return files;
}

}  // namespace orva::orvabook
")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
