// The settings file: read leniently, written under a temporary name and renamed at success.
#include "app/Settings.h"

#include <exception>
#include <optional>

#include "platform/File.h"
#include "platform/Paths.h"
#include "platform/PendingFile.h"

namespace app {

namespace {

constexpr std::string_view kChecksumsKey = "checksums";
constexpr std::string_view kShMergerKey = "sh-merger";
constexpr std::string_view kMergerForKey = "merger-for";

std::string_view trimmed(std::string_view s) {
  const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!s.empty() && space(s.front())) s.remove_prefix(1);
  while (!s.empty() && space(s.back())) s.remove_suffix(1);
  return s;
}

std::string lowered(std::string_view value) {
  std::string lower;
  for (char c : value) lower += (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
  return lower;
}

// Hand-edited files say it in several ways; anything else keeps the default.
std::optional<bool> booleanOf(std::string_view value) {
  const std::string lower = lowered(value);
  if (lower == "true" || lower == "1" || lower == "on" || lower == "yes") return true;
  if (lower == "false" || lower == "0" || lower == "off" || lower == "no") return false;
  return std::nullopt;
}

}  // namespace

std::string settingsFilePath() {
  const std::string config = platform::userConfigFolder();
  if (config.empty()) return {};
  return platform::joinPath(platform::joinPath(config, kSettingsFolderName), "settings.ini");
}

Settings parseSettings(std::string_view text) {
  Settings settings;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view key = trimmed(line.substr(0, equals));
    const std::string_view valueText = trimmed(line.substr(equals + 1));
    if (key == kMergerForKey) {
      if (auto system = job::mergerSystemNamed(lowered(valueText))) settings.mergerFor = *system;
      continue;
    }
    const std::optional<bool> value = booleanOf(valueText);
    if (!value) continue;
    if (key == kChecksumsKey) settings.checksums = *value;
    if (key == kShMergerKey) settings.shMerger = *value;
  }
  return settings;
}

std::string formatSettings(const Settings& settings) {
  const auto flag = [](bool on) { return on ? "true" : "false"; };
  return "# Fennock's settings, written by its Options menu.\n" + std::string(kChecksumsKey) + "=" +
         flag(settings.checksums) + "\n" + std::string(kShMergerKey) + "=" +
         flag(settings.shMerger) + "\n" + std::string(kMergerForKey) + "=" +
         job::mergerSystemName(settings.mergerFor) + "\n";
}

Settings loadSettings(const std::string& path) {
  // Only a regular file is opened: a pipe or device in its place must not stall the start.
  if (path.empty() || !platform::fileExists(path)) return {};
  try {
    platform::File file = platform::File::openRead(path);
    const std::int64_t size = file.size();
    if (size > kMaxSettingsFileSize) return {};
    std::string text(static_cast<std::size_t>(size), '\0');
    text.resize(file.read(text.data(), text.size()));
    return parseSettings(text);
  } catch (const std::exception&) {
    return {};
  }
}

bool saveSettings(const std::string& path, const Settings& settings) noexcept {
  if (path.empty()) return false;
  try {
    platform::createFolders(platform::parentFolder(path));
    platform::PendingFile pending(path);
    const std::string text = formatSettings(settings);
    pending.file().write(text.data(), text.size());
    pending.commit();
    return true;
  } catch (const std::exception&) {
    return false;  // the pending file removes its temporary name
  }
}

}  // namespace app
