// Translate: every user-visible English text of the desktop programs passes through this lookup
// before it is shown; the English text is the key.
//
// Translations come from the current language's file in the install folder (translation_file.h).
// A text without a translation is shown in English; in the translators' recording modes it is
// appended to the file with a numbered placeholder ("[%d] NOT TRANSLATED YET\n") for a
// translator to fill in.
//
// Every text Translate returns stays valid, unchanged, for the life of the Translator, also
// across reloads and Clear(): returned texts are kept in a pool that is never shrunk (a pool
// holds each distinct text once). A Translator may be used from several threads.
#pragma once
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "common/file_system.h"

namespace quill {

enum TranslationMode : uint32_t {
  kTranslationNormal = 0,
  kTranslationRecording = 1,        // untranslated texts are appended to the file
  kTranslationRecordingFresh = 2,   // the same, from an emptied file
};

inline constexpr std::u16string_view kNotTranslatedMark = u"NOT TRANSLATED YET";

// Where the translation of the current language comes from.
struct TranslationSource {
  std::u16string installFolder;   // "InstallDir"
  std::u16string fileName;        // "TranslationFile%d" of the current language
  uint32_t mode = kTranslationNormal;
  bool operator==(const TranslationSource&) const = default;
};

// Path of the translation file: the install folder followed by the file name (a separator is
// put between them when the folder has none at its end).
std::u16string TranslationFilePath(const TranslationSource& source);

// Placeholder translation of the n-th untranslated text.
std::u16string NotTranslatedPlaceholder(uint32_t n);

class Translator {
 public:
  explicit Translator(FileSystem& fs) : fs_(fs) {}
  Translator(const Translator&) = delete;
  Translator& operator=(const Translator&) = delete;

  // Language used by the next load. A mode other than 0, 1, 2 counts as 0. The table is kept
  // until the next load.
  void SetSource(TranslationSource source);
  TranslationSource Source() const;

  // The text to show for text. reload: load the table again (configuration application at start
  // and after a language switch; in mode 2 the file is emptied instead and the table kept).
  const std::u16string& Translate(std::u16string_view text, bool reload = false);

  // Frees the table; the next lookup loads it again. Returned texts stay valid.
  void Clear();

  size_t EntryCount() const;
  uint32_t UntranslatedCount() const;

 private:
  struct Entry {
    const std::u16string* source;
    const std::u16string* translation;
  };

  const std::u16string& Intern(std::u16string_view text);
  void LoadLocked();
  void AppendEntryLocked(const std::u16string& source, const std::u16string& translation);
  void RecordLocked(const std::u16string& source, const std::u16string& placeholder);

  FileSystem& fs_;
  mutable std::mutex mutex_;
  TranslationSource source_;
  std::unordered_set<std::u16string> pool_;
  std::vector<Entry> table_;
  std::unordered_map<std::u16string_view, size_t> firstBySource_;
  bool loaded_ = false;
  uint32_t untranslated_ = 0;
};

}  // namespace quill
