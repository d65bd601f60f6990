// The systems that an .EXE merger can be made for, and their names in settings and options.
#pragma once

#include <optional>
#include <string_view>

namespace job {

// The system that an .EXE merger runs on. The program carries a merger image for each system
// its build could make one for.
enum class MergerSystem { Windows, Linux };

// The system this program runs on: its mergers are made for it unless the user chooses.
#ifdef _WIN32
inline constexpr MergerSystem kHostMergerSystem = MergerSystem::Windows;
#else
inline constexpr MergerSystem kHostMergerSystem = MergerSystem::Linux;
#endif

// "windows", "linux": the names in the settings file and on the command line.
constexpr const char* mergerSystemName(MergerSystem system) {
  return system == MergerSystem::Windows ? "windows" : "linux";
}
constexpr std::optional<MergerSystem> mergerSystemNamed(std::string_view name) {
  for (MergerSystem system : {MergerSystem::Windows, MergerSystem::Linux})
    if (name == mergerSystemName(system)) return system;
  return std::nullopt;
}

// The system a merger file was made for, told by the image it starts with: a Windows program
// starts with "MZ", a Linux one with ELF's magic. nullopt: no merger image of ours.
constexpr std::optional<MergerSystem> mergerSystemOfImage(std::string_view start) {
  if (start.starts_with("MZ")) return MergerSystem::Windows;
  if (start.starts_with("\x7F"
                        "ELF"))
    return MergerSystem::Linux;
  return std::nullopt;
}

// Why a build without a Windows merger image cannot make one.
inline constexpr char kNoWindowsMergerText[] =
    "This build has no Windows merger (it was built without the mingw-w64 cross compiler)";

}  // namespace job
