#include "Groups.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstring>

namespace {
const size_t kMaxName = 200;

bool HasControlOrReserved(const std::string& s, const char* reserved) {
  for (char c : s)
    if (static_cast<unsigned char>(c) < 32 || std::strchr(reserved, c)) return true;
  return false;
}

// A group may name sub-folders with "\", but must stay below the programs folder.
bool SafeGroup(const std::string& g) {
  if (g.empty() || g.size() > kMaxName || HasControlOrReserved(g, "/:*?\"<>|")) return false;
  size_t start = 0;
  while (start <= g.size()) {
    size_t end = g.find('\\', start);
    if (end == std::string::npos) end = g.size();
    const std::string part = g.substr(start, end - start);
    if (part == "." || part == "..") return false;
    start = end + 1;
  }
  return g.find_first_not_of("\\ ") != std::string::npos;
}

bool SafeTitle(const std::string& t) {
  return !t.empty() && t.size() <= kMaxName && !HasControlOrReserved(t, "\\/:*?\"<>|") &&
         t != "." && t != ".." && t.find_first_not_of(' ') != std::string::npos;
}

bool IsDir(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// Creates every missing directory of the path, from the top down.
bool MakeDirs(const std::string& path) {
  for (size_t i = 3; i <= path.size(); ++i) {
    if (i < path.size() && path[i] != '\\') continue;
    const std::string part = path.substr(0, i);
    if (part.empty() || part.back() == '\\' || IsDir(part)) continue;
    if (!CreateDirectoryA(part.c_str(), nullptr) && !IsDir(part)) return false;
  }
  return IsDir(path);
}

// The program and its arguments: a quoted program runs to the closing quote, another one to
// the first blank.
void SplitCommandLine(const std::string& cmd, std::string& program, std::string& args) {
  size_t end;
  if (!cmd.empty() && cmd[0] == '"') {
    end = cmd.find('"', 1);
    program = cmd.substr(1, end == std::string::npos ? std::string::npos : end - 1);
    end = end == std::string::npos ? cmd.size() : end + 1;
  } else {
    end = cmd.find(' ');
    if (end == std::string::npos) end = cmd.size();
    program = cmd.substr(0, end);
  }
  const size_t rest = cmd.find_first_not_of(' ', end);
  args = rest == std::string::npos ? std::string() : cmd.substr(rest);
}

// Removes the directory and everything below it; false when anything stays.
bool RemoveTree(const std::string& dir) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      const std::string full = dir + "\\" + name;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(full);
      else DeleteFileA(full.c_str());
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  return RemoveDirectoryA(dir.c_str()) != FALSE;
}

std::string DirOf(const std::string& path) {
  size_t cut = path.find_last_of('\\');
  return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

// A shell link through the shell's own object; where that is missing, a plain file holding
// the command line stands in for it.
bool WriteShortcut(const std::string& file, const std::string& program, const std::string& args,
                   const std::string& workDir, const std::string& icon, int iconIndex) {
  bool made = false;
  IShellLinkA* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link)))) {
    link->SetPath(program.c_str());
    link->SetArguments(args.c_str());
    if (!workDir.empty()) link->SetWorkingDirectory(workDir.c_str());
    if (!icon.empty()) link->SetIconLocation(icon.c_str(), iconIndex);
    IPersistFile* persist = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
      wchar_t wide[MAX_PATH] = {};
      if (MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH) > 0)
        made = SUCCEEDED(persist->Save(wide, TRUE));
      persist->Release();
    }
    link->Release();
  }
  if (made) return true;
  HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const std::string text = "\"" + program + "\"" + (args.empty() ? "" : " " + args) + "\r\n";
  DWORD written = 0;
  bool ok = WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
            written == text.size();
  CloseHandle(h);
  return ok;
}
}  // namespace

std::string ProgramGroups::GroupDir(const std::string& group) const {
  return programs_ + "\\" + group;
}

