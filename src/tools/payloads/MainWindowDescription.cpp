// Loading the stores of the main window from the description compiled into the program.
#include "payloads/MainWindowDescription.h"

#include "store/Description.h"

namespace payloads {

void loadMainWindowStores(std::span<store::TFileSource* const> stores) {
  store::ReadOnlyMemoryStream in(mainWindowDescription());
  store::readDescription(in, stores);
}

}  // namespace payloads
