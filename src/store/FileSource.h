// TFileSource: a whole file kept inside a window description and written out to a temporary file.
#pragma once

#include <string>

#include "store/StreamIo.h"

namespace store {

class TFileSource {
 public:
  // `name` is the component's name on its window ("PackLib"); it matches the description.
  explicit TFileSource(std::string name);
  // Deletes the temporary file that this store created.
  virtual ~TFileSource();
  TFileSource(const TFileSource&) = delete;
  TFileSource& operator=(const TFileSource&) = delete;

  const std::string& Name() const { return m_name; }

  bool Compress() const { return m_compress; }
  // Compressing means storing: true also turns Store on; false leaves Store as it is.
  void setCompress(bool value);

  const std::string& DisplayLabel() const { return m_displayLabel; }
  void setDisplayLabel(std::string value) { m_displayLabel = std::move(value); }

  const std::string& Extension() const { return m_extension; }
  void setExtension(std::string value) { m_extension = std::move(value); }

  // The path while a file of that name exists, otherwise "".
  std::string FileName() const;
  // Deletes this store's temporary file first, then makes the store a plain reference to
  // `path` (never deleted by the store) and takes the extension from it.
  void setFileName(const std::string& path);
  // The path as set, whether or not the file exists.
  const std::string& storedPath() const { return m_fileName; }

  bool Store() const { return m_store; }
  void setStore(bool value) { m_store = value; }

  // True when FileName names a temporary file that this store made and will delete.
  bool isTemporary() const { return m_temporary; }

  // Turns a stored record into a fresh temporary file that FileName then names.
  virtual void ReadFileData(TStream& stream);
  // Turns the file named by FileName into a record.
  virtual void WriteFileData(TStream& stream) const;

  // Extension rule: from the last "." to the end when that dot lies in the last path component.
  static std::string extensionOf(const std::string& path);

 private:
  void deleteTemporary();

  std::string m_name;
  bool m_compress = false;
  std::string m_displayLabel;
  std::string m_extension;
  std::string m_fileName;
  bool m_store = false;
  bool m_temporary = false;
};

}  // namespace store
