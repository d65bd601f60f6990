// The archiver component's option sets, enumerations, directory entry, message IDs and EArchiver.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace zip {

// A set of enumeration members stored as bits, bit 0 for the first member.
template <typename Enum>
class EnumSet {
 public:
  constexpr EnumSet() = default;
  constexpr EnumSet(std::initializer_list<Enum> members) {
    for (Enum m : members) m_bits |= bit(m);
  }
  static constexpr EnumSet fromBits(uint32_t bits) {
    EnumSet s;
    s.m_bits = bits;
    return s;
  }
  constexpr bool contains(Enum m) const { return (m_bits & bit(m)) != 0; }
  constexpr EnumSet& include(Enum m) {
    m_bits |= bit(m);
    return *this;
  }
  constexpr EnumSet& exclude(Enum m) {
    m_bits &= ~bit(m);
    return *this;
  }
  constexpr bool empty() const { return m_bits == 0; }
  constexpr uint32_t bits() const { return m_bits; }
  constexpr bool operator==(const EnumSet&) const = default;

 private:
  static constexpr uint32_t bit(Enum m) { return uint32_t{1} << static_cast<unsigned>(m); }
  uint32_t m_bits = 0;
};

enum class AddOpt {
  AddDirNames,
  AddRecurseDirs,
  AddMove,
  AddFreshen,
  AddUpdate,
  AddZipTime,
  AddForceDOS,
  AddHiddenFiles,
  AddArchiveOnly,
  AddResetArchive,
  AddEncrypt,
  AddSeparateDirs,
  AddVolume,
  AddDiskSpan,
  AddDiskSpanErase
};
using AddOpts = EnumSet<AddOpt>;

enum class ExtrOpt { ExtrDirNames, ExtrOverWrite, ExtrFreshen, ExtrUpdate, ExtrTest };
using ExtrOpts = EnumSet<ExtrOpt>;

enum class SFXOpt {
  SFXAskCmdLine,
  SFXAskFiles,
  SFXAutoRun,
  SFXHideOverWriteBox,
  SFXCheckSize,
  SFXNoSuccessMsg
};
using SFXOpts = EnumSet<SFXOpt>;

enum class AddStoreSuffixEnum {
  assGIF,
  assPNG,
  assZ,
  assZIP,
  assZOO,
  assARC,
  assLZH,
  assARJ,
  assTAZ,
  assTGZ,
  assLHA,
  assEXE
};
inline constexpr int kStoreSuffixCount = 12;
// The fixed table of suffixes in member order.
inline constexpr const char* kStoreSuffixTexts[kStoreSuffixCount] = {
    "gif", "png", "z", "zip", "zoo", "arc", "lzh", "arj", "taz", "tgz", "lha", "exe"};

class AddStoreExts : public EnumSet<AddStoreSuffixEnum> {
 public:
  using EnumSet::EnumSet;
  constexpr AddStoreExts(EnumSet<AddStoreSuffixEnum> s) : EnumSet(s) {}
  static constexpr AddStoreExts allBut(AddStoreSuffixEnum m) {
    return AddStoreExts(
        EnumSet<AddStoreSuffixEnum>::fromBits(((1u << kStoreSuffixCount) - 1) & ~(1u << int(m))));
  }
};

enum class OvrOpts { OvrConfirm, OvrAlways, OvrNever };
enum class CodePageOpts { cpAuto, cpNone, cpOEM };
enum class DeleteOpts { htdFinal, htdAllowUndo };
enum class ProgressType {
  NewFile = 0,
  ProgressUpdate = 1,
  EndOfBatch = 2,
  TotalFiles2Process = 3,
  TotalSize2Process = 4
};
enum class UnpackSkipTypes : uint8_t {};  // the library's skip type byte, passed on as is

// One kept entry of an archive's central directory.
struct ArchiveDirEntry {
  // The 42 bytes after the central header's signature, in file order and width.
  uint16_t MadeByVersion = 0;
  uint16_t VersionNeeded = 0;
  uint16_t Flag = 0;
  uint16_t CompressionMethod = 0;
  uint16_t DateTimeTime = 0;
  uint16_t DateTimeDate = 0;
  uint32_t CRC32 = 0;
  uint32_t CompressedSize = 0;
  uint32_t UncompressedSize = 0;
  uint16_t FileNameLength = 0;
  uint16_t ExtraFieldLength = 0;
  uint16_t FileCommentLen = 0;
  uint16_t StartOnDisk = 0;
  uint16_t IntFileAttrib = 0;
  uint32_t ExtFileAttrib = 0;
  uint32_t RelOffLocalHdr = 0;

  std::string FileName;            // converted; folders separated by this platform's separator
  std::string FileComment;         // converted
  bool Encrypted = false;          // bit 0 of Flag
  std::vector<uint8_t> ExtraData;  // a private copy of the extra field; empty when none

