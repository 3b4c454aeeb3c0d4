// A DDE peer for tests, on plain DDEML, so that the program's DDE layer is met by another
// process that shares none of its code. One line of output for each thing that happens.
//
//   ddepeer client SERVICE TOPIC [-q] OP...
//     request ITEM [FMT]        async-request ITEM [FMT]
//     advise ITEM [FMT]         (hot link)    warm ITEM [FMT]    unadvise ITEM [FMT]
//     poke ITEM FMT BYTES       execute BYTES      async-execute BYTES
//     connect                   disconnect         wait MS        probe CAPTION
//     wait-advdata MS           (until the next advise notification, at most MS)
//     loop N OP... end
//   ddepeer server SERVICE TOPIC [ITEM=TEXT]... [tick ITEM MS] [refuse ITEM] [for MS]
//
// FMT is a number or a format name (text is CF_TEXT). BYTES is text:CHARS with the escapes \r
// \n \t \0 \\ \xNN and no terminating zero unless written, or big:N for N bytes of 'A'. TEXT
// takes the same escapes. With -q only failures of probe are written, and a summary at the end.
#include <windows.h>
#include <ddeml.h>
#include <dde.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {
DWORD gInstance = 0;
bool gQuiet = false;
int gAdvises = 0;  // advise notifications received

void Out(const std::string& line) {
  std::fputs((line + "\n").c_str(), stdout);
  std::fflush(stdout);
}

void Say(const std::string& line) {
  if (!gQuiet) Out(line);
}

std::string Unescape(const std::string& s) {
  std::string r;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\' || i + 1 == s.size()) {
      r += s[i];
      continue;
    }
    char c = s[++i];
    switch (c) {
      case 'r': r += '\r'; break;
      case 'n': r += '\n'; break;
      case 't': r += '\t'; break;
      case '0': r += '\0'; break;
      case 'x':
        r += static_cast<char>(std::strtol(s.substr(i + 1, 2).c_str(), nullptr, 16));
        i += 2;
        break;
      default: r += c;
    }
  }
  return r;
}

// Control characters are shown escaped so that a line of output stays one line.
std::string Shown(const std::string& s) {
  std::string r;
  for (unsigned char c : s) {
    if (c == '\r') r += "\\r";
    else if (c == '\n') r += "\\n";
    else if (c < 32) {
      char b[8];
      std::snprintf(b, sizeof b, "\\x%02x", c);
      r += b;
    } else r += static_cast<char>(c);
  }
  return r;
}

std::string Bytes(const std::string& spec) {
  if (spec.compare(0, 5, "text:") == 0) return Unescape(spec.substr(5));
  if (spec.compare(0, 4, "big:") == 0) return std::string(std::strtoul(spec.c_str() + 4, nullptr, 10), 'A');
  return spec;
}

UINT Format(const std::string& name) {
  if (name.empty() || name == "text") return CF_TEXT;
  if (name[0] >= '0' && name[0] <= '9') return static_cast<UINT>(std::strtoul(name.c_str(), nullptr, 10));
  return RegisterClipboardFormatA(name.c_str());
}

std::string Hex(UINT v) {
  char b[16];
  std::snprintf(b, sizeof b, "0x%x", v);
  return b;
}

class Hsz {
public:
  explicit Hsz(const std::string& s) : h_(DdeCreateStringHandleA(gInstance, s.c_str(), CP_WINANSI)) {}
  ~Hsz() {
    if (h_) DdeFreeStringHandle(gInstance, h_);
  }
  Hsz(const Hsz&) = delete;
  Hsz& operator=(const Hsz&) = delete;
  HSZ Get() const { return h_; }

private:
  HSZ h_;
};

std::string Name(HSZ h) {
  char buf[4096] = {};
  DWORD n = DdeQueryStringA(gInstance, h, buf, sizeof buf, CP_WINANSI);
  return std::string(buf, n < sizeof buf ? n : 0);
}

// The text of a data handle, within its size.
std::string DataText(HDDEDATA data) {
  DWORD size = DdeGetData(data, nullptr, 0, 0);
  std::string bytes(size, '\0');
  if (size) DdeGetData(data, reinterpret_cast<LPBYTE>(&bytes[0]), size, 0);
  size_t zero = bytes.find('\0');
  return zero == std::string::npos ? bytes : bytes.substr(0, zero);
}

