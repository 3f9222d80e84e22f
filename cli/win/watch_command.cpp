// watch: the mouse's events as they arrive. The middleware notices a change on the mouse by a
// keyboard hook and window messages on the thread that created IMeridex, so this thread pumps
// messages for as long as it watches.
#include <atomic>
#include <cstdio>

#include "cli/command_args.h"
#include "cli/win/commands.h"
#include "cli/win/onboard.h"

namespace quill::cli {
namespace {

std::atomic<bool> g_stop{false};
std::atomic<DWORD> g_watch_thread{0};

BOOL WINAPI OnConsoleControl(DWORD) {
  g_stop = true;
  if (DWORD thread = g_watch_thread) PostThreadMessageW(thread, WM_NULL, 0, 0);
  return TRUE;
}

std::string ClockText() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  char text[16];
  std::snprintf(text, sizeof text, "%02u:%02u:%02u.%03u", t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
  return text;
}

// Rows of fixed width, so that each can be printed the moment its event arrives.
constexpr char kRowFormat[] = "%-12s  %-7s  %5s  %5s  %s";

class EventPrinter {
 public:
  explicit EventPrinter(Output& out) : out_(out) {}
  void Header() {
    if (!out_.json()) Row("time", "event", "dpi x", "dpi y", "profile");
  }
  void Dpi(LONG x, LONG y) {
    Record r;
    r.Text("time", ClockText()).Text("event", "dpi").Number("dpi x", x).Number("dpi y", y);
    Emit(r, "dpi", std::to_string(x), std::to_string(y), "");
  }
  void Profile(LONG slot) {
    Record r;
    r.Text("time", ClockText()).Text("event", "profile").Number("profile", slot);
    Emit(r, "profile", "", "", std::to_string(slot));
  }
  int64_t count() const { return count_; }

 private:
  void Emit(const Record& r, const char* event, const std::string& x, const std::string& y, const std::string& profile) {
    ++count_;
    if (out_.json()) return out_.Print(r);
    Row(ClockText().c_str(), event, x.c_str(), y.c_str(), profile.c_str());
  }
  void Row(const char* time, const char* event, const char* x, const char* y, const char* profile) {
    char line[128];
    std::snprintf(line, sizeof line, kRowFormat, time, event, x, y, profile);
    std::string text = line;
    while (!text.empty() && text.back() == ' ') text.pop_back();
    text += '\n';
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
  }
  Output& out_;
  int64_t count_ = 0;
};

// One sink for the events the middleware fires: the device's own (_IMeridexEvents) and the
// profile manager's notices. It lives on the stack for the whole watch.
class EventSink : public _IMeridexEvents, public _IMeridexProfileManagerEvents {
 public:
  explicit EventSink(EventPrinter& printer) : printer_(printer) {}

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID__IMeridexEvents))
      *object = static_cast<_IMeridexEvents*>(this);
    else if (IsEqualIID(iid, IID__IMeridexProfileManagerEvents))
      *object = static_cast<_IMeridexProfileManagerEvents*>(this);
    else
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
  STDMETHODIMP_(ULONG) Release() override { return --references_; }

  STDMETHODIMP OnMeridexEvent(_TMeridexInfoType* info) override {
    if (!info) return E_POINTER;
    if (info->ValidFields == 1) printer_.Dpi(info->DpiX, info->DpiY);
    else if (info->ValidFields == 2) printer_.Profile(info->ActiveProfile);
    return S_OK;
  }
  STDMETHODIMP OnMeridexProfileManagerEvent(_TMeridexProfileManagerInfo* info) override {
    if (!info) return E_POINTER;
    printer_.Profile(info->ActiveProfile);
    return S_OK;
  }

 private:
  EventPrinter& printer_;
  ULONG references_ = 0;
};

// A connection to one event interface of one object, undone when it goes.
class Subscription {
 public:
  HRESULT Connect(IUnknown* source, REFIID events, IUnknown* sink) {
    com::ComPtr<IConnectionPointContainer> container;
    HRESULT hr = source->QueryInterface(IID_IConnectionPointContainer, container.PutVoid());
    if (SUCCEEDED(hr)) hr = container->FindConnectionPoint(events, point_.Put());
    if (SUCCEEDED(hr)) hr = point_->Advise(sink, &cookie_);
    if (FAILED(hr)) point_.Reset();
    return hr;
  }
  ~Subscription() {
    if (point_) point_->Unadvise(cookie_);
  }