  // The real sizes and offset: the 32-bit fields, or their ZIP64 values when the entry has them.
  uint64_t compressedSize64 = 0;
  uint64_t uncompressedSize64 = 0;
  uint64_t localHeaderOffset64 = 0;
};

// Message IDs of the archiver component.
namespace msg {
inline constexpr int32_t kAddException = 10101;
inline constexpr int32_t kNoArchiveName = 10102;
inline constexpr int32_t kOutOfMemory = 10103;
inline constexpr int32_t kPasswordsDiffer = 10104;
inline constexpr int32_t kPasswordTwiceUnattended = 10150;
inline constexpr int32_t kPasswordOnceUnattended = 10151;
inline constexpr int32_t kPasswordOk = 10152;
inline constexpr int32_t kPasswordCancel = 10153;
inline constexpr int32_t kPasswordTitle = 10154;
inline constexpr int32_t kPasswordPrompt = 10155;
inline constexpr int32_t kPasswordConfirm = 10156;
inline constexpr int32_t kDirectoryReadError = 10201;
inline constexpr int32_t kDirectoryException = 10202;
inline constexpr int32_t kDataBeforeArchive = 10203;
inline constexpr int32_t kDataAfterArchive = 10204;
inline constexpr int32_t kNoFileSpec = 10301;
inline constexpr int32_t kEncryptWithoutPassword = 10302;
inline constexpr int32_t kSpanWithFreshen = 10303;
inline constexpr int32_t kStubFailed = 10304;
inline constexpr int32_t kExtractException = 10501;
inline constexpr int32_t kNoPasswordUnattended = 10502;
inline constexpr int32_t kPackLibLoaded = 10601;
inline constexpr int32_t kNoPackLibExec = 10602;
inline constexpr int32_t kNoPackLibVersion = 10603;
inline constexpr int32_t kPackLibNotLoaded = 10604;
inline constexpr int32_t kUnpackLibLoaded = 10701;
inline constexpr int32_t kNoUnpackLibExec = 10702;
inline constexpr int32_t kNoUnpackLibVersion = 10703;
inline constexpr int32_t kUnpackLibNotLoaded = 10704;
inline constexpr int32_t kOpenFailedRaised = 11001;
inline constexpr int32_t kOpenFailed = 11002;
inline constexpr int32_t kInvalidDrive = 11003;
inline constexpr int32_t kDriveMissing = 11004;
inline constexpr int32_t kTailSeekFailed = 11008;
inline constexpr int32_t kTailReadFailed = 11011;
inline constexpr int32_t kEntryReadFailed = 11013;
inline constexpr int32_t kEntrySignature = 11015;
inline constexpr int32_t kEntryNameRead = 11017;
inline constexpr int32_t kEntryCommentRead = 11022;
inline constexpr int32_t kNotZip = 11036;
inline constexpr int32_t kLastDiskNeeded = 11037;
inline constexpr int32_t kWrongDisk = 11038;
inline constexpr int32_t kSpanToExe = 11041;
inline constexpr int32_t kNoEndRecord = 11045;
}  // namespace msg

// The text shown for an ID that the catalogue lacks (the ID follows in decimal).
inline constexpr const char* kMissingMessageText =
    "ArcMsgXX.res is probably not linked to the executable\nMissing String ID is: ";

// The application's message catalogue (its string table), process-wide. The program carries no
// texts for the component's IDs, so by default every message takes the fallback form.
void setMessageCatalogue(std::function<std::optional<std::string>(int32_t)> catalogue);
// The catalogue's own text for `id`, if it has one.
std::optional<std::string> catalogueText(int32_t id);
// The catalogue text of `id`, or the fallback text with the ID.
std::string messageText(int32_t id);
// The catalogue text of `id` with `detail` appended; the fallback text alone has no detail.
std::string messageText(int32_t id, const std::string& detail);

// The component's exception: a message text, a display flag and the message ID.
class EArchiver : public std::runtime_error {
 public:
  EArchiver(int32_t id, bool display) : EArchiver(messageText(id), id, display) {}
  EArchiver(int32_t id, int32_t detail)
      : EArchiver(messageText(id, std::to_string(detail)), id, true) {}
  EArchiver(int32_t id, const std::string& detail) : EArchiver(messageText(id, detail), id, true) {}
  uint8_t displayFlag() const { return m_display; }
  int32_t messageId() const { return m_id; }

 private:
  EArchiver(const std::string& text, int32_t id, bool display)
      : std::runtime_error(text), m_display(display ? 1 : 0), m_id(id) {}
  uint8_t m_display;
  int32_t m_id;
};

}  // namespace zip
