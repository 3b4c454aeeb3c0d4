#include "support/Records.h"

#include <windows.h>

#include <algorithm>

#include "platform/FileSystem.h"
#include "setupcore/RemovePlan.h"
#include "support/Files.h"

std::vector<std::string> RecordLines(const std::string& path) {
  std::vector<std::string> lines;
  if (!FileExists(path)) return lines;
  const std::string text = ReadFileBytes(path);
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find("\r\n", at);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

std::vector<std::string> RecordedFiles(const std::string& uninstallRecord) {
  std::vector<std::string> lines = RecordLines(uninstallRecord);
  // The title first; the two shortcuts, the group and the last target last.
  if (lines.size() < 5) return {};
  return std::vector<std::string>(lines.begin() + 1, lines.end() - 4);
}

std::string InstalledProgramsList() {
  TempDir dir("uninstlist");
  SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
  HANDLE out = CreateFileA((dir / "list.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = si.hStdError = out;
  PROCESS_INFORMATION pi = {};
  char line[] = "uninstaller.exe --list";
  if (CreateProcessA(nullptr, line, nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si,
                     &pi)) {
    WaitForSingleObject(pi.hProcess, 60000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  CloseHandle(out);
  std::string text = ReadFileBytes(dir / "list.txt");
  text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());  // wide or narrow alike
  return text;
}

std::vector<std::string> CleanUpCopies() {
  std::vector<std::string> found;
  const std::string temp = WindowsDirectory() + "\\Temp";
  for (const std::string& name : FileNames(temp))
    if (IsCleanUpCopyPath(temp + "\\" + name, WindowsDirectory(), WesternCodePage()))
      found.push_back(temp + "\\" + name);
  return found;
}
