#include "emulator/request_log.h"

#include <algorithm>
#include <cstdio>

namespace quill::emu {
namespace {

// Follows which clients have an exchange open and reports transfers of other clients that
// arrive meanwhile. An exchange opens with a request and closes with that client's reset.
class InterleaveTracker {
 public:
  explicit InterleaveTracker(std::vector<uint32_t>& open) : open_(open) {}

  // Returns the interleaving the entry causes, if any.
  bool Check(const LogEntry& entry, Interleaving& found) {
    bool intrudes = false;
    for (uint32_t owner : open_) {
      if (owner != entry.client) {
        found = Interleaving{entry.sequence, owner, entry.client, entry.kind, entry.command};
        intrudes = true;
        break;
      }
    }
    const bool is_open = std::find(open_.begin(), open_.end(), entry.client) != open_.end();
    if (entry.kind == TransferKind::kRequest && entry.ok && !is_open) {
      open_.push_back(entry.client);
    } else if (entry.kind == TransferKind::kReset && entry.ok && is_open) {
      open_.erase(std::find(open_.begin(), open_.end(), entry.client));
    }
    return intrudes;
  }

 private:
  std::vector<uint32_t>& open_;
};

std::string Hex(const uint8_t* bytes, size_t count) {
  std::string out;
  char buffer[4];
  for (size_t i = 0; i < count; ++i) {
    std::snprintf(buffer, sizeof buffer, i ? " %02x" : "%02x", bytes[i]);
    out += buffer;
  }
  return out;
}

}  // namespace

const char* TransferKindName(TransferKind kind) {
  switch (kind) {
    case TransferKind::kRequest: return "request";
    case TransferKind::kPoll: return "poll";
    case TransferKind::kReset: return "reset";
  }
  return "?";
}

void RequestLog::Add(LogEntry entry) {
  entry.sequence = next_sequence_++;
  Interleaving found;
  if (InterleaveTracker(open_exchanges_).Check(entry, found)) interleavings_.push_back(found);
  entries_.push_back(std::move(entry));
  while (entries_.size() > capacity_) {
    entries_.pop_front();
    ++dropped_;
  }
}

void RequestLog::Clear() {
  entries_.clear();
  interleavings_.clear();
  open_exchanges_.clear();
  dropped_ = 0;
}

std::vector<LogEntry> RequestLog::Requests(uint8_t command) const {
  std::vector<LogEntry> out;
  for (const LogEntry& e : entries_)
    if (e.kind == TransferKind::kRequest && e.ok && e.command == command) out.push_back(e);
  return out;
}

std::vector<LogEntry> RequestLog::RequestsOfClient(uint32_t client) const {
  std::vector<LogEntry> out;
  for (const LogEntry& e : entries_)
    if (e.kind == TransferKind::kRequest && e.ok && e.client == client) out.push_back(e);
  return out;
}

std::vector<Interleaving> FindInterleavings(const std::vector<LogEntry>& entries) {
  std::vector<uint32_t> open;
  std::vector<Interleaving> found;
  InterleaveTracker tracker(open);
  for (const LogEntry& e : entries) {
    Interleaving one;
    if (tracker.Check(e, one)) found.push_back(one);
  }
  return found;
}

std::string FormatLogEntry(const LogEntry& e) {
  char head[96];
  std::snprintf(head, sizeof head, "%llu client=%u %s cmd=%02x %s",
                static_cast<unsigned long long>(e.sequence), e.client, TransferKindName(e.kind),
                e.command, e.ok ? "ok" : "failed");
  std::string line = head;
  if (e.kind == TransferKind::kPoll && e.ok) {
    char status[16];
    std::snprintf(status, sizeof status, " status=%02x", e.status);
    line += status;
  }
  // Bytes 0 to 13 show the header and the short payloads; the rest only when non-zero.
  size_t shown = 14;
  for (size_t i = e.bytes.size(); i > shown; --i) {
    if (e.bytes[i - 1] != 0 && i - 1 != kChecksum && i - 1 != kTrailer) {
      shown = i;
      break;
    }
  }
  line += " bytes=" + Hex(e.bytes.data(), shown);
  if (shown < e.bytes.size()) line += " ..";
  if (!e.note.empty()) line += " note=\"" + e.note + "\"";
  return line;
}

bool ReadLogLineKind(std::string_view line, LogLineKind& out) {
  // "<sequence> client=<id> <kind> cmd=.. ok|failed ... bytes=b0 b1 b2 b3 ..."
  for (TransferKind kind : {TransferKind::kRequest, TransferKind::kPoll, TransferKind::kReset}) {
    if (line.find(std::string(" ") + TransferKindName(kind) + " cmd=") == std::string_view::npos) continue;
    out.kind = kind;
    const size_t bytes = line.find(" bytes=");
    const size_t direction = bytes + 7 + 3 * kDirection;
    out.write = kind == TransferKind::kRequest && bytes != std::string_view::npos && line.size() >= direction + 2 &&
                line.substr(direction, 2) == "00";
    return true;
  }
  return false;
}

std::string FormatLog(const RequestLog& log) {
  std::string out;
  if (log.Dropped()) out += "dropped " + std::to_string(log.Dropped()) + " older entries\n";
  for (const LogEntry& e : log.Entries()) out += FormatLogEntry(e) + "\n";
  return out;
}

std::string FormatInterleaveVerdict(const RequestLog& log) {
  const auto& found = log.Interleavings();
  if (found.empty()) return "interleave: none\n";
  std::string out = "interleave: " + std::to_string(found.size()) + "\n";
  for (const Interleaving& i : found) {
    char line[128];
    std::snprintf(line, sizeof line, "at %llu client %u (%s cmd=%02x) inside exchange of client %u\n",
                  static_cast<unsigned long long>(i.sequence), i.intruder, TransferKindName(i.kind),
                  i.command, i.owner);
    out += line;
  }
  return out;
}

}  // namespace quill::emu
