// The profile and macro records of the desktop programs and their lists.
//
// A ProfileEntry holds one profile of the mouse (as the middleware's profile manager presents
// it) plus what only the desktop programs keep: the associated application, automatic loading,
// the on-screen display switches and the names of the macro and target profile of each button.
// A MacroEntry holds one macro with its recorded events.
//
// Entries live in an EntryList (creation order); an entry keeps its address for its whole life,
// so the pointers between entries (apMacros, apTargetProfiles) stay valid until the entry they
// point at is removed with RemoveProfile / RemoveMacro, which clear them.
//
// Field limits (the data's, in UTF-16 units without terminator):
//   szName, szExecutable     259
//   per-button names         20 (kButtonTargetNameUnits)
//   DPI stages               5, macro events 16
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <list>
#include <memory>
#include <string>
#include <string_view>

#include "common/button_catalogue.h"
#include "common/dpi_stages.h"
#include "common/macro_events.h"
#include "common/name_fields.h"

namespace quill {

constexpr size_t kEntryNameUnits = 259;
constexpr size_t kProfileButtons = buttons::kButtonCount;

// LED switches of ulLedFlags.
constexpr uint32_t kLedScrollWheel = 1;
constexpr uint32_t kLedLogo = 2;          // stored in the "[LEDBATTERYINDICATOR]" section
constexpr uint32_t kLedChargingDock = 4;

// The nine mapping records of a profile, in slot order (button definition - 1).
using MappingSlots = std::array<buttons::MappingWords, kProfileButtons>;

// What a program attaches to an entry (its middleware objects, upload forms, extra flags);
// destroyed with the entry.
struct EntryAttachment {
  virtual ~EntryAttachment() = default;
};

struct MacroEntry;

struct ProfileEntry {
  std::unique_ptr<EntryAttachment> pLinks;   // middleware links of the program
  std::unique_ptr<MappingSlots> pMappings;   // absent until the profile has mappings
  std::u16string szName;
  std::u16string szExecutable;               // file name of the application, or "<none>" translated
  int32_t lId = 0;                           // identifier in the store
  int32_t bAutoLoad = 0;
  int32_t bModified = 0;
  int32_t bMarkedForDelete = 0;
  int32_t bDeleted = 0;
  int32_t bCreated = 0;
  std::array<MacroEntry*, kProfileButtons> apMacros{};            // by file index
  std::array<ProfileEntry*, kProfileButtons> apTargetProfiles{};  // by file index
  int32_t bOtfsOsd = 0;
  int32_t bProfileOsd = 0;
  uint32_t ulLedFlags = 0;
  std::unique_ptr<DpiStages> pDpiStages;     // allocated zero-filled on demand
  int32_t lNumber = 0;                       // entries created in its list so far, + 1
  std::array<std::u16string, kProfileButtons> aszMacroNames;          // by file index, <= 20
  std::array<std::u16string, kProfileButtons> aszTargetProfileNames;  // by file index, <= 20
};

struct MacroEntry {
  std::unique_ptr<EntryAttachment> pLinks;   // store objects and upload parameters
  std::u16string szName;
  int32_t bModified = 0;
  int32_t bMarkedForDelete = 0;
  int32_t bDeleted = 0;
  int32_t bCreated = 0;
  int32_t lId = 0;                           // identifier in the store
  uint32_t ulLastEventTick = 0;              // tick count of the last recorded event
  MacroEventList events;                     // ausCodes, alTimes, lNumElements (0 to 16)
};

// Entries in creation order, each allocated on its own.
template <class Entry>
class EntryList {
  using Storage = std::list<std::unique_ptr<Entry>>;

 public:
  class iterator {
   public:
    using iterator_category = std::bidirectional_iterator_tag;
    using value_type = Entry;
    using difference_type = std::ptrdiff_t;
    using pointer = Entry*;
    using reference = Entry&;
    iterator() = default;
    explicit iterator(typename Storage::const_iterator it) : it_(it) {}
    Entry& operator*() const { return **it_; }
    Entry* operator->() const { return it_->get(); }
    iterator& operator++() { ++it_; return *this; }
    iterator operator++(int) { iterator old = *this; ++it_; return old; }
    iterator& operator--() { --it_; return *this; }
    iterator operator--(int) { iterator old = *this; --it_; return old; }
    bool operator==(const iterator&) const = default;

   private:
    typename Storage::const_iterator it_;
  };

  iterator begin() const { return iterator(entries_.begin()); }
  iterator end() const { return iterator(entries_.end()); }
  size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }

  // A new zero-filled entry with that name (cut to its field), not yet in the list; counted for
  // lNumber.
  std::unique_ptr<Entry> Make(std::u16string_view name) {
    auto entry = std::make_unique<Entry>();
    entry->szName = std::u16string(CutToUnits(name, kEntryNameUnits));
    ++created_;
    if constexpr (requires { entry->lNumber; }) entry->lNumber = created_;
    return entry;
  }
  // Puts an entry at the end of the list; returns it.
  Entry& Adopt(std::unique_ptr<Entry> entry) {
    entries_.push_back(std::move(entry));
    return *entries_.back();
  }
  // Make and Adopt.
  Entry& Add(std::u16string_view name) { return Adopt(Make(name)); }

  // First entry with exactly that name, first with that identifier; null when none.
  Entry* FindByName(std::u16string_view name) const {
    for (const auto& e : entries_)
      if (e->szName == name) return e.get();
    return nullptr;
  }
  Entry* FindById(int32_t id) const {
    for (const auto& e : entries_)
      if (e->lId == id) return e.get();
    return nullptr;
  }
  // Entry at a 0-based position; null past the end.
  Entry* At(size_t index) const {
    for (const auto& e : entries_)
      if (index-- == 0) return e.get();
    return nullptr;
  }
  // Position of an entry; -1 when it is not in the list.
  ptrdiff_t IndexOf(const Entry* entry) const {
    ptrdiff_t i = 0;
    for (const auto& e : entries_) {
      if (e.get() == entry) return i;
      ++i;
    }
    return -1;
  }
  // Takes an entry out of the list (null when it is not in it). Use RemoveProfile/RemoveMacro
  // to also clear the pointers other entries hold to it.
  std::unique_ptr<Entry> Release(const Entry* entry) {
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
      if (it->get() == entry) {
        auto owned = std::move(*it);
        entries_.erase(it);
        return owned;
      }
    }
    return nullptr;
  }
  void Clear() { entries_.clear(); }
  int32_t CreatedCount() const { return created_; }

 private:
  Storage entries_;
  int32_t created_ = 0;
};

using ProfileList = EntryList<ProfileEntry>;
using MacroList = EntryList<MacroEntry>;

// The two lists of a program (its device connection's profiles and macros).
struct EntryLists {
  ProfileList profiles;
  MacroList macros;
  // Frees both lists (macros after the profiles that point at them).
  void Clear() {
    profiles.Clear();
    macros.Clear();
  }
};

// Take an entry out of its list and clear every pointer to it; the entry is returned.
std::unique_ptr<ProfileEntry> RemoveProfile(EntryLists& lists, const ProfileEntry* profile);
std::unique_ptr<MacroEntry> RemoveMacro(EntryLists& lists, const MacroEntry* macro);

// The mapping slot of a file index (0 to 8).
size_t SlotOfFileIndex(size_t fileIndex);

}  // namespace quill
