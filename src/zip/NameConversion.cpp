// OEM to UTF-8 conversion of archive names and comments.
#include "zip/NameConversion.h"

#include <algorithm>

#include "platform/Paths.h"
#include "zip/CodePage437.h"

namespace zip {
namespace {

constexpr uint16_t kFlagUtf8 = 0x0800;
// The "made by" hosts whose names are taken as OEM characters: FAT, HPFS, and NTFS when the
// archive says version 5.0.
constexpr unsigned kHostFat = 0;
constexpr unsigned kHostHpfs = 6;
constexpr unsigned kHostNtfs = 11;
constexpr unsigned kNtfsOemVersion = 50;

using zipformat::appendUtf8;
using zipformat::kCodePage437High;

}  // namespace

bool usesOemCharset(uint16_t madeBy, CodePageOpts codePage) {
  unsigned host = madeBy >> 8;
  unsigned version = madeBy & 0xFF;
  return codePage == CodePageOpts::cpOEM || host == kHostHpfs ||
         (host == kHostNtfs && version == kNtfsOemVersion) ||
         (host == kHostFat && codePage == CodePageOpts::cpAuto);
}

std::string oemToUtf8(const std::string& oem) {
  std::string out;
  out.reserve(oem.size());
  for (unsigned char c : oem) appendUtf8(out, c < 0x80 ? char16_t(c) : kCodePage437High[c - 0x80]);
  return out;
}

std::string convertArchiveText(const std::string& raw, uint16_t madeBy, uint16_t flags,
                               CodePageOpts codePage) {
  if ((flags & kFlagUtf8) != 0 || !usesOemCharset(madeBy, codePage)) return raw;
  return oemToUtf8(raw);
}

std::string convertArchiveName(const std::string& raw, uint16_t madeBy, uint16_t flags,
                               CodePageOpts codePage) {
  return platform::withNativeSeparators(convertArchiveText(raw, madeBy, flags, codePage));
}

}  // namespace zip
