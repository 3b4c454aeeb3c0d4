#include "setupcheck/ProductFiles.h"

#include <filesystem>
#include <system_error>

namespace setupcheck {

namespace {
char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The name in the listing's form, or false when it climbs out of the directory.
bool Normalise(const std::string& name, std::string& out) {
  std::vector<std::string> parts;
  size_t at = 0;
  while (at <= name.size()) {
    size_t sep = name.find('\\', at);
    if (sep == std::string::npos) sep = name.size();
    const std::string part = name.substr(at, sep - at);
    if (part == "..") {
      if (parts.empty()) return false;
      parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    at = sep + 1;
  }
  out.clear();
  for (const std::string& part : parts) out += (out.empty() ? "" : "\\") + part;
  return !out.empty();
}
}  // namespace

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

FileLookup FindProductFile(const ProductFiles& files, const std::string& name) {
  FileLookup found;
  std::string wanted;
  if (!Normalise(name, wanted)) return found;
  for (const std::string& path : files.paths) {
    if (path == wanted) {
      found.exact = true;
      found.otherCase.clear();
      return found;
    }
    if (found.otherCase.empty() && SameNameIgnoringCase(path, wanted)) found.otherCase = path;
  }
  return found;
}

bool ListProductFiles(const std::string& dir, ProductFiles& files) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path root(dir);
  if (!fs::is_directory(root, error)) return false;
  fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, error);
  if (error) return false;
  for (const fs::recursive_directory_iterator end; it != end; it.increment(error)) {
    if (error) return false;
    if (!it->is_regular_file(error)) continue;
    std::string relative;
    for (const fs::path& part : it->path().lexically_relative(root))
      relative += (relative.empty() ? "" : "\\") + part.string();
    files.paths.push_back(relative);
  }
  return true;
}

}  // namespace setupcheck
