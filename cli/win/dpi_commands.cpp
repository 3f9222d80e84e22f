// stages, dpi, rate, leds: sensitivity and LED settings through IDpi, IPollingRate and ILedStatus.
#include <algorithm>

#include "cli/command_args.h"
#include "cli/win/commands.h"
#include "cli/win/onboard.h"

namespace quill::cli {
namespace {

int PrintStages(Output& out, Onboard& onboard, IMeridexProfileObject* profile, int64_t slot) {
  StageView view;
  HRESULT hr = ReadStages(profile, view);
  if (FAILED(hr)) return Failure(out, "could not read the DPI stages of profile " + std::to_string(slot), hr);
  LONG active = 0;
  const bool is_active = SUCCEEDED(onboard.profiles()->GetActiveProfileNumber(&active)) && active == slot;
  std::vector<Record> rows;
  for (size_t i = 0; i < view.stages.size(); ++i) {
    const LONG stage = static_cast<LONG>(i + 1);
    Record r;
    if (out.json()) r.Number("slot", slot);
    r.Number("stage", stage)
        .Number("dpi x", view.stages[i].x)
        .Number("dpi y", view.stages[i].y)
        .Flag("default", stage == view.default_stage)
        .Flag("current", is_active && stage == view.current_stage);
    rows.push_back(r);
  }
  out.PrintTable(rows);
  return kExitOk;
}

int SetStages(Output& out, Onboard& onboard, IMeridexProfileObject* profile, int64_t slot, const StageArgs& wanted) {
  std::vector<StageView::Stage> stages;
  for (int64_t dpi : wanted.dpis) stages.push_back({dpi, dpi});
  std::optional<LONG> default_stage;
  if (wanted.default_stage) default_stage = static_cast<LONG>(*wanted.default_stage);
  HRESULT hr = WriteStages(profile, stages, default_stage);
  if (FAILED(hr)) return Failure(out, "could not set the DPI stages of profile " + std::to_string(slot), hr);
  return PrintStages(out, onboard, profile, slot);
}

// The profile object of the slot argument, or of the active profile when there is none.
bool ProfileOf(Onboard& onboard, Output& out, std::optional<int64_t> slot, com::ComPtr<IMeridexProfileObject>& profile,
               int64_t& number) {
  if (slot) {
    number = *slot;
    return onboard.Profile(*slot, profile);
  }
  IMeridexProfileManager* manager = onboard.profiles();
  if (!manager) return false;
  LONG active = 0;
  HRESULT hr = manager->GetActiveProfileNumber(&active);
  if (FAILED(hr)) {
    Failure(out, "could not read the active profile", hr);
    return false;
  }
  number = active;
  return onboard.Profile(active, profile);
}

int PrintDpi(Output& out, Onboard& onboard) {
  com::ComPtr<IMeridexProfileObject> profile;
  int64_t slot = 0;
  if (!ProfileOf(onboard, out, std::nullopt, profile, slot)) return kExitFailed;
  com::ComPtr<IDpi> dpi;
  HRESULT hr = ProfilePart(profile.Get(), dpi);
  _stSensitivityType level{};
  if (SUCCEEDED(hr)) hr = dpi->GetDpiLevel(&level);
  if (FAILED(hr)) return Failure(out, "could not read the current DPI", hr);
  StageView stages;
  hr = ReadStages(profile.Get(), stages);
  if (FAILED(hr)) return Failure(out, "could not read the current DPI stage", hr);
  Record r;
  r.Number("dpi x", level.ulXSensitivity)
      .Number("dpi y", level.ulYSensitivity)
      .Number("profile", slot)
      .Number("stage", stages.current_stage);
  out.Print(r);
  return kExitOk;
}

constexpr LONG kLedBits[] = {1, 2, 4};
constexpr const char* kLedNames[] = {"wheel", "logo", "dock"};

int PrintLeds(Output& out, int64_t slot, LONG bits) {
  Record r;
  r.Number("slot", slot).Number("leds", bits);
  for (size_t i = 0; i < std::size(kLedBits); ++i) r.Flag(kLedNames[i], (bits & kLedBits[i]) != 0);
  out.Print(r);
  return kExitOk;
}

// "wheel=on" and the like: which bit, and whether it goes on; false for anything else.
bool LedSwitch(const std::string& arg, LONG& bit, bool& on) {
  const size_t eq = arg.find('=');
  if (eq == std::string::npos) return false;
  const std::string name = arg.substr(0, eq), state = arg.substr(eq + 1);
  if (state != "on" && state != "off") return false;
  for (size_t i = 0; i < std::size(kLedBits); ++i) {
    if (name == kLedNames[i]) {
      bit = kLedBits[i];
      on = state == "on";
      return true;
    }
  }
  return false;
}

}  // namespace

int RunStages(DeviceSession& session, const std::vector<std::string>& args, Output& out) {
  std::string error;
  if (args.empty()) return UsageError(out, "stages", "stages needs a profile slot");
  std::optional<int64_t> slot = ParseSlot(args[0], error);
  if (!slot) return UsageError(out, "stages", error);
  StageArgs wanted;
  const bool set = args.size() > 1;
  if (set) {
    if (args[1] != "set") return UsageError(out, "stages", "unexpected argument '" + args[1] + "'");
    wanted = ParseStageArgs(std::vector<std::string>(args.begin() + 2, args.end()));
    if (!wanted.error.empty()) return UsageError(out, "stages", wanted.error);
  }
  Onboard onboard(session, out);
  com::ComPtr<IMeridexProfileObject> profile;
  if (!onboard.Open() || !onboard.Profile(*slot, profile)) return kExitFailed;
  return set ? SetStages(out, onboard, profile.Get(), *slot, wanted) : PrintStages(out, onboard, profile.Get(), *slot);
}

int RunDpi(DeviceSession& session, const std::vector<std::string>& args, Output& out) {
  _stSensitivityType level{};
  const bool set = !args.empty();
  if (set) {
    if (args[0] != "set" || args.size() < 2 || args.size() > 3)
      return UsageError(out, "dpi", "dpi set takes one DPI value, or an X and a Y value");
    std::optional<int64_t> values[2];
    for (size_t i = 1; i < args.size(); ++i) {
      values[i - 1] = ParseBounded(args[i], 0, 1000000);
      if (!values[i - 1]) return UsageError(out, "dpi", "'" + args[i] + "' is not a DPI value");
      if (std::string why = CheckDpi(*values[i - 1]); !why.empty()) return UsageError(out, "dpi", why);
    }
    level.ulXSensitivity = static_cast<ULONG>(*values[0]);
    level.ulYSensitivity = static_cast<ULONG>(values[1] ? *values[1] : *values[0]);
  }
  Onboard onboard(session, out);
  if (!onboard.Open()) return kExitFailed;
  if (set) {
    com::ComPtr<IMeridexProfileObject> profile;
    int64_t slot = 0;
    if (!ProfileOf(onboard, out, std::nullopt, profile, slot)) return kExitFailed;
    com::ComPtr<IDpi> dpi;
    HRESULT hr = ProfilePart(profile.Get(), dpi);
    if (SUCCEEDED(hr)) hr = dpi->SetDpiLevel(level);
    if (FAILED(hr)) return Failure(out, "could not set the DPI", hr);
  }
  return PrintDpi(out, onboard);
}

int RunRate(DeviceSession& session, const std::vector<std::string>& args, Output& out) {
  const bool set = !args.empty();
  std::optional<int64_t> hz;
  if (set) {
    if (args[0] != "set" || args.size() != 2) return UsageError(out, "rate", "rate set takes one rate in Hz");
    hz = ParseBounded(args[1], 1, 100000);
    if (!hz) return UsageError(out, "rate", "'" + args[1] + "' is not a rate in Hz");
  }
  com::ComPtr<IPollingRate> rate;
  HRESULT hr = session.device()->CreatePollingRateInterface(rate.Put());
  if (FAILED(hr)) return Failure(out, "the middleware gave no polling-rate object", hr);
  // The supported rates come without device traffic, so a wrong rate is refused before any.
  LONG count = 0;
  LONG* list = nullptr;
  hr = rate->GetRateList(&count, &list);
  if (FAILED(hr)) return Failure(out, "could not read the supported rates", hr);
  std::vector<int64_t> rates(list, list + (list && count > 0 ? count : 0));
  CoTaskMemFree(list);
  if (set && std::find(rates.begin(), rates.end(), *hz) == rates.end()) {
    std::string supported;
    for (int64_t r : rates) supported += (supported.empty() ? "" : ", ") + std::to_string(r);
    return UsageError(out, "rate", std::to_string(*hz) + " Hz is not supported (" + supported + ")");
  }
  if (!session.Open()) {
    out.Error(session.error());
    return kExitFailed;
  }
  if (set) {
    hr = rate->SetRate(static_cast<LONG>(*hz));
    if (FAILED(hr)) return Failure(out, "could not set the polling rate", hr);
  }
  LONG current = 0;
  hr = rate->GetRate(&current);
  if (FAILED(hr)) return Failure(out, "could not read the polling rate", hr);
  Record r;
  r.Number("polling rate", current).Numbers("supported", rates);
  out.Print(r);
  return kExitOk;
}

int RunLeds(DeviceSession& session, const std::vector<std::string>& args, Output& out) {
  std::string error;
  size_t at = 0;
  std::optional<int64_t> slot;
  if (at < args.size() && args[at] != "set") {
    slot = ParseSlot(args[at++], error);
    if (!slot) return UsageError(out, "leds", error);
  }
  const bool set = at < args.size();
  std::optional<int64_t> bits;
  LONG on_bits = 0, off_bits = 0;
  if (set) {
    if (args[at++] != "set" || at >= args.size()) return UsageError(out, "leds", "set needs the LED bits or switches");
    if (args.size() - at == 1 && args[at].find('=') == std::string::npos) {
      bits = ParseBounded(args[at], 0, 255);
      if (!bits) return UsageError(out, "leds", "'" + args[at] + "' is not LED bits 0 to 255");
    } else {
      for (; at < args.size(); ++at) {
        LONG bit = 0;
        bool on = false;
        if (!LedSwitch(args[at], bit, on))
          return UsageError(out, "leds", "'" + args[at] + "' is not wheel, logo or dock =on or =off");
        (on ? on_bits : off_bits) |= bit;
        (on ? off_bits : on_bits) &= ~bit;
      }
    }
  }
  Onboard onboard(session, out);
  com::ComPtr<IMeridexProfileObject> profile;
  int64_t number = 0;
  if (!onboard.Open() || !ProfileOf(onboard, out, slot, profile, number)) return kExitFailed;
  com::ComPtr<ILedStatus> leds;
  HRESULT hr = ProfilePart(profile.Get(), leds);
  LONG value = 0;
  if (SUCCEEDED(hr)) hr = leds->GetStatus(&value);
  if (FAILED(hr)) return Failure(out, "could not read the LEDs of profile " + std::to_string(number), hr);
  if (set) {
    value = bits ? static_cast<LONG>(*bits) : (value | on_bits) & ~off_bits;
    hr = leds->SetStatus(value);
    if (SUCCEEDED(hr)) hr = leds->GetStatus(&value);
    if (FAILED(hr)) return Failure(out, "could not set the LEDs of profile " + std::to_string(number), hr);
  }
  return PrintLeds(out, number, value);
}

}  // namespace quill::cli
