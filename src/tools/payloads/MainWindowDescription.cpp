// Loading the stores of the main window from the description compiled into the program.
#include "payloads/MainWindowDescription.h"

#include "store/Description.h"

namespace payloads {

void loadMainWindowStores(std::span<store::TFileSource* const> stores) {
  auto bytes = mainWindowDescription();
  codec::TMemoryStream in(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  store::readDescription(in, stores);
}

}  // namespace payloads
