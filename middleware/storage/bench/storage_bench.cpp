// Export-all and import-all of many stored macros and profiles over the in-memory registry.
// Prints times and how they grow from 1,000 to 10,000 objects; never fails.
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "middleware/storage/group_store.h"
#include "middleware/storage/memory_file_system.h"
#include "middleware/storage/memory_registry.h"
#include "middleware/storage/store_exchange.h"

namespace {

using namespace quill::storage;
using Clock = std::chrono::steady_clock;

constexpr std::u16string_view kDevice = u"TorvoControl_0C31";
const std::u16string kFile = u"bench.xml";

double Milliseconds(Clock::time_point since) {
  return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

std::u16string Name(const char* prefix, int i) {
  const std::string text = prefix + std::to_string(i);
  return std::u16string(text.begin(), text.end());
}

struct Times {
  double fill = 0, export_all = 0, import_all = 0;
  size_t file_bytes = 0;
  bool ok = true;
};

// `count` macros of eight elements and `count` profiles of four mappings, one naming a macro.
Times Run(int count) {
  Times times;
  MemoryRegistry source;
  auto machine = source.Root();
  std::unique_ptr<ProfileGroupStore> groups;
  std::unique_ptr<SpellBookStore> books;
  if (quill::Failed(ProfileGroupStore::Create(*machine, kDevice, groups)) ||
      quill::Failed(SpellBookStore::Create(*machine, kDevice, books))) {
    times.ok = false;
    return times;
  }
  auto start = Clock::now();
  for (int i = 0; i < count; ++i) {
    MacroRecord macro{1, 0, 2, i, u"macro.ico", {}};
    for (int e = 0; e < 8; ++e) macro.elements.push_back({e, {i, e, 0}, 10, 5});
    times.ok &= quill::Succeeded(books->macros().Save(Name("Macro ", i), macro));
    ProfileRecord profile{1, {}};
    for (int b = 0; b < 3; ++b) profile.mappings.push_back({b, 1, 4, {30 + b, 0, 0}, u""});
    profile.mappings.push_back({3, kMappingTypeMacro, 0, {0, 0, 0}, Name("Macro ", i)});
    times.ok &= quill::Succeeded(groups->profiles().Save(Name("Profile ", i), profile));
  }
  times.fill = Milliseconds(start);

  MemoryFileSystem files;
  StoreExchange exporter(*machine, files, std::u16string(kDevice));
  start = Clock::now();
  times.ok &= quill::Succeeded(exporter.ExportAllMacros(kFile));
  times.ok &= quill::Succeeded(exporter.ExportAllProfiles(kFile));
  times.export_all = Milliseconds(start);
  times.file_bytes = files.Get(kFile).size();

  MemoryRegistry target;
  auto target_machine = target.Root();
  StoreExchange importer(*target_machine, files, std::u16string(kDevice));
  start = Clock::now();
  times.ok &= quill::Succeeded(importer.ImportAllMacros(kFile));
  times.ok &= quill::Succeeded(importer.ImportAllProfiles(kFile));
  times.import_all = Milliseconds(start);
  return times;
}

}  // namespace

int main() {
  std::printf("storage_bench: N macros + N profiles, in-memory registry and files\n");
  const Times small = Run(1000);
  const Times large = Run(10000);
  for (const auto& [count, t] : {std::pair{1000, small}, std::pair{10000, large}}) {
    std::printf("  N=%5d  fill %9.1f ms  export-all %9.1f ms  import-all %9.1f ms  file %9zu bytes%s\n", count,
                t.fill, t.export_all, t.import_all, t.file_bytes, t.ok ? "" : "  (an operation failed)");
  }
  auto growth = [](double a, double b) { return a > 0 ? b / a : 0.0; };
  std::printf("  growth 1,000 -> 10,000 (10x data; 10 is linear): fill %.1fx  export %.1fx  import %.1fx\n",
              growth(small.fill, large.fill), growth(small.export_all, large.export_all),
              growth(small.import_all, large.import_all));
  return 0;
}
