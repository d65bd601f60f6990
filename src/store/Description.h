// The binary window description that carries a window's stores inside the program.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "store/FileSource.h"
#include "store/StreamIo.h"

namespace store {

// Layout (all integers little-endian):
//   description := signature object
//   object      := short-string class, short-string name, property*, 0x00, object*, 0x00
//   property    := short-string name (at least one character), value-type byte, value
//   short-string:= one length byte, then the characters
// Values: kValueFalse and kValueTrue carry nothing; kValueString a short string;
// kValueLongString and kValueBinary a 32-bit length, then the bytes. A store's bytes are the
// binary property "FileData", whose value is the store's record.
inline constexpr char kDescriptionSignature[4] = {'F', 'N', 'K', '0'};
inline constexpr std::uint8_t kValueString = 0x06;
inline constexpr std::uint8_t kValueFalse = 0x08;
inline constexpr std::uint8_t kValueTrue = 0x09;
inline constexpr std::uint8_t kValueBinary = 0x0A;
inline constexpr std::uint8_t kValueLongString = 0x0C;
inline constexpr char kFileSourceClass[] = "TFileSource";

// Writes a window `formName` of class `formClass` that owns `stores`, each by the persistence
// rule: Compress and Store always, DisplayLabel and Extension when not empty, FileName when
// Store is false, FileData when Store is true.
void writeDescription(TStream& out, const std::string& formClass, const std::string& formName,
                      std::span<const TFileSource* const> stores);

// Loads a description into the window's stores, matched by name; every store with FileData
// creates its temporary file. Raises EReadError for a component or property the window does
// not have, and the stream's read error for a description that ends early.
void readDescription(TStream& in, std::span<TFileSource* const> stores);

}  // namespace store
