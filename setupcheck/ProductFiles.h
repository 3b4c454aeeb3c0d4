#pragma once
// The files of a product directory, named as the script names them: relative paths with a
// backslash between their parts.
#include <string>
#include <vector>

namespace setupcheck {

struct ProductFiles {
  std::vector<std::string> paths;  // every file below the directory, relative to it
};

// How a script's name is found among the files.
struct FileLookup {
  bool exact = false;     // there as written
  std::string otherCase;  // else the one file that differs from it in letter case alone, if any
};

// Looks a name up as the installer's copy would: empty parts and "." are skipped, ".." goes up
// a level. A name that leaves the directory is not found.
FileLookup FindProductFile(const ProductFiles& files, const std::string& name);

// Lists the files below dir (files only, directories walked into). False when dir is no
// directory that can be read.
bool ListProductFiles(const std::string& dir, ProductFiles& files);

// Compares without regard to the case of the ASCII letters, as the file system does.
bool SameNameIgnoringCase(const std::string& a, const std::string& b);

}  // namespace setupcheck
