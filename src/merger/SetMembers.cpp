// Telling a set's layout and its pieces from one of its file names and the files beside it.
#include "merger/SetMembers.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <tuple>

#include "job/BatScript.h"
#include "job/ChecksumFile.h"
#include "job/Names.h"
#include "platform/File.h"
#include "platform/IoError.h"
#include "platform/Paths.h"

namespace merger {

namespace {

// Scripts and checksum files list a set's few files: anything far longer is not one of them.
constexpr std::size_t kLongestListing = 1 << 20;
const std::string kBatFirstWord = "copy /b";

bool endsWithNoCase(const std::string& text, const std::string& suffix) {
  if (text.size() < suffix.size()) return false;
  return std::equal(suffix.begin(), suffix.end(), text.end() - suffix.size(),
                    [](char a, char b) { return std::tolower(a) == std::tolower(b); });
}

std::string withoutSuffix(const std::string& text, const std::string& suffix) {
  return text.substr(0, text.size() - suffix.size());
}

std::string spaceless(const std::string& baseName) { return job::RemoveSubstring(baseName, " "); }

std::string readListing(const std::string& path) {
  return platform::readFileStart(path, kLongestListing);
}

bool isBatScript(const std::string& path) {
  if (!platform::fileExists(path)) return false;
  return platform::readFileStart(path, kBatFirstWord.size()) == kBatFirstWord;
}

SetLocation exeSet(const std::string& folder, const std::string& baseName) {
  return {true, folder, platform::joinPath(folder, baseName + ".exe"), baseName, {}};
}

SetLocation scriptSet(const std::string& folder, const std::string& baseName) {
  return {false, folder, {}, baseName, spaceless(baseName)};
}

// The index of `name` as piece `spacelessName` + i + ".frg"; 0 when it is no such piece.
std::int64_t pieceIndex(const std::string& name, const std::string& spacelessName) {
  if (!name.starts_with(spacelessName) || !name.ends_with(".frg")) return 0;
  const std::string digits =
      name.substr(spacelessName.size(), name.size() - spacelessName.size() - 4);
  if (digits.empty() || digits.size() > 9 || digits.front() == '0' ||
      !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return 0;
  return std::stoll(digits);
}

// The base names of the scripts and checksum files in `folder`, by the pieces' name they give.
std::map<std::string, std::string> setFilesBySpacelessName(const std::string& folder) {
  std::map<std::string, std::string> found;
  for (const std::string& name : platform::folderEntries(folder)) {
    for (const std::string& extension :
         {std::string(".bat"), job::kChecksumExtension, std::string(".sh")})
      if (name.ends_with(extension)) {
        const std::string base = withoutSuffix(name, extension);
        found.emplace(spaceless(base), base);
      }
  }
  return found;
}

std::optional<SetLocation> setOfPiece(const std::string& folder, const std::string& stem) {
  std::size_t digits = 0;
  while (digits < stem.size() &&
         std::isdigit(static_cast<unsigned char>(stem[stem.size() - 1 - digits])))
    ++digits;
  if (digits == 0) return std::nullopt;
  // "video12.frg" may be piece 12 of "video" or piece 2 of "video1": a merger, script or
  // checksum file of that name decides, the longest name first.
  const auto setFiles = setFilesBySpacelessName(folder);
  std::optional<std::string> withFirstPiece;
  for (std::size_t cut = 1; cut <= digits; ++cut) {
    const std::string prefix = stem.substr(0, stem.size() - cut);
    if (stem[prefix.size()] == '0') continue;
    if (platform::fileExists(platform::joinPath(folder, prefix + ".exe")))
      return exeSet(folder, prefix);
    if (auto found = setFiles.find(prefix); found != setFiles.end())
      return scriptSet(folder, found->second);
    if (!withFirstPiece && platform::fileExists(platform::joinPath(folder, prefix + "1.frg")))
      withFirstPiece = prefix;
  }
  return scriptSet(folder, withFirstPiece.value_or(stem.substr(0, stem.size() - 1)));
}

// The .BAT script's piece count and target, checked against the pieces' names.
std::pair<std::int64_t, std::string> readBatScript(const std::string& path,
                                                   const std::string& spacelessName) {
  const std::string text = readListing(path);
  auto damaged = [&] {
    return EMergeError("\"" + platform::fileNameOf(path) +
                       "\" is not a merger script that Fennock wrote; the set cannot be joined");
  };
  if (!text.starts_with(kBatFirstWord + " ") || !text.ends_with(" ")) throw damaged();
  std::string rest = text.substr(kBatFirstWord.size() + 1);
  rest.pop_back();
  std::int64_t count = 0;
  for (std::size_t at = 0;;) {
    const std::size_t plus = rest.find(" + ", at);
    const std::size_t end = plus == std::string::npos ? rest.find(' ', at) : plus;
    if (end == std::string::npos) {
      if (count > 0) throw damaged();
      return {0, rest.substr(at)};
    }
    if (rest.substr(at, end - at) != job::batPieceReference(spacelessName, ++count))
      throw damaged();
    if (plus == std::string::npos) return {count, rest.substr(end + 1)};
    at = plus + 3;
  }
}

}  // namespace

std::optional<SetLocation> findSet(const std::string& member) {
  const std::string folder = platform::parentFolder(member);
  const std::string name = platform::fileNameOf(member);
  if (endsWithNoCase(name, ".exe")) return exeSet(folder, withoutSuffix(name, ".exe"));
  if (endsWithNoCase(name, ".frg")) return setOfPiece(folder, withoutSuffix(name, ".frg"));
  if (endsWithNoCase(name, ".bat"))
    return isBatScript(member) ? std::optional(scriptSet(folder, withoutSuffix(name, ".bat")))
                               : std::nullopt;
  for (const std::string& extension : {job::kChecksumExtension, std::string(".sh")}) {
    if (!name.ends_with(extension)) continue;
    const std::string base = withoutSuffix(name, extension);
    if (platform::fileExists(platform::joinPath(folder, base + ".exe")))
      return exeSet(folder, base);
    if (isBatScript(platform::joinPath(folder, base + ".bat")) ||
        platform::fileExists(platform::joinPath(folder, spaceless(base) + "1.frg")))
      return scriptSet(folder, base);
  }
  return std::nullopt;
}

MergePlan planScriptSet(const SetLocation& set) {
  const std::string bat = platform::joinPath(set.folder, set.baseName + ".bat");
  const std::string sums = platform::joinPath(set.folder, set.baseName + job::kChecksumExtension);
  std::int64_t count = 0;
  std::string target;
  if (platform::fileExists(bat)) {
    std::tie(count, target) = readBatScript(bat, set.spacelessName);
  } else if (platform::fileExists(sums)) {
    // The lines name every piece and then the joined file; a set whose first piece is an .EXE
    // merger cannot be joined without it.
    for (const auto& [name, digest] : job::parseChecksumFile(readListing(sums))) {
      if (name == set.baseName + ".exe")
        throw EMergeError(platform::ioErrorText(platform::kIoFileNotFound) + ": \"" + name + "\"");
      if (const std::int64_t index = pieceIndex(name, set.spacelessName))
        count = std::max(count, index);
      else
        target = name;
    }
  } else {
    // Without either, the pieces present are the set, and the joined file has no extension.
    for (const std::string& name : platform::folderEntries(set.folder))
      count = std::max(count, pieceIndex(name, set.spacelessName));
    target = set.spacelessName;
  }
  return planPieceMerge(set.folder, set.spacelessName, count,
                        target.empty() ? set.spacelessName : target, sums);
}

}  // namespace merger
