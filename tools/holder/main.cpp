// Holds a file open for the tests, as another program that uses it would:
//
//   holder.exe FILE READY
//
// opens FILE for reading and writing with no sharing at all, then makes the file READY so that
// the test knows the hold is in place, and keeps the file open until it is ended or two minutes
// have passed. Exit code 2 when FILE cannot be opened.
#include <windows.h>

int main(int argc, char** argv) {
  if (argc != 3) return 1;
  HANDLE held = CreateFileA(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (held == INVALID_HANDLE_VALUE) return 2;
  HANDLE ready = CreateFileA(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (ready == INVALID_HANDLE_VALUE) return 3;
  CloseHandle(ready);
  // A test that forgets to end the holder does not keep the file, or the holder, for ever.
  Sleep(120000);
  CloseHandle(held);
  return 0;
}
