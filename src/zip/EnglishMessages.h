// The English wording of the archiver component's messages, installed by the programs at start-up.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zip {

// The catalogue text of a message ID, or nothing for IDs it does not know. A message reported
// with a detail gets the detail appended directly, so texts that take one end in ": ".
std::optional<std::string> englishMessage(int32_t id);

// Makes englishMessage the process's message catalogue.
void installEnglishMessages();

}  // namespace zip
