#include "emulator/quillfern_model.h"

#include <algorithm>
#include <cstring>

#include "middleware/transport/device_ids.h"

namespace quill::emu {
namespace {

constexpr uint8_t kRead = 1;
constexpr uint8_t kWrite = 0;

bool ValidRateCode(uint8_t code) { return code == 1 || code == 2 || code == 8; }

char16_t LowerAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

bool SamePath(const std::u16string& a, const std::u16string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

std::u16string HexUnits(uint32_t value, int digits) {
  static const char16_t kDigits[] = u"0123456789abcdef";
  std::u16string out(static_cast<size_t>(digits), u'0');
  for (int i = digits - 1; i >= 0; --i, value >>= 4) out[static_cast<size_t>(i)] = kDigits[value & 0xF];
  return out;
}

// Reply status and the reason of a rejection, filled by the command handlers.
struct Outcome {
  uint8_t status = kStatusDone;
  std::string note;
  void Reject(std::string why, uint8_t code = kStatusRejected) {
    status = code;
    note = std::move(why);
  }
};

void ClearPayload(FeatureReport& reply) {
  std::fill(reply.begin() + kPayload, reply.begin() + kPayload + kPayloadSize, 0);
}

// The stage codes of `stage` (1-based) of a block.
void StageCodes(const ProfileBlock& block, int stage, uint8_t& x, uint8_t& y) {
  x = block[kBlockStages + 2 * static_cast<size_t>(stage - 1)];
  y = block[kBlockStages + 2 * static_cast<size_t>(stage - 1) + 1];
}

}  // namespace

uint8_t ReportChecksum(const FeatureReport& report) {
  uint8_t sum = 0;
  for (size_t i = kDirection; i < kChecksum; ++i) sum ^= report[i];
  return sum;
}

FeatureReport MakeResetReport() {
  FeatureReport report{};
  report[kFixedOne] = 1;
  report[kTrailer] = 1;
  return report;
}

bool IsResetReport(const FeatureReport& report) { return report == MakeResetReport(); }

QuillfernModel::QuillfernModel(DeviceState state) : state_(std::move(state)) {
  path_ = MakeDevicePath(path_instance_);
  known_paths_.push_back(path_);
}

// ---- state ------------------------------------------------------------------------------

DeviceState QuillfernModel::State() const {
  std::lock_guard lock(mutex_);
  return state_;
}

void QuillfernModel::SetState(const DeviceState& state) {
  std::lock_guard lock(mutex_);
  state_ = state;
  Changed();
}

uint64_t QuillfernModel::StateVersion() const {
  std::lock_guard lock(mutex_);
  return state_version_;
}

// ---- command handling -------------------------------------------------------------------

FeatureReport QuillfernModel::HandleCommand(const FeatureReport& request, std::string* note) {
  std::lock_guard lock(mutex_);
  return HandleLocked(request, note);
}

FeatureReport QuillfernModel::HandleLocked(const FeatureReport& request, std::string* note) {
  FeatureReport reply = request;
  uint8_t* payload = reply.data() + kPayload;
  const uint8_t direction = request[kDirection];
  const uint8_t command = request[kCommand];
  const uint8_t length = request[kLength];
  Outcome out;
  DeviceState& s = state_;
  const DeviceState before = s;

  auto unknown = [&] { out.Reject("unknown command or direction", kStatusUnknownCommand); };
  auto want_length = [&](uint8_t expected) {
    if (length == expected) return true;
    out.Reject("write length " + std::to_string(length) + ", expected " + std::to_string(expected));
    return false;
  };
  auto profile_slot = [&](uint8_t slot, bool zero_is_active) -> int {
    if (slot == 0 && zero_is_active) return s.performance.active_slot;
    if (slot >= 1 && slot <= kProfileSlots) return slot;
    out.Reject("profile slot " + std::to_string(slot));
    return 0;
  };
  auto macro_number = [&](uint8_t number, bool must_exist) -> Macro* {
    if (number >= kMaxMacros) {
      out.Reject("macro number " + std::to_string(number));
      return nullptr;
    }
    Macro& macro = s.macros[number];
    if (must_exist && !macro.Used()) {
      out.Reject("macro " + std::to_string(number) + " not allocated");
      return nullptr;
    }
    return &macro;
  };

  if (direction != kRead && direction != kWrite) {
    unknown();
  } else {
    switch (command) {
      case kCmdDeviceInfo:
        if (direction != kRead) { unknown(); break; }
        ClearPayload(reply);
        std::copy(s.info.serial.begin(), s.info.serial.end(), payload);
        payload[32] = s.info.firmware_major;
        payload[33] = s.info.firmware_minor;
        break;

      case kCmdPerformance:
        if (direction == kRead) {
          ClearPayload(reply);
          payload[0] = s.performance.active_slot;
          payload[1] = s.performance.polling_rate_code;
          payload[2] = s.performance.current_stage;
          payload[3] = s.performance.dpi_x_code;
          payload[4] = s.performance.dpi_y_code;
        } else if (want_length(5)) {
          const uint8_t slot = payload[0], rate = payload[1], stage = payload[2];
          if (slot < 1 || slot > kProfileSlots || !s.Slot(slot).Occupied())
            out.Reject("active slot " + std::to_string(slot) + " is not an occupied profile");
          else if (!ValidRateCode(rate))
            out.Reject("polling-rate code " + std::to_string(rate));
          else if (stage < 1 || stage > kMaxDpiStages)
            out.Reject("DPI stage " + std::to_string(stage));
          else
            s.performance = PerformanceRecord{slot, rate, stage, payload[3], payload[4]};
        }
        break;

      case kCmdProfile:
        if (direction == kRead) {
          const int slot = profile_slot(payload[0], true);
          if (!slot) break;
          ClearPayload(reply);
          std::copy(s.Slot(slot).block.begin(), s.Slot(slot).block.end(), payload);
          payload[kBlockSlot] = static_cast<uint8_t>(slot);
        } else if (length == 0x41) {
          // The 65-byte default-layout write of older software: acknowledged, not stored.
          out.note = "65-byte profile write acknowledged, not stored";
        } else if (want_length(kProfileBlockSize)) {
          const int slot = profile_slot(payload[0], true);
          if (!slot) break;
          if (payload[kBlockStageCount] > kMaxDpiStages) {
            out.Reject("stage count " + std::to_string(payload[kBlockStageCount]));
            break;
          }
          ProfileBlock& block = s.Slot(slot).block;
          std::copy(payload, payload + kProfileBlockSize, block.begin());
          block[kBlockSlot] = static_cast<uint8_t>(slot);
        }
        break;

      case kCmdProfileErase: {
        if (direction != kWrite) { unknown(); break; }
        if (!want_length(1)) break;
        const int slot = profile_slot(payload[0], false);
        if (!slot) break;
        if (slot == 1 || slot == s.performance.active_slot) {
          out.Reject("profile " + std::to_string(slot) + " is the base or the active profile");
          break;
        }
        s.Slot(slot).block = ProfileBlock{};
        s.Slot(slot).block[kBlockSlot] = static_cast<uint8_t>(slot);
        break;
      }

      case kCmdMacroDirectory:
        if (direction == kRead) {
          // Positions are macro numbers 0 to the highest one in use; free numbers show size 0.
          int count = 0;
          for (int n = 0; n < kMaxMacros; ++n)
            if (s.macros[static_cast<size_t>(n)].Used()) count = n + 1;
          const int first = request[kMacroSlot] * static_cast<int>(kDirectoryEntriesPerPage);
          const int entries = std::clamp(count - first, 0, static_cast<int>(kDirectoryEntriesPerPage));
          ClearPayload(reply);
          for (int i = 0; i < entries; ++i) {
            const size_t size = s.macros[static_cast<size_t>(first + i)].data.size();
            uint8_t* entry = payload + kDirectoryEntrySize * static_cast<size_t>(i);
            entry[0] = static_cast<uint8_t>(first + i);
            entry[1] = static_cast<uint8_t>(size >> 8);
            entry[2] = static_cast<uint8_t>(size & 0xFF);
            entry[3] = size ? 1 : 0;
          }
          reply[kLength] = static_cast<uint8_t>(entries * kDirectoryEntrySize);
        } else if (want_length(4)) {
          Macro* macro = macro_number(payload[0], false);
          if (!macro) break;
          const size_t size = static_cast<size_t>(payload[1] << 8 | payload[2]);
          const unsigned others = s.UsedSpace() - SpaceUnitsFor(macro->data.size());
          if (others + SpaceUnitsFor(size) > s.total_space) {
            out.Reject("macro of " + std::to_string(size) + " bytes does not fit", kStatusNoSpace);
            break;
          }
          macro->data.resize(size, 0);
        }
        break;

      case kCmdMacroDelete: {
        if (direction != kWrite) { unknown(); break; }
        if (!want_length(1)) break;
        if (Macro* macro = macro_number(payload[0], false)) *macro = Macro{};
        break;
      }

      case kCmdMacroData: {
        Macro* macro = macro_number(request[kMacroSlot], true);
        if (!macro) break;
        const size_t size = macro->data.size();
        const size_t chunks = (size + kMacroChunkSize - 1) / kMacroChunkSize;
        const size_t counter = static_cast<size_t>(request[kCounterHigh] << 8 | request[kCounterLow]);
        if (counter >= chunks) {
          out.Reject("chunk counter " + std::to_string(counter) + " of " + std::to_string(chunks));
          break;
        }
        const size_t offset = (chunks - 1 - counter) * kMacroChunkSize;
        const size_t count = std::min(kMacroChunkSize, size - offset);
        if (direction == kRead) {
          ClearPayload(reply);
          std::copy_n(macro->data.begin() + static_cast<std::ptrdiff_t>(offset), count, payload);
        } else if (want_length(static_cast<uint8_t>(count))) {
          std::copy_n(payload, count, macro->data.begin() + static_cast<std::ptrdiff_t>(offset));
        }
        break;
      }

      case kCmdMacroName: {
        Macro* macro = macro_number(request[kMacroSlot], true);
        if (!macro) break;
        const size_t count = std::min(kMacroNameBytes, macro->data.size());
        if (direction == kRead) {
          ClearPayload(reply);
          std::copy_n(macro->data.begin(), count, payload);
        } else {
          std::copy_n(payload, count, macro->data.begin());
        }
        break;
      }

      case kCmdProfileName: {
        const int slot = profile_slot(payload[0], false);
        if (!slot) break;
        if (direction == kRead) {
          ClearPayload(reply);
          payload[0] = static_cast<uint8_t>(slot);
          std::copy(s.Slot(slot).name.begin(), s.Slot(slot).name.end(), payload + 1);
        } else if (want_length(1 + kProfileNameBytes)) {
          if (payload[1] == 0xFF && (slot == 1 || slot == s.performance.active_slot)) {
            out.Reject("profile " + std::to_string(slot) + " is the base or the active profile");
            break;
          }
          std::copy_n(payload + 1, kProfileNameBytes, s.Slot(slot).name.begin());
        }
        break;
      }

      case kCmdMemorySpace:
        if (direction != kRead) { unknown(); break; }
        ClearPayload(reply);
        payload[0] = s.total_space;
        payload[1] = static_cast<uint8_t>(std::min(255u, s.UsedSpace()));
        break;

      case kCmdDownloadMode:
        if (direction != kWrite) { unknown(); break; }
        if (!want_length(1)) break;
        if (payload[0] == 1) s.download_mode = true;
        else if (payload[0] == 2) s.download_mode = false;
        else out.Reject("download-mode argument " + std::to_string(payload[0]));
        break;

      case kCmdSensorRom:
        if (direction == kRead) {
          ClearPayload(reply);
          payload[0] = s.sensor_rom_status;
        } else if (want_length(1)) {
          s.sensor_rom_status = payload[0];
        }
        break;

      default:
        unknown();
    }
  }

  if (out.status != kStatusDone) s = before;  // a rejected request changes nothing
  else if (!(s == before)) Changed();
  reply[kStatus] = out.status;
  reply[kTrailer] = 1;
  reply[kChecksum] = ReportChecksum(reply);
  if (note) *note = out.note;
  return reply;
}

// ---- transfers --------------------------------------------------------------------------

bool QuillfernModel::SetFeature(uint64_t handle, uint32_t client, const uint8_t* report, size_t size) {
  std::lock_guard lock(mutex_);
  LogEntry entry;
  entry.client = client;
  if (report && size) std::memcpy(entry.bytes.data(), report, std::min(size, kFeatureReportSize));
  const bool reset = size == kFeatureReportSize && IsResetReport(entry.bytes);
  entry.kind = reset ? TransferKind::kReset : TransferKind::kRequest;
  entry.command = reset ? 0 : entry.bytes[kCommand];

  if (!HandleAliveLocked(handle)) {
    entry.ok = false;
    entry.note = plugged_ ? "handle from before an unplug" : "device unplugged";
  } else if (size != kFeatureReportSize || !report) {
    entry.ok = false;
    entry.note = "report size " + std::to_string(size);
  } else if (entry.bytes[kReportId] != 0) {
    entry.ok = false;
    entry.note = "report ID " + std::to_string(entry.bytes[kReportId]);
  } else if (reset) {
    if (fail_resets_) {
      --fail_resets_;
      entry.ok = false;
      entry.note = "injected reset failure";
    } else {
      pending_.reset();
    }
  } else if (fail_sets_) {
    --fail_sets_;
    entry.ok = false;
    entry.note = "injected SetFeature failure";
  } else {
    Pending pending;
    pending.request = entry.bytes;
    pending.busy_left = busy_polls_;
    pending.bad_checksum = ReportChecksum(entry.bytes) != entry.bytes[kChecksum];
    if (pending.bad_checksum) entry.note = "bad checksum";
    pending_ = pending;
  }
  const bool ok = entry.ok;
  log_.Add(std::move(entry));
  return ok;
}

bool QuillfernModel::GetFeature(uint64_t handle, uint32_t client, uint8_t* report, size_t size) {
  std::lock_guard lock(mutex_);
  LogEntry entry;
  entry.client = client;
  entry.kind = TransferKind::kPoll;
  entry.command = pending_ ? pending_->request[kCommand] : 0;

  if (!HandleAliveLocked(handle)) {
    entry.ok = false;
    entry.note = plugged_ ? "handle from before an unplug" : "device unplugged";
  } else if (size != kFeatureReportSize || !report) {
    entry.ok = false;
    entry.note = "report size " + std::to_string(size);
  } else if (fail_gets_) {
    --fail_gets_;
    entry.ok = false;
    entry.note = "injected GetFeature failure";
  }
  if (!entry.ok) {
    log_.Add(std::move(entry));
    return false;
  }

  FeatureReport reply;
  if (!pending_) {
    reply = MakeResetReport();  // idle: nothing to answer
    entry.note = "no request pending";
  } else if (pending_->answered) {
    reply = pending_->reply;
  } else {
    Pending& p = *pending_;
    auto answer_status = [&](uint8_t status, bool final) {
      reply = p.request;
      reply[kStatus] = status;
      reply[kTrailer] = 1;
      reply[kChecksum] = ReportChecksum(reply);
      if (final) {
        p.reply = reply;
        p.answered = true;
      }
    };
    if (p.busy_left) {
      --p.busy_left;
      answer_status(kStatusBusy1, false);
    } else if (p.bad_checksum) {
      answer_status(kStatusChecksumError, true);
      entry.note = "bad checksum";
    } else {
      const std::optional<uint8_t> scripted = NextScriptedStatus(p.request[kCommand]);
      if (scripted && (*scripted == kStatusBusy0 || *scripted == kStatusBusy1)) {
        answer_status(*scripted, false);
      } else if (scripted && *scripted != kStatusDone) {
        answer_status(*scripted, true);
        entry.note = "scripted status";
      } else {
        p.reply = HandleLocked(p.request, &entry.note);
        p.answered = true;
        reply = p.reply;
      }
    }
  }
  std::memcpy(report, reply.data(), kFeatureReportSize);
  entry.status = reply[kStatus];
  entry.bytes = reply;
  log_.Add(std::move(entry));
  return true;
}

std::optional<uint8_t> QuillfernModel::NextScriptedStatus(uint8_t command) {
  auto it = scripts_.find(command);
  if (it == scripts_.end()) return std::nullopt;
  StatusScript& script = it->second;
  if (script.statuses.empty()) {
    scripts_.erase(it);
    script_positions_.erase(command);
    return std::nullopt;
  }
  size_t& position = script_positions_[command];
  const uint8_t status = script.statuses[position++];
  if (position >= script.statuses.size()) {
    if (script.repeat) {
      position = 0;
    } else {
      scripts_.erase(it);
      script_positions_.erase(command);
    }
  }
  return status;
}

void QuillfernModel::SetBusyPolls(unsigned polls) {
  std::lock_guard lock(mutex_);
  busy_polls_ = polls;
}

unsigned QuillfernModel::BusyPolls() const {
  std::lock_guard lock(mutex_);
  return busy_polls_;
}

void QuillfernModel::SetStatusScript(uint8_t command, StatusScript script) {
  std::lock_guard lock(mutex_);
  script_positions_[command] = 0;
  scripts_[command] = std::move(script);
}

void QuillfernModel::ClearStatusScripts() {
  std::lock_guard lock(mutex_);
  scripts_.clear();
  script_positions_.clear();
}

void QuillfernModel::FailNextSetFeatures(unsigned n) { std::lock_guard lock(mutex_); fail_sets_ = n; }
void QuillfernModel::FailNextGetFeatures(unsigned n) { std::lock_guard lock(mutex_); fail_gets_ = n; }
void QuillfernModel::FailNextResets(unsigned n) { std::lock_guard lock(mutex_); fail_resets_ = n; }
void QuillfernModel::FailNextOpens(unsigned n) { std::lock_guard lock(mutex_); fail_opens_ = n; }

void QuillfernModel::ClearFaults() {
  std::lock_guard lock(mutex_);
  scripts_.clear();
  script_positions_.clear();
  fail_sets_ = fail_gets_ = fail_resets_ = fail_opens_ = 0;
  busy_polls_ = 0;
}

std::string QuillfernModel::DescribeFaults() const {
  std::lock_guard lock(mutex_);
  std::string out = "busy-polls " + std::to_string(busy_polls_) + "\n";
  out += "fail set " + std::to_string(fail_sets_) + " get " + std::to_string(fail_gets_) +
         " reset " + std::to_string(fail_resets_) + " open " + std::to_string(fail_opens_) + "\n";
  for (const auto& [command, script] : scripts_) {
    static const char kHex[] = "0123456789abcdef";
    std::string line = "script ";
    line += kHex[command >> 4];
    line += kHex[command & 0xF];
    for (size_t i = 0; i < script.statuses.size(); ++i) {
      line += i ? ',' : ' ';
      line += std::to_string(script.statuses[i]);
    }
    if (script.repeat) line += " repeat";
    out += line + "\n";
  }
  return out;
}

// ---- presence ---------------------------------------------------------------------------

std::u16string QuillfernModel::MakeDevicePath(uint32_t instance, size_t length) {
  std::u16string head = u"\\\\?\\hid#vid_" + HexUnits(VENDOR_ID, 4) + u"&pid_" + HexUnits(QUILLFERN_PID, 4) +
                        u"&mi_00#7&" + HexUnits(instance, 8);
  const std::u16string tail = u"&0&0000#{378de44c-56ef-11d1-bc8c-00a0c91405dd}";
  const size_t natural = head.size() + tail.size();
  if (length > natural) head += std::u16string(length - natural, u'0');
  return head + tail;
}

std::u16string QuillfernModel::DevicePath() const {
  std::lock_guard lock(mutex_);
  return path_;
}

void QuillfernModel::SetDevicePath(const std::u16string& path) {
  std::lock_guard lock(mutex_);
  path_ = path;
  known_paths_.back() = path;
}

std::vector<std::u16string> QuillfernModel::KnownPaths() const {
  std::lock_guard lock(mutex_);
  return known_paths_;
}

bool QuillfernModel::Plugged() const {
  std::lock_guard lock(mutex_);
  return plugged_;
}

std::optional<uint64_t> QuillfernModel::OpenHandle(const std::u16string& path) {
  std::lock_guard lock(mutex_);
  if (!plugged_ || !SamePath(path, path_)) return std::nullopt;
  if (fail_opens_) {
    --fail_opens_;
    return std::nullopt;
  }
  if (next_handle_serial_ == 0) next_handle_serial_ = 1;
  return generation_ << 32 | next_handle_serial_++;
}

bool QuillfernModel::HandleAlive(uint64_t handle) const {
  std::lock_guard lock(mutex_);
  return HandleAliveLocked(handle);
}

bool QuillfernModel::HandleAliveLocked(uint64_t handle) const {
  return plugged_ && (handle >> 32) == generation_ && (handle & 0xFFFFFFFFu) != 0;
}

void QuillfernModel::Unplug() {
  std::lock_guard lock(mutex_);
  if (!plugged_) return;
  plugged_ = false;
  ++generation_;
  pending_.reset();
}

void QuillfernModel::Replug(bool new_path) {
  std::lock_guard lock(mutex_);
  if (plugged_) {  // a replug while plugged is an unplug first
    ++generation_;
    pending_.reset();
  }
  if (new_path) {
    path_ = MakeDevicePath(++path_instance_, path_.size());
    known_paths_.push_back(path_);
  }
  plugged_ = true;
}

// ---- buttons ----------------------------------------------------------------------------

ButtonResult QuillfernModel::ChangeStageLocked(int delta) {
  PerformanceRecord& perf = state_.performance;
  const ProfileBlock& block = state_.Slot(std::clamp<int>(perf.active_slot, 1, kProfileSlots)).block;
  const int count = std::min<int>(block[kBlockStageCount], kMaxDpiStages);
  ButtonResult result;
  if (count > 0) {
    const int current = std::clamp<int>(perf.current_stage, 1, count);
    const int next = std::clamp(current + delta, 1, count);
    uint8_t x, y;
    StageCodes(block, next, x, y);
    const PerformanceRecord updated{perf.active_slot, perf.polling_rate_code, static_cast<uint8_t>(next), x, y};
    if (!(updated == perf)) {
      perf = updated;
      Changed();
      result.changed = true;
    }
  }
  result.performance = perf;
  return result;
}

ButtonResult QuillfernModel::PressDpiUp() {
  std::unique_lock lock(mutex_);
  const ButtonResult result = ChangeStageLocked(+1);
  lock.unlock();
  Notify(result);
  return result;
}

ButtonResult QuillfernModel::PressDpiDown() {
  std::unique_lock lock(mutex_);
  const ButtonResult result = ChangeStageLocked(-1);
  lock.unlock();
  Notify(result);
  return result;
}

ButtonResult QuillfernModel::PressProfileSwitch() {
  std::unique_lock lock(mutex_);
  PerformanceRecord& perf = state_.performance;
  ButtonResult result;
  const int active = std::clamp<int>(perf.active_slot, 1, kProfileSlots);
  for (int step = 1; step < kProfileSlots; ++step) {
    const int slot = (active - 1 + step) % kProfileSlots + 1;
    if (!state_.Slot(slot).Occupied()) continue;
    const ProfileBlock& block = state_.Slot(slot).block;
    const int count = std::min<int>(block[kBlockStageCount], kMaxDpiStages);
    perf.active_slot = static_cast<uint8_t>(slot);
    if (count > 0) {
      const int stage = (block[kBlockDefaultStage] >= 1 && block[kBlockDefaultStage] <= count)
                            ? block[kBlockDefaultStage] : 1;
      perf.current_stage = static_cast<uint8_t>(stage);
      StageCodes(block, stage, perf.dpi_x_code, perf.dpi_y_code);
    }
    Changed();
    result.changed = true;
    break;
  }
  result.performance = perf;
  lock.unlock();
  Notify(result);
  return result;
}

void QuillfernModel::SetKeystrokeCallback(std::function<void()> callback) {
  std::lock_guard lock(mutex_);
  keystroke_ = std::move(callback);
}

void QuillfernModel::Notify(const ButtonResult& result) {
  if (!result.changed) return;
  std::function<void()> callback;
  {
    std::lock_guard lock(mutex_);
    callback = keystroke_;
  }
  if (callback) callback();
}

// ---- log --------------------------------------------------------------------------------

std::vector<LogEntry> QuillfernModel::LogEntries() const {
  std::lock_guard lock(mutex_);
  return {log_.Entries().begin(), log_.Entries().end()};
}

std::vector<LogEntry> QuillfernModel::LoggedRequests(uint8_t command) const {
  std::lock_guard lock(mutex_);
  return log_.Requests(command);
}

std::vector<Interleaving> QuillfernModel::Interleavings() const {
  std::lock_guard lock(mutex_);
  return log_.Interleavings();
}

std::string QuillfernModel::FormatLog() const {
  std::lock_guard lock(mutex_);
  return quill::emu::FormatLog(log_);
}

std::string QuillfernModel::InterleaveVerdict() const {
  std::lock_guard lock(mutex_);
  return FormatInterleaveVerdict(log_);
}

void QuillfernModel::ClearLog() {
  std::lock_guard lock(mutex_);
  log_.Clear();
}

}  // namespace quill::emu