void Pump(DWORD ms) {
  DWORD end = GetTickCount() + ms;
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    DWORD now = GetTickCount();
    if (static_cast<LONG>(end - now) <= 0) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
  }
}

HDDEDATA Flag(DWORD f) { return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(f)); }

// ---- client ----

HDDEDATA CALLBACK ClientCallback(UINT type, UINT, HCONV, HSZ, HSZ item, HDDEDATA data, ULONG_PTR,
                                 ULONG_PTR) {
  switch (type) {
    case XTYP_ADVDATA:
      ++gAdvises;
      Say("advdata " + Name(item) + ": " + (data ? Shown(DataText(data)) : std::string("(warm)")));
      return Flag(DDE_FACK);
    case XTYP_DISCONNECT:
      Say("disconnected");
      return nullptr;
    case XTYP_XACT_COMPLETE:
      Say("complete");
      return nullptr;
  }
  return nullptr;
}

struct Client {
  std::string service, topic;
  HCONV conv = nullptr;
  int probeFailures = 0;
  int probes = 0;

  bool Connect() {
    Hsz s(service), t(topic);
    conv = DdeConnect(gInstance, service.empty() ? nullptr : s.Get(), t.Get(), nullptr);
    Say(conv ? "connect: ok" : "connect: failed " + Hex(DdeGetLastError(gInstance)));
    return conv != nullptr;
  }
  void Disconnect() {
    if (conv) DdeDisconnect(conv);
    conv = nullptr;
    Say("disconnect: ok");
  }

