// Character conversion of names and comments read from an archive into this platform's text.
#pragma once

#include <cstdint>
#include <string>

#include "zip/ArchiverTypes.h"

namespace zip {

// Whether the entry's texts are in the OEM character set: asked for by cpOEM, or implied by the
// host system that made the entry (6; 11 with version 50; 0 under cpAuto).
bool usesOemCharset(uint16_t madeBy, CodePageOpts codePage);

// The text converted as the entry's texts are: characters below 128 kept; from 128 up, OEM
// (code page 437) characters become UTF-8 when the OEM set applies. Texts flagged as UTF-8
// (general purpose bit 11) are already in this platform's set and are kept as stored.
std::string convertArchiveText(const std::string& raw, uint16_t madeBy, uint16_t flags,
                               CodePageOpts codePage);
// As convertArchiveText, with folders separated by this platform's separator.
std::string convertArchiveName(const std::string& raw, uint16_t madeBy, uint16_t flags,
                               CodePageOpts codePage);

// OEM (code page 437) text to UTF-8.
std::string oemToUtf8(const std::string& oem);

}  // namespace zip
