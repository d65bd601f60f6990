// Message texts of the archiver component: the catalogue lookup and the fallback form.
#include "zip/ArchiverTypes.h"

namespace zip {
namespace {

std::function<std::optional<std::string>(int32_t)>& catalogue() {
  static std::function<std::optional<std::string>(int32_t)> instance;
  return instance;
}

}  // namespace

void setMessageCatalogue(std::function<std::optional<std::string>(int32_t)> lookup) {
  catalogue() = std::move(lookup);
}

std::string messageText(int32_t id) {
  if (catalogue()) {
    if (auto text = catalogue()(id)) return *text;
  }
  return kMissingMessageText + std::to_string(id);
}

std::string messageText(int32_t id, const std::string& detail) {
  if (catalogue()) {
    if (auto text = catalogue()(id)) return *text + detail;
  }
  return messageText(id);
}

}  // namespace zip
