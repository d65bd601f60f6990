// Writing and reading the window description that carries the stores.
#include "store/Description.h"

#include <algorithm>
#include <cstring>

#include "platform/IoError.h"
#include "store/StoreError.h"

namespace store {

namespace {

constexpr std::size_t kShortStringMax = 255;

void writeShortString(TStream& out, const std::string& text) {
  if (text.size() > kShortStringMax) throw EFileSource("Name too long: " + text);
  writeByte(out, std::uint8_t(text.size()));
  writeAll(out, text.data(), text.size());
}

std::string readShortString(TStream& in) {
  std::string text(readByte(in), '\0');
  readExact(in, text.data(), text.size());
  return text;
}

void writeBoolean(TStream& out, const char* name, bool value) {
  writeShortString(out, name);
  writeByte(out, value ? kValueTrue : kValueFalse);
}

void writeString(TStream& out, const char* name, const std::string& value) {
  writeShortString(out, name);
  if (value.size() <= kShortStringMax) {
    writeByte(out, kValueString);
    writeShortString(out, value);
  } else {
    writeByte(out, kValueLongString);
    writeLE32(out, std::uint32_t(value.size()));
    writeAll(out, value.data(), value.size());
  }
}

void writeFileData(TStream& out, const TFileSource& source) {
  writeShortString(out, "FileData");
  writeByte(out, kValueBinary);
  // The record's length L is known only once it is written.
  std::int64_t lengthPosition = positionOf(out);
  writeLE32(out, 0);
  source.WriteFileData(out);
  std::int64_t end = positionOf(out);
  seekTo(out, lengthPosition);
  writeLE32(out, std::uint32_t(end - lengthPosition - 4));
  seekTo(out, end);
}

void writeStore(TStream& out, const TFileSource& source) {
  writeShortString(out, kFileSourceClass);
  writeShortString(out, source.Name());
  writeBoolean(out, "Compress", source.Compress());
  if (!source.DisplayLabel().empty()) writeString(out, "DisplayLabel", source.DisplayLabel());
  if (!source.Extension().empty()) writeString(out, "Extension", source.Extension());
  if (!source.Store()) writeString(out, "FileName", source.storedPath());
  writeBoolean(out, "Store", source.Store());
  if (source.Store()) writeFileData(out, source);
  writeByte(out, 0);  // end of properties
  writeByte(out, 0);  // no owned components
}

[[noreturn]] void throwInvalidValue(const std::string& property) {
  throw EReadError("Invalid property value: " + property);
}

bool readBoolean(TStream& in, const std::string& property) {
  std::uint8_t type = readByte(in);
  if (type == kValueFalse) return false;
  if (type == kValueTrue) return true;
  throwInvalidValue(property);
}

std::string readString(TStream& in, const std::string& property) {
  std::uint8_t type = readByte(in);
  if (type == kValueString) return readShortString(in);
  if (type != kValueLongString) throwInvalidValue(property);
  std::uint32_t length = readLE32(in);
  // Never trust a length beyond what the stream still holds.
  if (length > in.Size() - positionOf(in)) throw platform::EInOutError(platform::kIoReadBeyondEnd);
  std::string text(length, '\0');
  readExact(in, text.data(), text.size());
  return text;
}

void readFileData(TStream& in, TFileSource& source) {
  if (readByte(in) != kValueBinary) throwInvalidValue("FileData");
  std::uint32_t length = readLE32(in);
  TBoundedStream record(in, length);
  source.ReadFileData(record);
  // A record that does not fill its value exactly is damaged.
  if (record.remaining() != 0) throwInvalidValue("FileData");
}

void readStoreProperties(TStream& in, TFileSource& source) {
  for (std::string property = readShortString(in); !property.empty();
       property = readShortString(in)) {
    if (property == "Compress")
      source.setCompress(readBoolean(in, property));
    else if (property == "DisplayLabel")
      source.setDisplayLabel(readString(in, property));
    else if (property == "Extension")
      source.setExtension(readString(in, property));
    else if (property == "FileName")
      source.setFileName(readString(in, property));
    else if (property == "Store")
      source.setStore(readBoolean(in, property));
    else if (property == "FileData")
      readFileData(in, source);
    else
      throw EReadError("Property " + source.Name() + "." + property + " does not exist");
  }
}

void readStore(TStream& in, std::span<TFileSource* const> stores) {
  std::string className = readShortString(in);
  std::string name = readShortString(in);
  auto found = std::find_if(stores.begin(), stores.end(),
                            [&](const TFileSource* s) { return s->Name() == name; });
  if (className != kFileSourceClass || found == stores.end())
    throw EReadError("Unknown component " + name + ": " + className);
  readStoreProperties(in, **found);
  if (readByte(in) != 0) throw EReadError("Component " + name + " owns no components");
}

}  // namespace

void writeDescription(TStream& out, const std::string& formClass, const std::string& formName,
                      std::span<const TFileSource* const> stores) {
  writeAll(out, kDescriptionSignature, sizeof kDescriptionSignature);
  writeShortString(out, formClass);
  writeShortString(out, formName);
  writeByte(out, 0);  // the window's own properties are built in code
  for (const TFileSource* source : stores) writeStore(out, *source);
  writeByte(out, 0);
}

void readDescription(TStream& in, std::span<TFileSource* const> stores) {
  char signature[sizeof kDescriptionSignature];
  if (in.Read(signature, sizeof signature) != std::int32_t(sizeof signature) ||
      std::memcmp(signature, kDescriptionSignature, sizeof signature) != 0)
    throw EReadError("Invalid window description");
  readShortString(in);  // class
  std::string formName = readShortString(in);
  if (std::string property = readShortString(in); !property.empty())
    throw EReadError("Property " + formName + "." + property + " does not exist");
  for (std::uint8_t next = readByte(in); next != 0; next = readByte(in)) {
    seekTo(in, positionOf(in) - 1);  // the byte was the class name's length
    readStore(in, stores);
  }
}

}  // namespace store
