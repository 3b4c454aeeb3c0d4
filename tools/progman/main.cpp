// The program-group server of our own, for the tests and the sample run:
//
//   progman.exe LOG [SERVICE [unanswered]]
//
// It answers DDE service "PROGMAN" (or SERVICE) on topic "PROGMAN", carries out CreateGroup,
// ShowGroup, ReplaceItem, AddItem and DeleteGroup in the user's Start Menu programs folder,
// where the shell keeps program groups, and writes what its conversations do to LOG, each record ending in CR LF:
//
//   connect
//   execute N        followed by the N bytes of the execute exactly as they came, then CR LF
//   ack | not processed
//   disconnect
//
// With "unanswered" it logs each execute and holds it back unanswered, as a server busy with
// something else does.
// LOG is made (empty) once the server is the one a client reaches, so a test waits for it.
// Wine's shell answers "PROGMAN" too; the server that registered last wins a connection, so
// the server checks from a second thread that it is the one reached and registers again
// until it is. WM_CLOSE to its hidden window (class "VelmoraProgman") ends it; ending
// disconnects its conversations.
#include <windows.h>

#include <ddeml.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "Groups.h"
#include "Macro.h"

namespace {
const char kWindowClass[] = "VelmoraProgman";
const char kTopic[] = "PROGMAN";
const UINT WM_APP_REACHED = WM_APP + 1;   // the check found this server answering
const UINT WM_APP_REREGISTER = WM_APP + 2;  // the check found another server answering
const int kCheckRounds = 80;
const DWORD kCheckPauseMs = 250;

struct Server {
  std::string logPath, service;
  bool logging = false;
  DWORD instance = 0;
  HSZ serviceHandle = nullptr, topicHandle = nullptr;
  HWND window = nullptr;
  ProgramGroups* groups = nullptr;
  std::map<HCONV, std::string> currentGroup;  // each conversation's group
  std::set<HCONV> logged;                     // conversations whose start is in the log
  bool unanswered = false;                    // executes are held back, never answered
};
Server server;

void Log(const std::string& bytes) {
  if (!server.logging) return;
  // Opened for each record, so that a reader sees every record as soon as it is written.
  HANDLE h = CreateFileA(server.logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);  // a short
  // write only shortens the log, which the reader then finds wrong
  CloseHandle(h);
}

bool SameText(HSZ hsz, const char* text) {
  char buf[256] = {};
  DdeQueryStringA(server.instance, hsz, buf, sizeof buf, CP_WINANSI);
  return lstrcmpiA(buf, text) == 0;
}

HDDEDATA Flag(DWORD f) { return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(f)); }

HDDEDATA Execute(HCONV conv, HDDEDATA data) {
  std::string bytes;
  DWORD size = 0;
  if (BYTE* p = DdeAccessData(data, &size)) {
    bytes.assign(reinterpret_cast<const char*>(p), size);
    DdeUnaccessData(data);
  }
  Log("execute " + std::to_string(bytes.size()) + "\r\n" + bytes + "\r\n");
  if (server.unanswered) return CBR_BLOCK;
  // The commands are the text before the terminating zero; whatever follows it is not read.
  const std::string text = bytes.substr(0, bytes.find('\0'));
  std::vector<MacroCommand> commands;
  bool ok = ParseMacro(text, commands) && server.groups->Run(commands, server.currentGroup[conv]);
  Log(ok ? "ack\r\n" : "not processed\r\n");
  return Flag(ok ? DDE_FACK : DDE_FNOTPROCESSED);
}

HDDEDATA CALLBACK Callback(UINT type, UINT, HCONV conv, HSZ hsz1, HSZ, HDDEDATA data, ULONG_PTR,
                           ULONG_PTR) {
  switch (type) {
    case XTYP_CONNECT:
      return Flag(SameText(hsz1, kTopic) ? TRUE : FALSE);
    case XTYP_WILDCONNECT: {
      if (hsz1 && !SameText(hsz1, kTopic)) return nullptr;
      HSZPAIR pairs[2] = {{server.serviceHandle, server.topicHandle}, {nullptr, nullptr}};
      return DdeCreateDataHandle(server.instance, reinterpret_cast<LPBYTE>(pairs), sizeof pairs, 0,
                                 nullptr, CF_TEXT, 0);
    }
    case XTYP_CONNECT_CONFIRM:
      server.currentGroup[conv].clear();
      if (server.logging) {
        server.logged.insert(conv);
        Log("connect\r\n");
      }
      return nullptr;
    case XTYP_DISCONNECT:
      server.currentGroup.erase(conv);
      if (server.logged.erase(conv)) Log("disconnect\r\n");
      return nullptr;
    case XTYP_EXECUTE:
      return Execute(conv, data);
  }
  return nullptr;
}