  // Under Wine a server follows the data of a request with an acknowledgement of its own; it
  // is taken in here, so that the next transaction gets its own answer.
  void TakeLateAcknowledgement() {
    CONVINFO info = {};
    info.cb = sizeof info;
    if (!DdeQueryConvInfo(conv, QID_SYNC, &info)) return;
    DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < 200) {
      if (PeekMessageA(&msg, info.hwnd, WM_DDE_ACK, WM_DDE_ACK, PM_REMOVE)) {
        DispatchMessageA(&msg);
        return;
      }
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_POSTMESSAGE);
    }
  }

  // A transaction's answer as a word: the data, an acknowledgement or the error.
  void Report(const std::string& what, HDDEDATA r, bool wantsData) {
    if (!r) {
      Say(what + ": failed " + Hex(DdeGetLastError(gInstance)));
      return;
    }
    if (wantsData) {
      Say(what + ": " + Shown(DataText(r)));
      DdeFreeDataHandle(r);
      TakeLateAcknowledgement();
    } else {
      Say(what + ": ok");
    }
  }

  void Transact(const std::string& what, const std::string& item, UINT fmt, UINT type,
                const std::string* bytes, DWORD timeout) {
    if (!conv) {
      Say(what + ": no conversation");
      return;
    }
    Hsz h(item);
    DWORD id = 0;
    LPBYTE p = bytes ? reinterpret_cast<LPBYTE>(const_cast<char*>(bytes->data())) : nullptr;
    DWORD n = bytes ? static_cast<DWORD>(bytes->size()) : 0;
    HDDEDATA r = DdeClientTransaction(p, n, conv, item.empty() ? nullptr : h.Get(), fmt, type,
                                      timeout, timeout == TIMEOUT_ASYNC ? &id : nullptr);
    if (timeout == TIMEOUT_ASYNC) Say(what + (r ? ": started" : ": failed " + Hex(DdeGetLastError(gInstance))));
    else Report(what, r, type == XTYP_REQUEST);
  }

  void Probe(const std::string& caption) {
    ++probes;
    HWND w = FindWindowA(nullptr, caption.c_str());
    DWORD_PTR answer = 0;
    bool ok = w && SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer);
    if (!ok) {
      ++probeFailures;
      Out("probe: no answer");
    } else {
      Say("probe: answered");
    }
  }

  // Runs ops[i..] until "end" or the last; returns the index after what it ran.
  size_t Run(const std::vector<std::string>& ops, size_t i) {
    const DWORD kSync = 5000;
    auto arg = [&](size_t k) { return k < ops.size() ? ops[k] : std::string(); };
    while (i < ops.size()) {
      const std::string op = ops[i++];
      // Messages DDEML left behind by the last transaction are handled before a synchronous
      // one; under Wine it may otherwise take a late answer for its own. Nothing is handled
      // before the other operations, so a disconnect can cut into an asynchronous transaction.
      if (IsSync(op)) Pump(0);
      if (op == "end") return i;
      if (op == "loop") {
        int n = std::atoi(arg(i).c_str());
        size_t body = ++i, after = body;
        for (int k = 0; k < n; ++k) after = Run(ops, body);
        if (n <= 0) {
          int depth = 1;
          while (after < ops.size() && depth) {
            if (ops[after] == "loop") ++depth;
            if (ops[after] == "end") --depth;
            ++after;
          }
        }
        i = after;
      } else if (op == "connect") {
        Connect();
      } else if (op == "disconnect") {
        Disconnect();
      } else if (op == "wait") {
        Pump(std::strtoul(arg(i++).c_str(), nullptr, 10));
      } else if (op == "wait-advdata") {
        DWORD limit = std::strtoul(arg(i++).c_str(), nullptr, 10), start = GetTickCount();
        int seen = gAdvises;
        while (gAdvises == seen && GetTickCount() - start < limit) Pump(10);
      } else if (op == "probe") {
        Probe(arg(i++));
      } else if (op == "request" || op == "async-request") {
        std::string item = arg(i++);
        UINT fmt = CF_TEXT;
        if (i < ops.size() && !IsOp(ops[i])) fmt = Format(ops[i++]);
        Transact(op + " " + item, item, fmt, XTYP_REQUEST, nullptr, op == "request" ? kSync : TIMEOUT_ASYNC);
      } else if (op == "advise" || op == "warm" || op == "unadvise") {
        std::string item = arg(i++);
        UINT fmt = CF_TEXT;
        if (i < ops.size() && !IsOp(ops[i])) fmt = Format(ops[i++]);
        UINT type = op == "advise" ? XTYP_ADVSTART : op == "warm" ? (XTYP_ADVSTART | XTYPF_NODATA) : XTYP_ADVSTOP;
        Transact(op + " " + item, item, fmt, type, nullptr, kSync);
      } else if (op == "poke") {
        std::string item = arg(i++);
        UINT fmt = Format(arg(i++));
        std::string bytes = Bytes(arg(i++));
        Transact("poke " + item, item, fmt, XTYP_POKE, &bytes, kSync);
      } else if (op == "execute" || op == "async-execute") {
        std::string bytes = Bytes(arg(i++));
        Transact(op, std::string(), CF_TEXT, XTYP_EXECUTE, &bytes, op == "execute" ? kSync : TIMEOUT_ASYNC);
      } else {
        Out("unknown operation " + op);
      }
    }
    return i;
  }

  static bool IsSync(const std::string& s) {
    return s == "request" || s == "advise" || s == "warm" || s == "unadvise" || s == "poke" ||
           s == "execute";
  }

  static bool IsOp(const std::string& s) {
    static const std::set<std::string> ops = {"request", "async-request", "advise", "warm", "unadvise",
                                              "poke", "execute", "async-execute", "connect",
                                              "disconnect", "wait", "wait-advdata", "probe", "loop", "end"};
    return ops.count(s) != 0;
  }
};

