// The main window's description that the build wrote, with the stores PackLib, UnpackLib and SFX.
#pragma once

#include <cstdint>
#include <span>

#include "store/FileSource.h"

namespace payloads {

// The description's bytes, compiled into the program.
std::span<const std::uint8_t> mainWindowDescription();

// Loads the window's stores from it, matched by name; each store that holds bytes creates its
// temporary file now and deletes it when it is destroyed (or at exit).
void loadMainWindowStores(std::span<store::TFileSource* const> stores);

}  // namespace payloads
