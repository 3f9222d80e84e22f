// pointer: the Windows pointer speed and acceleration through the middleware's
// IPerformanceSettings (no traffic to the mouse).
#include "cli/command_args.h"
#include "cli/win/commands.h"
#include "winsupport/com_ptr.h"

namespace quill::cli {
namespace {

constexpr int64_t kMinSpeed = 1;
constexpr int64_t kMaxSpeed = 20;
constexpr int64_t kMinAcceleration = 1;
constexpr int64_t kMaxAcceleration = 10;

struct PointerArgs {
  std::optional<int64_t> speed;
  bool acceleration_off = false;
  std::optional<int64_t> acceleration;
  std::string error;
};

PointerArgs ParsePointerArgs(const std::vector<std::string>& args) {
  PointerArgs p;
  if (args.empty()) return p;
  if (args[0] != "set" || args.size() == 1) {
    p.error = "pointer takes nothing, or set with speed and/or acceleration";
    return p;
  }
  for (size_t i = 1; i < args.size(); i += 2) {
    const std::string& what = args[i];
    if (i + 1 >= args.size()) {
      p.error = what + " needs a value";
      return p;
    }
    const std::string& value = args[i + 1];
    if (what == "speed" && !p.speed) {
      p.speed = ParseBounded(value, kMinSpeed, kMaxSpeed);
      if (!p.speed) p.error = "speed '" + value + "' is not 1 to 20";
    } else if (what == "acceleration" && !p.acceleration && !p.acceleration_off) {
      p.acceleration_off = value == "off";
      if (!p.acceleration_off) p.acceleration = ParseBounded(value, kMinAcceleration, kMaxAcceleration);
      if (!p.acceleration_off && !p.acceleration) p.error = "acceleration '" + value + "' is not off or 1 to 10";
    } else {
      p.error = "unexpected '" + what + "' (speed <1-20>, acceleration off|<1-10>, each once)";
    }
    if (!p.error.empty()) return p;
  }
  return p;
}

}  // namespace

int RunPointer(DeviceSession& session, const std::vector<std::string>& args, Output& out) {
  const PointerArgs wanted = ParsePointerArgs(args);
  if (!wanted.error.empty()) return UsageError(out, "pointer", wanted.error);
  // The middleware hands out its feature objects, this one too, only once the mouse is found.
  if (!session.Open()) {
    out.Error(session.error());
    return kExitFailed;
  }
  com::ComPtr<IProfile> profile;
  com::ComPtr<IPerformanceSettings> settings;
  HRESULT hr = session.device()->CreateProfileInterface(profile.Put());
  if (SUCCEEDED(hr)) hr = profile->CreatePerformanceSettingsInterface(settings.Put());
  if (FAILED(hr)) return Failure(out, "the middleware gave no performance settings", hr);

  if (wanted.speed) {
    hr = settings->SetWindowsPointerSpeed(static_cast<LONG>(*wanted.speed));
    if (FAILED(hr)) return Failure(out, "could not set the pointer speed", hr);
  }
  if (wanted.acceleration_off) {
    hr = settings->SetAccelerationControl(0);
    if (FAILED(hr)) return Failure(out, "could not switch the acceleration off", hr);
  } else if (wanted.acceleration) {
    hr = settings->SetAcceleration(static_cast<LONG>(*wanted.acceleration));
    if (FAILED(hr)) return Failure(out, "could not set the acceleration", hr);
  }

  LONG speed = 0, status = 0, level = 0;
  hr = settings->GetWindowsPointerSpeed(&speed);
  if (FAILED(hr)) return Failure(out, "could not read the pointer speed", hr);
  hr = settings->GetAccelerationStatus(&status);
  if (FAILED(hr)) return Failure(out, "could not read the acceleration", hr);
  Record r;
  r.Number("speed", speed).Flag("acceleration", status != 0);
  // The level exists only for the thresholds it sets; other settings have none.
  if (status != 0 && SUCCEEDED(settings->GetAcceleration(&level)) && level >= kMinAcceleration &&
      level <= kMaxAcceleration)
    r.Number("acceleration level", level);
  out.Print(r);
  return kExitOk;
}

}  // namespace quill::cli
