// Writing and reading the window description that carries the stores.
#include "store/Description.h"

#include <algorithm>
#include <cstring>

#include "platform/IoError.h"
#include "store/StoreError.h"

namespace store {

namespace {

constexpr std::size_t kShortStringMax = 255;

void writeShortString(Stream& out, const std::string& text) {
  if (text.size() > kShortStringMax) throw EFileSource("Name too long: " + text);
  out.writeByte(std::uint8_t(text.size()));
  out.write(text.data(), text.size());
}

std::string readShortString(Stream& in) {
  std::string text(in.readByte(), '\0');
  in.readExact(text.data(), text.size());
  return text;
}

void writeBoolean(Stream& out, const char* name, bool value) {
  writeShortString(out, name);
  out.writeByte(value ? kValueTrue : kValueFalse);
}

void writeString(Stream& out, const char* name, const std::string& value) {
  writeShortString(out, name);
  if (value.size() <= kShortStringMax) {
    out.writeByte(kValueString);
    writeShortString(out, value);
  } else {
    out.writeByte(kValueLongString);
    out.writeLE32(std::uint32_t(value.size()));
    out.write(value.data(), value.size());
  }
}

void writeFileData(Stream& out, const TFileSource& source) {
  writeShortString(out, "FileData");
  out.writeByte(kValueBinary);
  // The record's length L is known only once it is written.
  std::int64_t lengthPosition = out.position();
  out.writeLE32(0);
  source.WriteFileData(out);
  std::int64_t end = out.position();
  out.seek(lengthPosition);
  out.writeLE32(std::uint32_t(end - lengthPosition - 4));
  out.seek(end);
}

void writeStore(Stream& out, const TFileSource& source) {
  writeShortString(out, kFileSourceClass);
  writeShortString(out, source.Name());
  writeBoolean(out, "Compress", source.Compress());
  if (!source.DisplayLabel().empty()) writeString(out, "DisplayLabel", source.DisplayLabel());
  if (!source.Extension().empty()) writeString(out, "Extension", source.Extension());
  if (!source.Store()) writeString(out, "FileName", source.storedPath());
  writeBoolean(out, "Store", source.Store());
  if (source.Store()) writeFileData(out, source);
  out.writeByte(0);  // end of properties
  out.writeByte(0);  // no owned components
}

[[noreturn]] void throwInvalidValue(const std::string& property) {
  throw EReadError("Invalid property value: " + property);
}

bool readBoolean(Stream& in, const std::string& property) {
  std::uint8_t type = in.readByte();
  if (type == kValueFalse) return false;
  if (type == kValueTrue) return true;
  throwInvalidValue(property);
}

std::string readString(Stream& in, const std::string& property) {
  std::uint8_t type = in.readByte();
  if (type == kValueString) return readShortString(in);
  if (type != kValueLongString) throwInvalidValue(property);
  std::uint32_t length = in.readLE32();
  // Never trust a length beyond what the stream still holds.
  if (length > in.size() - in.position()) throw platform::EInOutError(platform::kIoReadBeyondEnd);
  std::string text(length, '\0');
  in.readExact(text.data(), text.size());
  return text;
}

void readFileData(Stream& in, TFileSource& source) {
  if (in.readByte() != kValueBinary) throwInvalidValue("FileData");
  std::uint32_t length = in.readLE32();
  BoundedStream record(in, length);
  source.ReadFileData(record);
  // A record that does not fill its value exactly is damaged.
  if (record.remaining() != 0) throwInvalidValue("FileData");
}

void readStoreProperties(Stream& in, TFileSource& source) {
  for (std::string property = readShortString(in); !property.empty();
       property = readShortString(in)) {
    if (property == "Compress") source.setCompress(readBoolean(in, property));
    else if (property == "DisplayLabel") source.setDisplayLabel(readString(in, property));
    else if (property == "Extension") source.setExtension(readString(in, property));
    else if (property == "FileName") source.setFileName(readString(in, property));
    else if (property == "Store") source.setStore(readBoolean(in, property));
    else if (property == "FileData") readFileData(in, source);
    else throw EReadError("Property " + source.Name() + "." + property + " does not exist");
  }
}

void readStore(Stream& in, std::span<TFileSource* const> stores) {
  std::string className = readShortString(in);
  std::string name = readShortString(in);
  auto found = std::find_if(stores.begin(), stores.end(),
                            [&](const TFileSource* s) { return s->Name() == name; });
  if (className != kFileSourceClass || found == stores.end())
    throw EReadError("Unknown component " + name + ": " + className);
  readStoreProperties(in, **found);
  if (in.readByte() != 0) throw EReadError("Component " + name + " owns no components");
}

}  // namespace

void writeDescription(Stream& out, const std::string& formClass, const std::string& formName,
                      std::span<const TFileSource* const> stores) {
  out.write(kDescriptionSignature, sizeof kDescriptionSignature);
  writeShortString(out, formClass);
  writeShortString(out, formName);
  out.writeByte(0);  // the window's own properties are built in code
  for (const TFileSource* source : stores) writeStore(out, *source);
  out.writeByte(0);
}

void readDescription(Stream& in, std::span<TFileSource* const> stores) {
  char signature[sizeof kDescriptionSignature];
  if (in.read(signature, sizeof signature) != sizeof signature ||
      std::memcmp(signature, kDescriptionSignature, sizeof signature) != 0)
    throw EReadError("Invalid window description");
  readShortString(in);  // class
  std::string formName = readShortString(in);
  if (std::string property = readShortString(in); !property.empty())
    throw EReadError("Property " + formName + "." + property + " does not exist");
  for (std::uint8_t next = in.readByte(); next != 0; next = in.readByte()) {
    in.seek(in.position() - 1);  // the byte was the class name's length
    readStore(in, stores);
  }
}

}  // namespace store