 private:
  com::ComPtr<IConnectionPoint> point_;
  DWORD cookie_ = 0;
};

struct WatchArgs {
  std::optional<int64_t> count;
  std::optional<int64_t> seconds;
};

std::string ParseWatchArgs(const std::vector<std::string>& args, WatchArgs& wanted) {
  for (size_t i = 0; i < args.size(); ++i) {
    const bool is_count = args[i] == "--count";
    if (!is_count && args[i] != "--seconds") return "unexpected argument '" + args[i] + "'";
    std::optional<int64_t>& slot = is_count ? wanted.count : wanted.seconds;
    if (slot || i + 1 >= args.size()) return args[i] + " needs one number";
    slot = ParseBounded(args[++i], 1, is_count ? 1000000 : 86400);
    if (!slot) return args[i - 1] + " '" + args[i] + "' is not " + (is_count ? "1 to 1000000" : "1 to 86400");
  }
  return {};
}

// True while standard input is a pipe that is still open; what arrives on it is read and dropped.
bool InputStillOpen(HANDLE input) {
  DWORD available = 0;
  if (!PeekNamedPipe(input, nullptr, 0, nullptr, &available, nullptr)) return false;
  char buffer[512];
  DWORD got = 0;
  while (available > 0 && ReadFile(input, buffer, sizeof buffer, &got, nullptr) && got > 0)
    available = got < available ? available - got : 0;
  return true;
}

}  // namespace

int RunWatch(DeviceSession& session, const std::vector<std::string>& args, Output& out) {
  WatchArgs wanted;
  if (std::string error = ParseWatchArgs(args, wanted); !error.empty()) return UsageError(out, "watch", error);
  Onboard onboard(session, out);
  if (!onboard.Open()) return kExitFailed;
  com::ComPtr<IMeridex> meridex;
  HRESULT hr = session.Meridex(meridex);
  if (FAILED(hr)) return Failure(out, "the middleware gave no IMeridex object", hr);
  // With the per-profile DPI table loaded, a DPI change is reported as one; without it every
  // event would read as a profile change. Fewer than five profiles load the table and report
  // E_FAIL, which is fine here.
  com::ComPtr<IMeridexDpiTable> table;
  if (SUCCEEDED(meridex.As(table))) table->LoadDpiTable();

  EventPrinter printer(out);
  EventSink sink(printer);
  Subscription device_events, profile_events;
  hr = device_events.Connect(meridex.Get(), IID__IMeridexEvents, static_cast<_IMeridexEvents*>(&sink));
  if (FAILED(hr)) return Failure(out, "could not subscribe to the mouse's events", hr);
  if (IMeridexProfileManager* manager = onboard.profiles())
    profile_events.Connect(manager, IID__IMeridexProfileManagerEvents, static_cast<_IMeridexEvents*>(&sink));

  g_stop = false;
  g_watch_thread = GetCurrentThreadId();
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  // Without a limit of its own, a watch fed by a pipe ends with that pipe (a script's way to
  // stop it); a console stops it with Ctrl+C.
  const bool input_is_pipe = !wanted.count && !wanted.seconds && input && input != INVALID_HANDLE_VALUE &&
                             GetFileType(input) == FILE_TYPE_PIPE;

  printer.Header();
  std::fprintf(stderr, "watching the Quillfern's events; Ctrl+C stops\n");
  std::fflush(stderr);
  const ULONGLONG start = GetTickCount64();
  const ULONGLONG limit_ms = wanted.seconds ? static_cast<ULONGLONG>(*wanted.seconds) * 1000 : 0;
  bool timed_out = false;
  while (!g_stop && !(wanted.count && printer.count() >= *wanted.count)) {
    DWORD wait = input_is_pipe ? 100 : INFINITE;
    if (limit_ms) {
      const ULONGLONG spent = GetTickCount64() - start;
      if (spent >= limit_ms) {
        timed_out = true;
        break;
      }
      wait = static_cast<DWORD>(std::min<ULONGLONG>(wait, limit_ms - spent));
    }
    MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) g_stop = true;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (input_is_pipe && !InputStillOpen(input)) break;
  }
  SetConsoleCtrlHandler(OnConsoleControl, FALSE);
  g_watch_thread = 0;
  if (timed_out && wanted.count && printer.count() < *wanted.count) {
    out.Error(std::to_string(printer.count()) + " of " + std::to_string(*wanted.count) + " events arrived within " +
              std::to_string(*wanted.seconds) + " s");
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace quill::cli
