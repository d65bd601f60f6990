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

std::optional<std::string> catalogueText(int32_t id) {
  if (!catalogue()) return std::nullopt;
  return catalogue()(id);
}

std::string messageText(int32_t id) {
  if (auto text = catalogueText(id)) return *text;
  return kMissingMessageText + std::to_string(id);
}

std::string messageText(int32_t id, const std::string& detail) {
  if (auto text = catalogueText(id)) return *text + detail;
  return messageText(id);
}

}  // namespace zip
