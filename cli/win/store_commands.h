// What the store commands share between their files.
#pragma once
#include <string>
#include <vector>

#include "cli/win/store_session.h"

namespace quill::cli {

// store export / import: `rest` is "<name> <file>" for one object, "<file>" for all of a kind.
int RunStoreExchange(Store& store, bool exporting, KindArgument kind, const std::vector<std::string>& rest, Output& out);

}  // namespace quill::cli
