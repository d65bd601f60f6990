// Drives the built unarchiver library through its C entry points and records every callback.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/DynamicLibrary.h"
#include "platform/Paths.h"
#include "zip/UnpackRecords.h"

namespace testing_support {

struct Callback {
  int action;
  int arg1;
  int arg2;
  std::string text{};
  long long size64;
};

// The current folder for the life of the object; the library writes into it.
class InFolder {
 public:
  explicit InFolder(const std::string& folder) : m_previous(platform::currentFolder()) {
    platform::setCurrentFolder(folder);
  }
  ~InFolder() { platform::setCurrentFolder(m_previous); }

 private:
  std::string m_previous{};
};

struct RunOptions {
  bool dirNames = false;
  bool overwrite = false;
  bool freshen = false;
  bool update = false;
  bool test = false;
  std::vector<std::string> specs{};
  std::string password{};
  int passwordRetries = 0;
  bool legacyLayout = false;
};

class UnpackLib {
 public:
  UnpackLib() {
    const std::string path = std::filesystem::absolute(FENNOCK_UNPACKLIB_FILE).string();
    if (!m_library.load(path)) ADD_FAILURE() << m_library.lastError();
    m_exec = reinterpret_cast<UnpackLibExecProc>(m_library.symbol(UNPACKLIB_EXEC_NAME));
    m_version = reinterpret_cast<GetUnpackLibVersionProc>(m_library.symbol(UNPACKLIB_VERSION_NAME));
  }

  int version() const { return m_version ? m_version() : -1; }

  // Answers a callback (may change Arg1, Arg2, Text) and returns the cancel value.
  std::function<int(PackLibCallbackInfo&)> answer = [](PackLibCallbackInfo&) { return 0; };
  std::vector<Callback> calls;

  int run(const std::string& archive, const std::string& folder, const RunOptions& o = {}) {
    calls.clear();
    InFolder in(folder);
    std::string archiveText = archive;
    std::string password = o.password;
    std::vector<std::string> specs = o.specs;
    std::vector<UnpackLibFileSpec> records(specs.size());
    for (std::size_t i = 0; i < specs.size(); ++i) records[i].SpecText = specs[i].data();
    auto fill = [&](auto& c) {
      c.Caller = this;
      c.InterfaceVersion = 160;
      c.CallbackProc = &UnpackLib::callback;
      c.PasswordText = password.data();
      c.TestFlag = o.test;
      c.ConstantOne = 1;
      c.UpdateFlag = o.update;
      c.FreshenFlag = o.freshen;
      c.DirNamesFlag = o.dirNames;
      c.OverwriteFlag = o.overwrite;
      c.SpecCount = static_cast<int32_t>(specs.size());
      c.ArchivePath = archiveText.data();
      c.Seven = 7;
    };
    if (o.legacyLayout) {
      auto command = std::make_unique<UnpackLibLegacyCommand>();
      fill(*command);
      for (std::size_t i = 0; i < specs.size(); ++i) command->SpecTexts[i] = specs[i].data();
      return m_exec(command.get());
    }
    UnpackLibCommand command{};
    fill(command);
    command.FileSpecs = records.data();
    command.PasswordRetries = o.passwordRetries;
    return m_exec(&command);
  }

  std::vector<Callback> of(int action) const {
    std::vector<Callback> found;
    for (const Callback& c : calls)
      if (c.action == action) found.push_back(c);
    return found;
  }
  std::string messages() const {
    std::string all;
    for (const Callback& c : of(kActionMessage)) all += c.text + "\n";
    return all;
  }

 private:
  static int32_t callback(PackLibCallbackInfo* info) {
    auto* self = static_cast<UnpackLib*>(info->Caller);
    EXPECT_EQ(info->RecordSize, sizeof(PackLibCallbackInfo));
    self->calls.push_back({info->ActionCode, info->Arg1, info->Arg2, info->Text, info->Size64});
    return self->answer(*info);
  }

  platform::DynamicLibrary m_library;
  UnpackLibExecProc m_exec = nullptr;
  GetUnpackLibVersionProc m_version = nullptr;
};

// Every file below `folder`, relative, sorted ("sub/" for folders).
inline std::vector<std::string> listTree(const std::string& folder) {
  std::vector<std::string> names{};
  for (auto& e : std::filesystem::recursive_directory_iterator(folder)) {
    std::string name = std::filesystem::relative(e.path(), folder).generic_string();
    if (e.is_directory() && !e.is_symlink()) name += "/";
    names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace testing_support
