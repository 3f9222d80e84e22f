// Record of every feature-report transfer the emulated mouse receives, with detection of
// exchanges of two clients that interleave.
#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "middleware/transport/feature_report.h"

namespace quill::emu {

enum class TransferKind : uint8_t {
  kRequest,  // SetFeature with a command report
  kPoll,     // GetFeature
  kReset,    // SetFeature with the reset report
};
const char* TransferKindName(TransferKind kind);

struct LogEntry {
  uint64_t sequence = 0;    // 1, 2, 3, ... since the model was made (kept across Clear)
  uint32_t client = 0;      // process id (pipe server) or the port's client id
  TransferKind kind = TransferKind::kRequest;
  uint8_t command = 0;      // byte 4 of the request; for a poll, of the request it answers
  bool ok = true;           // false: the transfer failed (fault injection, unplugged, bad size)
  uint8_t status = 0;       // poll: the status byte answered
  FeatureReport bytes{};    // request/reset: as received; poll: the reply sent
  std::string note;         // e.g. "bad checksum", "rejected: slot 7"
};

// A transfer of `intruder` that arrived while `owner` had an exchange open (between its
// request and its reset report).
struct Interleaving {
  uint64_t sequence = 0;
  uint32_t owner = 0;
  uint32_t intruder = 0;
  TransferKind kind = TransferKind::kRequest;
  uint8_t command = 0;
};

class RequestLog {
 public:
  static constexpr size_t kDefaultCapacity = 200000;
  explicit RequestLog(size_t capacity = kDefaultCapacity) : capacity_(capacity) {}

  // Appends (assigning the sequence number) and runs the interleave check.
  void Add(LogEntry entry);
  void Clear();  // entries, interleavings and open exchanges; sequence numbers go on

  const std::deque<LogEntry>& Entries() const { return entries_; }
  std::vector<LogEntry> Requests(uint8_t command) const;  // successful requests of that command
  std::vector<LogEntry> RequestsOfClient(uint32_t client) const;
  const std::vector<Interleaving>& Interleavings() const { return interleavings_; }
  size_t Dropped() const { return dropped_; }  // oldest entries removed beyond the capacity

 private:
  size_t capacity_;
  std::deque<LogEntry> entries_;
  std::vector<Interleaving> interleavings_;
  std::vector<uint32_t> open_exchanges_;  // clients between a request and their reset report
  uint64_t next_sequence_ = 1;
  size_t dropped_ = 0;
};

// Readable forms, one line per entry / a verdict line then one line per interleaving.
std::string FormatLogEntry(const LogEntry& entry);
std::string FormatLog(const RequestLog& log);
std::string FormatInterleaveVerdict(const RequestLog& log);

// Kind of transfer and direction of a line of FormatLog, as a reader of the printed log (the
// "log" control command) needs them: false for a line that is none.
struct LogLineKind {
  TransferKind kind = TransferKind::kRequest;
  bool write = false;  // a request whose direction byte (3) is 0
};
bool ReadLogLineKind(std::string_view line, LogLineKind& out);

// The same check over a finished list of entries (for logs gathered elsewhere).
std::vector<Interleaving> FindInterleavings(const std::vector<LogEntry>& entries);

}  // namespace quill::emu
