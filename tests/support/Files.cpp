#include "support/Files.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>

#include "setupcore/UninstallEntry.h"
#include "support/Wait.h"
#include <gtest/gtest.h>

TempDir::TempDir(const std::string& tag) {
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  static unsigned counter = 0;
  for (;;) {
    path_ = std::string(base) + tag + "-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++counter) + "-" + std::to_string(GetTickCount());
    if (CreateDirectoryA(path_.c_str(), nullptr)) break;
    if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot make " + path_);
  }
}

TempDir::~TempDir() {
  char cwd[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, cwd);
  // A test that left the current directory inside the tree would keep it from going.
  if (std::string(cwd).compare(0, path_.size(), path_) == 0) {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    SetCurrentDirectoryA(base);
  }
  RemoveTree(path_);
}

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((path + "\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      std::string full = path + "\\" + name;
      SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(full);
      else DeleteFileA(full.c_str());
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryA(path.c_str());
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write " + path);
  DWORD done = 0;
  WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
  CloseHandle(f);
}

std::string ReadFileBytes(const std::string& path) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot read " + path);
  std::string out;
  char buf[65536];
  DWORD got = 0;
  while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0) out.append(buf, got);
  CloseHandle(f);
  return out;
}

bool FileExists(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirExists(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ExeDirectory() {
  char p[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, p, MAX_PATH);
  std::string s(p, n);
  return s.substr(0, s.find_last_of('\\'));
}

namespace {
std::vector<std::string> Names(const std::string& dir, bool folders) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA f;
  HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &f);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = f.cFileName;
    if (((f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == folders && name != "." && name != "..")
      names.push_back(name);
  } while (FindNextFileA(h, &f));
  FindClose(h);
  return names;
}
}  // namespace

std::vector<std::string> FolderNames(const std::string& dir) { return Names(dir, true); }
std::vector<std::string> FileNames(const std::string& dir) { return Names(dir, false); }

namespace {
void ListInto(const std::string& root, const std::string& below, std::vector<std::string>& out) {
  WIN32_FIND_DATAA f;
  HANDLE h = FindFirstFileA((root + below + "\\*").c_str(), &f);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = f.cFileName;
    if (name == "." || name == "..") continue;
    const std::string path = below + "\\" + name;
    if (f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      out.push_back(path + "\\");
      // Links are listed, not followed: the prefix's drive links lead out of it.
      if (!(f.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) ListInto(root, path, out);
    } else {
      out.push_back(path + " " + std::to_string(f.nFileSizeLow));
    }
  } while (FindNextFileA(h, &f));
  FindClose(h);
}
}  // namespace

std::vector<std::string> TreeListing(const std::string& root) {
  std::vector<std::string> out;
  ListInto(root, "", out);
  std::sort(out.begin(), out.end());
  return out;
}

Leftovers::~Leftovers() {
  char win[MAX_PATH];
  const std::string windowsDir(win, GetWindowsDirectoryA(win, MAX_PATH));
  for (const std::string& f : files) {
    SetFileAttributesA(f.c_str(), FILE_ATTRIBUTE_NORMAL);  // a read-only file goes too
    DeleteFileA(f.c_str());
    // A location record's run also put the product in the list of installed programs.
    const size_t slash = f.rfind('\\');
    if (slash == std::string::npos || lstrcmpiA(f.substr(0, slash).c_str(), windowsDir.c_str()) != 0 ||
        f.size() < 4 || lstrcmpiA(f.substr(f.size() - 4).c_str(), ".ini") != 0)
      continue;
    const std::string key = setupcore::UninstallKey(f.substr(slash + 1, f.size() - slash - 5));
    for (HKEY hive : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) RegDeleteKeyA(hive, key.c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, Wow32Key(key).c_str());
  }
  for (const std::string& t : trees) RemoveTree(t);
}

std::string BitmapFile(int width, int height, int bits, unsigned compression,
                       const std::string& table, const std::string& pixels) {
  std::string b = "BM";
  auto put = [&](unsigned v, int bytes) {
    for (int i = 0; i < bytes; ++i) b += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  const unsigned offset = 14 + 40 + static_cast<unsigned>(table.size());
  const unsigned colors = bits <= 8 ? static_cast<unsigned>(table.size() / 4) : 0;
  const unsigned size = static_cast<unsigned>(pixels.size());
  for (unsigned v : {offset + size, 0u, offset, 40u, static_cast<unsigned>(width),
                     static_cast<unsigned>(height)})
    put(v, 4);
  put(1, 2);
  put(static_cast<unsigned>(bits), 2);
  for (unsigned v : {compression, size, 2835u, 2835u, colors, 0u}) put(v, 4);
  return b + table + pixels;
}

std::string Wow32Key(const std::string& machineKey) {
  const std::string software = "Software\\";
  if (lstrcmpiA(machineKey.substr(0, software.size()).c_str(), software.c_str()) != 0) return machineKey;
  return software + "Wow6432Node\\" + machineKey.substr(software.size());
}

void Make(const std::string& root, std::initializer_list<std::string> names) {
  for (const std::string& n : names) {
    if (n.back() == '\\') CreateDirectoryA((root + "\\" + n.substr(0, n.size() - 1)).c_str(), nullptr);
    else WriteFileBytes(root + "\\" + n, "x");
  }
}

namespace {
// Runs a program of the machine's own (not a Windows one), as Wine lets a Windows program do,
// and waits until `done`: Wine gives no handle to wait on for such a program.
template <class Done>
void RunUnixCommand(const std::string& line, Done done) {
  std::vector<char> buf(line.begin(), line.end());
  buf.push_back('\0');
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(nullptr, buf.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    throw std::runtime_error("cannot run " + line);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  if (!WaitUntil(done, 10000)) throw std::runtime_error("no effect of " + line);
}

std::string UnixPath(const std::string& path) {
  using Fn = char*(CDECL*)(const WCHAR*);
  auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  std::wstring wide(path.begin(), path.end());
  char* unix = fn ? fn(wide.c_str()) : nullptr;
  if (!unix) throw std::runtime_error("no unix path for " + path);
  std::string out = unix;
  HeapFree(GetProcessHeap(), 0, unix);
  return out;
}
}  // namespace

UnixLink::UnixLink(const std::string& at, const std::string& to) : at_(UnixPath(at)), dosAt_(at) {
  // A link to a folder reads as a link; one to a file reads as the file.
  RunUnixCommand("/bin/ln -s \"" + UnixPath(to) + "\" \"" + at_ + "\"", [&] {
    const DWORD a = GetFileAttributesA(at.c_str());
    return a != INVALID_FILE_ATTRIBUTES &&
           (!(a & FILE_ATTRIBUTE_DIRECTORY) || (a & FILE_ATTRIBUTE_REPARSE_POINT));
  });
}

UnixLink::~UnixLink() {
  try {
    RunUnixCommand("/bin/rm -f \"" + at_ + "\"",
                   [&] { return GetFileAttributesA(dosAt_.c_str()) == INVALID_FILE_ATTRIBUTES; });
  } catch (const std::exception&) {
    ADD_FAILURE() << "the link " << dosAt_ << " stays";
  }
}

std::string TakePendingDeletions() {
  std::string data(65536, '\0');
  DWORD size = static_cast<DWORD>(data.size());
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", 0,
                    KEY_READ | KEY_SET_VALUE, &key) != ERROR_SUCCESS)
    return std::string();
  if (RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, nullptr,
                       reinterpret_cast<BYTE*>(&data[0]), &size) != ERROR_SUCCESS)
    size = 0;
  RegDeleteValueA(key, "PendingFileRenameOperations");
  RegCloseKey(key);
  return data.substr(0, size);
}
