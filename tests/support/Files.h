#pragma once
// Temporary directories and whole-file reads and writes for tests.
#include <initializer_list>
#include <string>
#include <vector>

// A fresh directory under the system's temporary folder, removed with everything in it.
class TempDir {
public:
  explicit TempDir(const std::string& tag = "velmora");
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
  std::string path_;
};

// What a test leaves outside its temporary directories (program groups, location records, an
// installation's destination): removed when the test ends, however it ends.
// A location record (<Windows>\name.ini) among the files takes the product's entry in the list
// of installed programs with it.
struct Leftovers {
  std::vector<std::string> trees, files;
  ~Leftovers();
};

void WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileBytes(const std::string& path);
// A machine key as a 32-bit program's writes reach it on a 64-bit system (below Wow6432Node):
// the shipped programs are 32-bit where the machine runs them, the tests 64-bit.
std::string Wow32Key(const std::string& machineKey);
bool FileExists(const std::string& path);
bool DirExists(const std::string& path);
void RemoveTree(const std::string& path);
// The names of the folders in `dir`, in the system's order.
std::vector<std::string> FolderNames(const std::string& dir);
// The names of the files (not folders) in `dir`, in the system's order.
std::vector<std::string> FileNames(const std::string& dir);
// Every file and folder below `root`, one a line: the path below root, and for a file its size;
// sorted, so that two listings of the same tree compare equal.
std::vector<std::string> TreeListing(const std::string& root);
// A bitmap file: its two headers, the colour table (or the masks) and the pixel data as given.
std::string BitmapFile(int width, int height, int bits, unsigned compression,
                       const std::string& table, const std::string& pixels);
// The directory the test program runs from.
std::string ExeDirectory();
// Makes the names below `root` in turn: a name ending in a backslash a folder, any other a file
// holding "x".
void Make(const std::string& root, std::initializer_list<std::string> names);

// A unix symbolic link to a folder, made inside the prefix as `ln -s` makes one (Wine makes none
// itself); Wine shows it as a folder that is a reparse point. Taken away (the link alone) with
// the test.
class UnixLink {
public:
  UnixLink(const std::string& at, const std::string& to);
  ~UnixLink();
  UnixLink(const UnixLink&) = delete;
  UnixLink& operator=(const UnixLink&) = delete;

private:
  std::string at_, dosAt_;
};

// The pending deletions of the next system start, as the registry holds them (names and empty
// targets, each ended by a NUL): the clean-up copy of remove.exe leaves its name there for
// systems that keep a running program's file. Read, then taken away so that nothing is left.
std::string TakePendingDeletions();
