#include "configurator/watchdog.h"

#include "common/name_fields.h"
#include "common/translation.h"

namespace quill::cfg {

namespace {

constexpr size_t kVersionLineUnits = 127;
constexpr std::u16string_view kNoVersion = u"0.00";

std::u16string FormatLine(std::u16string_view format, std::u16string_view value, Translator* translator) {
  std::u16string text(translator ? std::u16string_view(translator->Translate(format)) : format);
  const size_t at = text.find(u"%s");
  if (at != std::u16string::npos) text.replace(at, 2, value);
  return std::u16string(CutToUnits(text, kVersionLineUnits));
}

}  // namespace

const ClosingMessage kUnpluggedMessage{
    u"Information",
    u"Torvo Quillfern Unplugged! Please connect it to the PC using the USB cable or click Cancel to close the "
    u"Configuration Tool.",
    u"CANCEL"};
const ClosingMessage kNoDeviceMessage{u"Information", u"No Torvo Quillfern Connected. Application will close now.",
                                      u"OK"};

bool ProbeRepeatedly(WatchdogPort& port, Clock& clock) {
  for (int probe = 0; probe < kProbeTries; ++probe) {
    clock.Sleep(kProbePauseMs);
    if (port.ProbeDevice()) return true;
  }
  return false;
}

VersionLines MakeVersionLines(const DeviceVersions& versions, bool mainConnected, bool alternateConnected,
                              Translator* translator) {
  std::u16string_view firmware = kNoVersion;
  if (mainConnected)
    firmware = versions.mainFirmware;
  else if (alternateConnected)
    firmware = versions.alternateFirmware;
  const std::u16string_view driver = versions.driver.empty() ? kNoVersion : std::u16string_view(versions.driver);
  return {FormatLine(u"Firmware Version : %s", firmware, translator),
          FormatLine(u"Driver Version : %s", driver, translator)};
}

void Watchdog::StartApply(SessionFlags& flags, bool fromOk) {
  applyUnderWay_ = true;
  closeAfterApply_ = fromOk;
  skipNextTick_ = true;
  flags.command.Store(kCommandApply);
}

WatchdogTick Watchdog::Tick(SessionFlags& flags, const DeviceVersions& versions, WatchdogPort& port, Clock& clock,
                            Translator* translator) {
  WatchdogTick tick;
  if (flags.watchdogPaused) return tick;  // the polling rate is being changed
  const bool opened = flags.opened;

  if (opened && !versionsShown_) {
    versionsShown_ = true;
    tick.versions = MakeVersionLines(versions, flags.mainConnected, flags.alternateConnected, translator);
  }
  if (skipNextTick_) {
    skipNextTick_ = false;
    return tick;
  }

  const int32_t command = flags.command.Load();
  if (opened && command == kCommandApply) applyUnderWay_ = true;
  if (applyUnderWay_ && command == kCommandApplied && !flags.reconnectExpected &&
      (flags.mainConnected || flags.alternateConnected)) {
    flags.command.Replace(kCommandApplied, kCommandIdle);
    applyUnderWay_ = false;
    if (closeAfterApply_) {
      closeAfterApply_ = false;
      tick.outcome = WatchdogOutcome::EndDialogOk;
      return tick;
    }
  }

  if (flags.reconnectExpected) {
    tick.rate = port.GetRate();
    if (port.IsMainConnected()) flags.mainConnected = true;
    flags.reconnectExpected = false;
  }

  // A mouse that stops answering is probed a few times before it counts as unplugged, so a
  // short disconnection (a reconnect after a rate change) is tolerated.
  if (flags.mainConnected && port.MainDeviceExists()) {
    if (!port.IsMainConnected() && !ProbeRepeatedly(port, clock)) tick.outcome = WatchdogOutcome::Unplugged;
    return tick;
  }

  if (opened && !flags.mainConnected && !flags.alternateConnected && !ProbeRepeatedly(port, clock))
    tick.outcome = WatchdogOutcome::NoDevice;
  return tick;
}

}  // namespace quill::cfg
