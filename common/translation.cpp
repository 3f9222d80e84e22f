#include "common/translation.h"

#include "common/translation_file.h"
#include "common/utf16.h"

namespace quill {

std::u16string TranslationFilePath(const TranslationSource& source) {
  return JoinPath(source.installFolder, source.fileName);
}

std::u16string NotTranslatedPlaceholder(uint32_t n) {
  std::u16string text = u"[";
  text += DecimalText(n);
  text += u"] ";
  text += kNotTranslatedMark;
  text += u'\n';
  return text;
}

void Translator::SetSource(TranslationSource source) {
  if (source.mode > kTranslationRecordingFresh) source.mode = kTranslationNormal;
  std::lock_guard lock(mutex_);
  source_ = std::move(source);
}

TranslationSource Translator::Source() const {
  std::lock_guard lock(mutex_);
  return source_;
}

const std::u16string& Translator::Intern(std::u16string_view text) {
  return *pool_.emplace(text).first;
}

void Translator::AppendEntryLocked(const std::u16string& source, const std::u16string& translation) {
  firstBySource_.try_emplace(std::u16string_view(source), table_.size());
  table_.push_back({&source, &translation});
}

void Translator::LoadLocked() {
  auto bytes = fs_.ReadFile(TranslationFilePath(source_), kMaxTextFileBytes);
  if (!bytes) return;  // the table stays as it was; the next lookup tries again
  table_.clear();
  firstBySource_.clear();
  for (const TranslationPair& pair : ParseTranslationFile(*bytes))
    AppendEntryLocked(Intern(pair.source), Intern(pair.translation));
  loaded_ = true;
}

void Translator::RecordLocked(const std::u16string& source, const std::u16string& placeholder) {
  const std::u16string path = TranslationFilePath(source_);
  std::u16string lines;
  // A file whose last line has no CR LF gets one first, so the new pair starts on a line of its own.
  static const std::string kCrLf("\r\0\n\0", 4);
  if (auto existing = fs_.ReadFile(path, kMaxTextFileBytes); existing && !existing->empty()) {
    if (existing->size() < kCrLf.size() || existing->compare(existing->size() - kCrLf.size(), kCrLf.size(), kCrLf) != 0)
      lines += u"\r\n";
  }
  lines += EscapeTranslationLine(source);
  lines += u"\r\n";
  lines += placeholder;
  lines += u"\r\n";
  fs_.AppendFile(path, EncodeUtf16Le(lines));
}

const std::u16string& Translator::Translate(std::u16string_view text, bool reload) {
  std::lock_guard lock(mutex_);
  if (source_.installFolder.empty() || source_.fileName.empty() || text.size() < 2) return Intern(text);

  if (reload && source_.mode == kTranslationRecordingFresh) fs_.WriteFile(TranslationFilePath(source_), {});
  if (!loaded_ || (reload && source_.mode != kTranslationRecordingFresh)) LoadLocked();

  if (auto it = firstBySource_.find(text); it != firstBySource_.end()) {
    const Entry& entry = table_[it->second];
    if (source_.mode == kTranslationNormal && entry.translation->find(kNotTranslatedMark) != std::u16string::npos)
      return *entry.source;
    return *entry.translation;
  }

  const std::u16string& source = Intern(text);
  const std::u16string& placeholder = Intern(NotTranslatedPlaceholder(untranslated_++));
  AppendEntryLocked(source, placeholder);
  if (source_.mode == kTranslationNormal) return source;
  RecordLocked(source, placeholder);
  return placeholder;
}

void Translator::Clear() {
  std::lock_guard lock(mutex_);
  table_.clear();
  firstBySource_.clear();
  loaded_ = false;
}

size_t Translator::EntryCount() const {
  std::lock_guard lock(mutex_);
  return table_.size();
}

uint32_t Translator::UntranslatedCount() const {
  std::lock_guard lock(mutex_);
  return untranslated_;
}

}  // namespace quill
