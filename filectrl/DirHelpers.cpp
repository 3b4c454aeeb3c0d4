#include "filectrl/DirHelpers.h"

#include <winnetwk.h>

#include <algorithm>
#include <vector>

#include "platform/Errors.h"
#include "ui/Graphics.h"
#include "platform/Messages.h"
#include "platform/ScopeExit.h"
#include "platform/SystemLibrary.h"
#include "platform/Text.h"

namespace {
const DWORD kLabelBufferSize = 261;
// "C:": a drive designator, the shortest path that names a directory the chain need not make.
const size_t kDriveDesignatorLength = 2;

// Enters the saved directory again when the scope ends. Restore() is the normal way out and
// reports a failure; the destructor only runs it when another error is already on its way, and
// that first error is the one the caller gets.
class CurrentDirectoryKeeper {
public:
  explicit CurrentDirectoryKeeper(std::string saved) : saved_(std::move(saved)) {}
  ~CurrentDirectoryKeeper() {
    if (!restored_) SetCurrentDirectoryA(saved_.c_str());
  }
  CurrentDirectoryKeeper(const CurrentDirectoryKeeper&) = delete;
  CurrentDirectoryKeeper& operator=(const CurrentDirectoryKeeper&) = delete;
  void Restore() {
    restored_ = true;
    EnterDirectory(saved_);
  }

private:
  std::string saved_;
  bool restored_ = false;
};

// An upper-case letter gets the label in upper case, anything from 'a' on in lower case.
std::string CasedLikeLetter(char letter, const std::string& text) {
  return static_cast<unsigned char>(letter) < 'a' ? UpperCase(text) : LowerCase(text);
}

std::string FromBuffer(const char* buffer, size_t size) {
  return std::string(buffer, std::find(buffer, buffer + size, '\0'));
}
}  // namespace

std::string CurrentDirectoryPath() {
  DWORD size = GetCurrentDirectoryA(0, nullptr);
  if (size == 0) RaiseLastInOutError();
  std::vector<char> buffer(size + 1);
  DWORD n = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
  if (n == 0 || n >= buffer.size()) RaiseLastInOutError();
  return std::string(buffer.data(), n);
}

void CreateDirectoryChain(const std::string& path) {
  // Walked from the innermost directory outwards and created on the way back, outermost first;
  // a loop rather than recursion, so that a long typed path cannot exhaust the stack.
  std::vector<std::string> missing;
  std::string dir = path;
  while (!dir.empty()) {
    if (dir.back() == '\\') dir.pop_back();
    if (dir.size() <= kDriveDesignatorLength || IsExistingDirectory(dir)) break;
    missing.push_back(dir);
    dir = DirectoryPart(dir);
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    // Not checked: the chain simply stays short, and the caller finds out when it uses it.
    CreateDirectoryA(it->c_str(), nullptr);
  }
}

EnteredPath SplitEnteredPath(const std::string& text) {
  const std::string saved = CurrentDirectoryPath();
  EnteredPath result;
  result.drive = saved[0];

  std::string dir = text;
  if (dir.size() >= 2 && dir.front() == '[' && dir.back() == ']') {
    dir = dir.substr(1, dir.size() - 2);
  } else if (dir.find(':') == 1) {
    result.drive = dir[0];
    dir.erase(0, 2);
  }

  CurrentDirectoryKeeper keeper(saved);
  // Exact comparison: a lower-case c differs from C and enters c:, which is harmless.
  if (result.drive != saved[0]) EnterDirectory(std::string(1, result.drive) + ":");

  std::string file = NamePart(dir);
  if (dir.size() == file.size() + 1) {
    dir = "\\";
  } else if (dir.size() > file.size()) {
    dir.resize(dir.size() - file.size() - 1);
  } else {
    const std::string current = CurrentDirectoryPath();
    dir = current.size() > 2 ? current.substr(2) : std::string();
  }

  if (!dir.empty()) EnterDirectory(dir);

  if (!file.empty() && file.find_first_of("*?") == std::string::npos && !IsExistingFile(file)) {
    EnterDirectory(file);
    dir = dir.size() == 1 ? Format("\\%s", file.c_str())
                          : Format("%s\\%s", dir.c_str(), file.c_str());
    file.clear();
  }

  keeper.Restore();
  result.directoryPart = dir;
  result.filePart = file;
  return result;
}

std::string FitPathToWidth(const std::string& path, HFONT font, int maxWidth) {
  ScreenDC dc;
  SelectedObject selected(dc.Get(), font);
  return FitPathToWidth(
      path,
      [&dc](const std::string& text) {
        SIZE size = {};
        GetTextExtentPoint32A(dc.Get(), text.data(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
      },
      maxWidth);
}

std::string VolumeLabelText(char letter) {
  const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS);
  ScopeExit restoreMode([previousMode]() noexcept { SetErrorMode(previousMode); });
  const std::string root = std::string(1, letter) + ":\\";
  char buffer[kLabelBufferSize] = {};
  std::string label;
  // A volume that cannot be read (no medium) is shown like one without a label; the drive is
  // still listed.
  if (GetVolumeInformationA(root.c_str(), buffer, kLabelBufferSize, nullptr, nullptr, nullptr,
                            nullptr, 0))
    label = FromBuffer(buffer, sizeof buffer);
  return Format("[%s]", CasedLikeLetter(letter, label).c_str());
}

std::string NetworkShareText(char letter) {
  const std::string local = std::string(1, letter) + ":";
  char buffer[kLabelBufferSize] = {};
  DWORD size = kLabelBufferSize;
  using GetConnectionFn = DWORD(WINAPI*)(LPCSTR, LPSTR, LPDWORD);
  auto getConnection = SystemFunctionOf<GetConnectionFn>("mpr.dll", "WNetGetConnectionA");
  if (!getConnection || getConnection(local.c_str(), buffer, &size) != NO_ERROR)
    return VolumeLabelText(letter);
  return CasedLikeLetter(letter, FromBuffer(buffer, sizeof buffer));
}

int FontLineHeight(HFONT font) {
  ScreenDC dc;
  SelectedObject selected(dc.Get(), font);
  TEXTMETRICA metrics = {};
  if (!GetTextMetricsA(dc.Get(), &metrics)) return 0;
  return static_cast<int>(metrics.tmHeight);
}