bool ProgramGroups::Run(const std::vector<MacroCommand>& commands, std::string& group) const {
  for (const MacroCommand& c : commands) {
    bool ok = false;
    if (lstrcmpiA(c.name.c_str(), "CreateGroup") == 0) ok = CreateGroup(c.args, group);
    else if (lstrcmpiA(c.name.c_str(), "ShowGroup") == 0) ok = ShowGroup(c.args, group);
    else if (lstrcmpiA(c.name.c_str(), "ReplaceItem") == 0) ok = ReplaceItem(c.args, group);
    else if (lstrcmpiA(c.name.c_str(), "AddItem") == 0) ok = AddItem(c.args, group);
    else if (lstrcmpiA(c.name.c_str(), "DeleteGroup") == 0) ok = DeleteGroup(c.args, group);
    if (!ok) return false;
  }
  return true;
}

// CreateGroup(name[,common]): makes the group if it is not there and makes it current.
bool ProgramGroups::CreateGroup(const std::vector<std::string>& args, std::string& group) const {
  if (args.empty() || args.size() > 2 || !SafeGroup(args[0])) return false;
  if (!MakeDirs(GroupDir(args[0]))) return false;
  group = args[0];
  return true;
}

// ShowGroup(name,mode[,common]) chooses an existing group, which here has nothing to draw. The
// show command alone is refused, as the shell refuses it.
bool ProgramGroups::ShowGroup(const std::vector<std::string>& args, std::string& group) const {
  if (args.size() < 2 || args.size() > 3 || !SafeGroup(args[0]) || !IsDir(GroupDir(args[0])))
    return false;
  const std::string& mode = args[1];
  if (mode.empty() || mode.find_first_not_of("0123456789") != std::string::npos) return false;
  group = args[0];
  return true;
}

// ReplaceItem(title): the item goes, so that the next AddItem takes its place. An item that is
// not there is refused, as the shell refuses it.
bool ProgramGroups::ReplaceItem(const std::vector<std::string>& args, const std::string& group) const {
  if (group.empty() || args.size() != 1 || !SafeTitle(args[0])) return false;
  const std::string file = GroupDir(group) + "\\" + args[0] + ".lnk";
  return DeleteFileA(file.c_str()) != FALSE;
}

// AddItem(command[,title[,icon[,index[,x,y[,directory[,...]]]]]]).
bool ProgramGroups::AddItem(const std::vector<std::string>& args, const std::string& group) const {
  if (group.empty() || args.empty() || args.size() > 10 || args[0].empty() ||
      args[0].size() > MAX_PATH)
    return false;
  std::string program, arguments;
  SplitCommandLine(args[0], program, arguments);
  if (program.empty()) return false;
  std::string title = args.size() > 1 ? args[1] : std::string();
  if (title.empty()) {
    // Without a title the item is named after the program file, without its extension.
    const size_t cut = program.find_last_of("\\:");
    title = cut == std::string::npos ? program : program.substr(cut + 1);
    const size_t dot = title.find_last_of('.');
    if (dot != std::string::npos && dot > 0) title.erase(dot);
  }
  if (!SafeTitle(title)) return false;
  const std::string icon = args.size() > 2 ? args[2] : std::string();
  const int iconIndex = args.size() > 3 ? atoi(args[3].c_str()) : 0;
  const std::string workDir = args.size() > 6 && !args[6].empty() ? args[6] : DirOf(program);
  const std::string file = GroupDir(group) + "\\" + title + ".lnk";
  if (file.size() >= MAX_PATH) return false;
  return WriteShortcut(file, program, arguments, workDir, icon, iconIndex);
}

// DeleteGroup(name[,common]): the group goes with its items; a group that is not there fails.
bool ProgramGroups::DeleteGroup(const std::vector<std::string>& args, std::string& group) const {
  if (args.empty() || args.size() > 2 || !SafeGroup(args[0]) || !IsDir(GroupDir(args[0])))
    return false;
  if (!RemoveTree(GroupDir(args[0]))) return false;
  if (lstrcmpiA(group.c_str(), args[0].c_str()) == 0) group.clear();
  return true;
}