int RunClient(int argc, char** argv) {
  if (DdeInitializeA(&gInstance, ClientCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) return 1;
  Client c;
  c.service = argv[2];
  c.topic = argv[3];
  std::vector<std::string> ops;
  for (int i = 4; i < argc; ++i) {
    if (std::string(argv[i]) == "-q") gQuiet = true;
    else ops.push_back(argv[i]);
  }
  int rc = 0;
  if (!c.Connect()) {
    rc = 1;
  } else {
    c.Run(ops, 0);
    if (c.conv) DdeDisconnect(c.conv);
    if (c.probes) Out("probes " + std::to_string(c.probes) + " unanswered " + std::to_string(c.probeFailures));
  }
  Out("done");
  DdeUninitialize(gInstance);
  return rc;
}

// ---- server ----

struct Server {
  std::string topic;
  std::map<std::string, std::string> items;
  std::map<std::string, std::string> base;
  std::set<std::string> refused;
  std::map<UINT_PTR, std::string> ticking;
  std::map<std::string, int> ticks;
  HSZ topicHandle = nullptr;
  bool quit = false;
};
Server gServer;

HDDEDATA CALLBACK ServerCallback(UINT type, UINT fmt, HCONV, HSZ hsz1, HSZ hsz2, HDDEDATA data,
                                 ULONG_PTR, ULONG_PTR) {
  Server& s = gServer;
  switch (type) {
    case XTYP_CONNECT:
      return Flag(lstrcmpiA(Name(hsz1).c_str(), s.topic.c_str()) == 0);
    case XTYP_ADVSTART: {
      std::string item = Name(hsz2);
      bool ok = fmt == CF_TEXT && s.items.count(item) && !s.refused.count(item);
      Say("advstart " + item + (ok ? ": ok" : ": refused"));
      return Flag(ok);
    }
    case XTYP_ADVSTOP:
      Say("advstop " + Name(hsz2));
      return nullptr;
    case XTYP_REQUEST:
    case XTYP_ADVREQ: {
      auto it = s.items.find(Name(hsz2));
      if (fmt != CF_TEXT || it == s.items.end()) return nullptr;
      return DdeCreateDataHandle(gInstance, reinterpret_cast<LPBYTE>(const_cast<char*>(it->second.c_str())),
                                 static_cast<DWORD>(it->second.size() + 1), 0, hsz2, fmt, 0);
    }
    case XTYP_POKE: {
      std::string item = Name(hsz2);
      if (fmt != CF_TEXT || !s.items.count(item)) return nullptr;
      s.items[item] = DataText(data);
      Say("poke " + item + ": " + Shown(s.items[item]));
      DdePostAdvise(gInstance, s.topicHandle, hsz2);
      return Flag(DDE_FACK);
    }
    case XTYP_EXECUTE: {
      std::string text = DataText(data);
      Say("execute: " + Shown(text));
      if (text == "quit") s.quit = true;
      return Flag(DDE_FACK);
    }
    case XTYP_DISCONNECT:
      Say("disconnected");
      return nullptr;
  }
  return nullptr;
}

void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
  Server& s = gServer;
  auto it = s.ticking.find(id);
  if (it == s.ticking.end()) return;
  const std::string& item = it->second;
  s.items[item] = s.base[item] + " " + std::to_string(++s.ticks[item]);
  Hsz h(item);
  DdePostAdvise(gInstance, s.topicHandle, h.Get());
}

int RunServer(int argc, char** argv) {
  if (DdeInitializeA(&gInstance, ServerCallback, APPCLASS_STANDARD, 0) != DMLERR_NO_ERROR) return 1;
  Server& s = gServer;
  s.topic = argv[3];
  DWORD lifetime = INFINITE;
  std::vector<std::pair<std::string, DWORD>> tickers;
  for (int i = 4; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "-q") gQuiet = true;
    else if (a == "tick" && i + 2 < argc) {
      tickers.emplace_back(argv[i + 1], std::strtoul(argv[i + 2], nullptr, 10));
      i += 2;
    } else if (a == "refuse" && i + 1 < argc) s.refused.insert(argv[++i]);
    else if (a == "for" && i + 1 < argc) lifetime = std::strtoul(argv[++i], nullptr, 10);
    else if (a.find('=') != std::string::npos) {
      std::string item = a.substr(0, a.find('='));
      s.items[item] = s.base[item] = Unescape(a.substr(a.find('=') + 1));
    }
  }
  Hsz service(argv[2]);
  Hsz topic(s.topic);
  s.topicHandle = topic.Get();
  DdeNameService(gInstance, service.Get(), nullptr, DNS_REGISTER);
  for (auto& t : tickers) s.ticking[SetTimer(nullptr, 0, t.second, Tick)] = t.first;
  Out("ready");
  DWORD start = GetTickCount();
  while (!s.quit && (lifetime == INFINITE || GetTickCount() - start < lifetime)) Pump(50);
  DdeNameService(gInstance, service.Get(), nullptr, DNS_UNREGISTER);
  Out("done");
  return 0;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fputs("usage: ddepeer client|server SERVICE TOPIC ...\n", stderr);
    return 2;
  }
  std::string mode = argv[1];
  if (mode == "client") return RunClient(argc, argv);
  if (mode == "server") return RunServer(argc, argv);
  std::fputs("usage: ddepeer client|server SERVICE TOPIC ...\n", stderr);
  return 2;
}
