#pragma once
// The mounted volumes of the machine, where a bookmark's audio may be found
// when a book has moved to another disc or stick. Books made on Windows name
// drives C to Z; here those letters stand for the mounted volumes in the
// order this list gives them: C for the first, D for the second, and so on.

#include <string>
#include <vector>

namespace orva {

class Volumes {
 public:
  virtual ~Volumes() = default;
  // The volumes' root folders as host paths ("/media/anna/LIBRO", "/"), in a
  // stable order: removable media first, then the others, each group by its
  // root folder sorted by byte value. Never throws: a list that cannot be
  // read is empty.
  virtual std::vector<std::string> MountedRoots() const = 0;
};

}  // namespace orva