bool Register() {
  server.instance = 0;
  if (DdeInitializeA(&server.instance, Callback,
                     APPCLASS_STANDARD | CBF_FAIL_ADVISES | CBF_FAIL_POKES | CBF_FAIL_REQUESTS, 0) !=
      DMLERR_NO_ERROR)
    return false;
  server.serviceHandle = DdeCreateStringHandleA(server.instance, server.service.c_str(), CP_WINANSI);
  server.topicHandle = DdeCreateStringHandleA(server.instance, kTopic, CP_WINANSI);
  return DdeNameService(server.instance, server.serviceHandle, nullptr, DNS_REGISTER) != nullptr;
}

void Unregister() {
  if (!server.instance) return;
  DdeNameService(server.instance, nullptr, nullptr, DNS_UNREGISTER);  // every name; the
  // instance goes next anyway
  DdeFreeStringHandle(server.instance, server.serviceHandle);
  DdeFreeStringHandle(server.instance, server.topicHandle);
  DdeUninitialize(server.instance);
  server.instance = 0;
}

// From its own thread (a DDE instance of its own, while the main thread answers): connects as
// a client would and tells the main thread whether this process answered.
DWORD WINAPI CheckReached(void*) {
  for (int round = 0; round < kCheckRounds; ++round) {
    DWORD client = 0;
    bool ours = false;
    if (DdeInitializeA(&client, Callback, APPCMD_CLIENTONLY, 0) == DMLERR_NO_ERROR) {
      HSZ service = DdeCreateStringHandleA(client, server.service.c_str(), CP_WINANSI);
      HSZ topic = DdeCreateStringHandleA(client, kTopic, CP_WINANSI);
      if (HCONV conv = DdeConnect(client, service, topic, nullptr)) {
        CONVINFO info = {};
        info.cb = sizeof info;
        DWORD pid = 0;
        if (DdeQueryConvInfo(conv, QID_SYNC, &info)) GetWindowThreadProcessId(info.hwndPartner, &pid);
        ours = pid == GetCurrentProcessId();
        DdeDisconnect(conv);
      }
      DdeFreeStringHandle(client, service);
      DdeFreeStringHandle(client, topic);
      DdeUninitialize(client);
    }
    if (ours) {
      PostMessageA(server.window, WM_APP_REACHED, 0, 0);
      return 0;
    }
    PostMessageA(server.window, WM_APP_REREGISTER, 0, 0);
    Sleep(kCheckPauseMs);
  }
  PostMessageA(server.window, WM_CLOSE, 0, 0);
  return 1;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_APP_REACHED: {
      HANDLE h = CreateFileA(server.logPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (h == INVALID_HANDLE_VALUE) {
        DestroyWindow(hwnd);
        return 0;
      }
      CloseHandle(h);
      server.logging = true;
      return 0;
    }
    case WM_APP_REREGISTER:
      Unregister();
      if (!Register()) DestroyWindow(hwnd);
      return 0;
    case WM_CLOSE: {
      // Wine's DdeUninitialize drops conversations without telling the clients, so each one
      // is ended here, as a server that goes away ends them.
      std::vector<HCONV> open;
      for (const auto& c : server.currentGroup) open.push_back(c.first);
      for (HCONV c : open) {
        if (server.logged.erase(c)) Log("disconnect\r\n");
        DdeDisconnect(c);
      }
      server.currentGroup.clear();
      DestroyWindow(hwnd);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(server.logging ? 0 : 3);
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

// The shell's programs folder for the user; the Windows directory's where the system has none.
std::string ProgramsFolder() {
  char path[MAX_PATH + 1] = {};
  if (SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, 0, path) == S_OK && path[0])
    return path;
  UINT n = GetWindowsDirectoryA(path, MAX_PATH);
  return std::string(path, n < MAX_PATH ? n : 0) + "\\Start Menu\\Programs";
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc < 2 || argc > 4) return 2;
  auto narrow = [](LPCWSTR w) {
    char buf[MAX_PATH * 2] = {};
    WideCharToMultiByte(CP_ACP, 0, w, -1, buf, sizeof buf, nullptr, nullptr);
    return std::string(buf);
  };
  server.logPath = narrow(argv[1]);
  server.service = argc > 2 ? narrow(argv[2]) : "PROGMAN";
  server.unanswered = argc > 3 && narrow(argv[3]) == "unanswered";
  LocalFree(argv);

  CoInitialize(nullptr);  // the shell links are made in this thread
  ProgramGroups groups(ProgramsFolder());
  server.groups = &groups;

  WNDCLASSA wc = {};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = kWindowClass;
  RegisterClassA(&wc);
  server.window = CreateWindowA(kWindowClass, "Velmora PROGMAN test server", WS_OVERLAPPED, 0, 0,
                                0, 0, nullptr, nullptr, instance, nullptr);
  if (!server.window || !Register()) return 3;
  HANDLE check = CreateThread(nullptr, 0, CheckReached, nullptr, 0, nullptr);
  if (check) CloseHandle(check);

  MSG msg;
  int code = 0;
  while (true) {
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got <= 0) {
      code = got == 0 ? static_cast<int>(msg.wParam) : 3;
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  Unregister();
  CoUninitialize();
  return code;
}
