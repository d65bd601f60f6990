// The command records and callback handling of the archiver component, seen from a stand-in
// library.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "ZipTestSupport.h"
#include "support/ScratchDir.h"

using namespace zip;
using ziptest::MessageLog;
using ziptest::RecordingLib;

namespace {

struct RecordFixture : ::testing::Test {
  RecordingLib lib;
  testing_support::ScratchDir dir;
  TArchiver z;
  MessageLog log;
  RecordFixture() {
    z.setUnattended(true);
    z.setDLLDirectory(ziptest::recordingLibDir());
    log.attach(z);
  }
};

}  // namespace

TEST_F(RecordFixture, KnownAddCallFillsEveryDocumentedField) {
  z.setArchiveFileName(dir.file("out.zip"));
  z.setAddOptions({AddOpt::AddRecurseDirs, AddOpt::AddHiddenFiles, AddOpt::AddFreshen,
                   AddOpt::AddUpdate, AddOpt::AddZipTime, AddOpt::AddArchiveOnly});
  z.setAddCompLevel(6);
  z.setTrace(true);
  z.setPassword("secret");
  z.setTempDir("/var/tmp");
  z.setRootDir("/data");
  z.setExcludeSpecList({"*.bak", "core"});
  z.SpecList() = {"a.txt", ">*.c", "|docs/b.txt", "c.txt<pw", "d.txt<"};
  z.Add();

  RecordingLibState& s = lib.state();
  ASSERT_EQ(s.calls, 1);
  EXPECT_EQ(z.AddedCount(), 1);
  const auto& raw = s.rawRecord;
  const auto* c = reinterpret_cast<const PackLibCommand*>(raw.data());
  EXPECT_EQ(c->OwnerWindow, nullptr);  // unattended
  EXPECT_EQ(c->Caller, &z);
  EXPECT_EQ(c->InterfaceVersion, 160);
  EXPECT_EQ(c->TraceFlag, 1);
  EXPECT_EQ(c->VerboseFlag, 1);  // forced by trace
  EXPECT_EQ(c->QuietFlag, 1);
  EXPECT_EQ(c->Level, 6);
  EXPECT_EQ(c->EncryptFlag, 0);
  EXPECT_EQ(c->HiddenFilesFlag, 1);
  EXPECT_EQ(c->OmitDirEntriesFlag, 1);
  EXPECT_EQ(c->StripPathsFlag, 1);
  EXPECT_EQ(c->RecurseFlag, 1);
  EXPECT_EQ(c->ConstantOne, 1);
  EXPECT_EQ(c->UpdateFlag, 1);
  EXPECT_EQ(c->FreshenFlag, 0);  // cleared by update
  EXPECT_EQ(c->ZipTimeFlag, 1);
  EXPECT_EQ(c->ArchiveOnlyFlag, 1);
  EXPECT_EQ(c->ResetArchiveFlag, 0);
  EXPECT_EQ(c->SpecCount, 5);
  EXPECT_EQ(c->Seven, 7);
  EXPECT_EQ(c->ExcludeCount, 2);
  // The reserved words stay zero.
  for (int32_t v : {c->Reserved40, c->Reserved48, c->Reserved64, c->Reserved68, c->Reserved92,
                    c->Reserved104, c->Reserved112, c->Reserved116, c->Reserved144})
    EXPECT_EQ(v, 0);
  EXPECT_EQ(s.archivePath, dir.file("out.zip"));
  EXPECT_EQ(s.password, "secret");
  EXPECT_EQ(s.suffixes, ".gif:.png:.z:.zip:.zoo:.arc:.lzh:.arj:.taz:.tgz:.lha");
  EXPECT_EQ(s.tempDir, "/var/tmp");
  EXPECT_FALSE(s.hasComment);
  EXPECT_EQ(s.excludes, (std::vector<std::string>{"*.bak", "core"}));

  ASSERT_EQ(s.specs.size(), 5u);
  EXPECT_EQ(s.specs[0].text, "a.txt");
  EXPECT_EQ(s.specs[0].recurse, 1);
  EXPECT_EQ(s.specs[0].password, "secret");  // the command's password is copied
  EXPECT_EQ(s.specs[0].rootDir, std::string("/data") + platform::kPathSeparator);
  EXPECT_EQ(s.specs[1].text, "*.c");
  EXPECT_EQ(s.specs[1].recurse, 0xFFFF);
  EXPECT_EQ(s.specs[2].text, "docs/b.txt");
  EXPECT_EQ(s.specs[2].recurse, 0);
  EXPECT_EQ(s.specs[3].text, "c.txt");
  EXPECT_EQ(s.specs[3].password, "pw");
  EXPECT_EQ(s.specs[3].encrypt, 0xFFFF);
  // A spec ending in "<" keeps it, has no password and no encryption.
  EXPECT_EQ(s.specs[4].text, "d.txt<");
  EXPECT_FALSE(s.specs[4].hasPassword);
  EXPECT_EQ(s.specs[4].encrypt, 0);

  // A library that ran always leaves both lists empty.
  EXPECT_TRUE(z.SpecList().empty());
  EXPECT_TRUE(z.ExcludeSpecList().empty());
  EXPECT_FALSE(z.Busy());
}

TEST_F(RecordFixture, DefaultsGiveTheJobsRecord) {
  z.setArchiveFileName(dir.file("job.zip"));
  z.SpecList().push_back("/in/report.doc");
  z.Add();
  RecordingLibState& s = lib.state();
  const auto* c = reinterpret_cast<const PackLibCommand*>(s.rawRecord.data());
  EXPECT_EQ(c->Level, 9);
  EXPECT_EQ(c->TraceFlag, 0);
  EXPECT_EQ(c->VerboseFlag, 0);
  EXPECT_EQ(c->RecurseFlag, 0);
  EXPECT_EQ(c->StripPathsFlag, 1);
  EXPECT_FALSE(s.hasPassword);
  EXPECT_FALSE(s.hasTempDir);
  EXPECT_TRUE(s.excludesNull);
  ASSERT_EQ(s.specs.size(), 1u);
  EXPECT_EQ(s.specs[0].text, "/in/report.doc");
  EXPECT_FALSE(s.specs[0].hasPassword);
  EXPECT_FALSE(s.specs[0].hasRootDir);
  EXPECT_EQ(s.specs[0].encrypt, 0);
}

TEST_F(RecordFixture, VersionChoosesTheLayout) {
  lib.state().version = 150;
  z.setArchiveFileName(dir.file("old.zip"));
  z.setTempDir("/var/tmp");
  z.SpecList() = {"one", ">two"};
  z.Add();
  RecordingLibState& s = lib.state();
  ASSERT_TRUE(s.legacy);
  EXPECT_EQ(s.rawRecord.size(), sizeof(PackLibLegacyCommand));
  const auto* l = reinterpret_cast<const PackLibLegacyCommand*>(s.rawRecord.data());
  EXPECT_EQ(l->Seven, 7);
  EXPECT_EQ(l->SpecCount, 2);
  // Legacy specs go as written, prefixes included.
  ASSERT_EQ(s.specs.size(), 2u);
  EXPECT_EQ(s.specs[1].text, ">two");

  // Version 151 takes the new layout but not the version-160 fields.
  lib.state().version = 151;
  z.setArchiveFileName(dir.file("mid.zip"));
  z.setTempDir("/var/tmp");
  z.setExcludeSpecList({"x"});
  z.SpecList() = {"one"};
  z.Add();
  EXPECT_FALSE(s.legacy);
  const auto* c = reinterpret_cast<const PackLibCommand*>(s.rawRecord.data());
  EXPECT_EQ(s.tempDir, "/var/tmp");
  EXPECT_EQ(c->ExcludeCount, 0);
  EXPECT_EQ(c->ExcludeSpecs, nullptr);
}

TEST_F(RecordFixture, EmptySuffixSetLeavesTheFieldZero) {
  z.setAddStoreSuffixes(AddStoreExts{});
  z.setArchiveFileName(dir.file("a.zip"));
  z.SpecList() = {"x"};
  z.Add();
  EXPECT_FALSE(lib.state().hasSuffixes);
  EXPECT_EQ(TArchiver::storeSuffixList(AddStoreExts{}), "");
  EXPECT_EQ(TArchiver::storeSuffixList(AddStoreExts{AddStoreSuffixEnum::assEXE}), ".exe");
}

TEST_F(RecordFixture, CallbacksReachTheHandlersWithThisPlatformsSeparator) {
  std::vector<std::tuple<ProgressType, std::string, int64_t>> progress;
  z.OnProgress = [&](TArchiver&, ProgressType t, const std::string& name, int64_t size) {
    progress.emplace_back(t, name, size);
  };
  auto& script = lib.state().script;
  script = {{kActionTotalFiles, 0, 1, ""},
            {kActionTotalSize, 0, 1234, ""},
            {kActionNewFile, 0, 1234, "C:\\In\\report.doc  \r\n"},
            {kActionProgress, 0, 1000, ""},
            {kActionMessage, 0x1234, 0, "warning\\text"},
            {kActionEndOfBatch, 0, 0, ""},
            {99, 0, 0, "ignored"}};
  z.setArchiveFileName(dir.file("a.zip"));
  z.SpecList() = {"x"};
  z.Add();
  ASSERT_EQ(progress.size(), 5u);
  EXPECT_EQ(progress[0],
            std::make_tuple(ProgressType::TotalFiles2Process, std::string(), int64_t(1)));
  EXPECT_EQ(progress[1],
            std::make_tuple(ProgressType::TotalSize2Process, std::string(), int64_t(1234)));
  EXPECT_EQ(progress[2],
            std::make_tuple(ProgressType::NewFile,
                            platform::withNativeSeparators("C:/In/report.doc"), int64_t(1234)));
  EXPECT_EQ(progress[3],
            std::make_tuple(ProgressType::ProgressUpdate, std::string(), int64_t(1000)));
  EXPECT_EQ(progress[4], std::make_tuple(ProgressType::EndOfBatch, std::string(), int64_t(0)));
  EXPECT_EQ(z.TotalBytes(), 1234);
  EXPECT_EQ(z.LastErrorCode(), 0x34);
  EXPECT_EQ(z.LastFullErrorCode(), 0x1234);
  const std::string text = platform::withNativeSeparators("warning/text");
  EXPECT_EQ(z.LastMessage(), text);
  ASSERT_FALSE(log.messages.empty());
  EXPECT_EQ(log.messages.back(), std::make_pair(int32_t(0x1234), text));
}

TEST_F(RecordFixture, CancelSetWhileMessagesArePumpedReachesTheNextCallback) {
  struct PumpingHost : ArchiverHost {
    TArchiver* z = nullptr;
    int pumps = 0;
    void processMessages() override {
      if (++pumps == 1) z->setCancelRequested(true);
    }
  } host;
  host.z = &z;
  z.setHost(&host);
  lib.state().script = {{kActionProgress, 0, 1, ""}, {kActionProgress, 0, 1, ""}};
  z.setArchiveFileName(dir.file("a.zip"));
  z.SpecList() = {"x"};
  z.Add();
  EXPECT_EQ(lib.state().script[0].answer, 0);
  EXPECT_NE(lib.state().script[1].answer, 0);
  EXPECT_FALSE(z.CancelRequested());  // cleared when the operation ends
  z.setHost(nullptr);
}

TEST_F(RecordFixture, AnswersWrittenBackIntoTheRecord) {
  z.OnSetNewName = [](TArchiver&, std::string& name, bool& changed) {
    name = "renamed/" + name;
    changed = true;
  };
  lib.state().script = {{kActionNewName, 0, 0, "file.txt"},
                        {kActionCrcError, 5, 6, "file.txt"},  // no handler: 2
                        {kActionPassword, 1, 20, "file.txt"}};
  z.setArchiveFileName(dir.file("a.zip"));
  z.SpecList() = {"x"};
  z.Add();
  auto& script = lib.state().script;
  EXPECT_EQ(script[0].textAfter, "renamed/file.txt");
  EXPECT_EQ(script[0].arg1After, 1);
  EXPECT_EQ(script[1].arg1After, 2);
  // Unattended: asking twice reports 10150, no password, repeat count 0.
  EXPECT_TRUE(log.has(10150));
  EXPECT_EQ(script[2].arg1After, 0);
  EXPECT_EQ(script[2].arg2After, 0);
}

TEST_F(RecordFixture, PasswordPromptsThroughTheHost) {
  struct PromptHost : ArchiverHost {
    std::vector<std::string> answers;
    std::vector<std::string> prompts;
    std::string askPassword(const std::string&, const std::string& prompt, const std::string&,
                            const std::string&) override {
      prompts.push_back(prompt);
      std::string a = answers.front();
      answers.erase(answers.begin());
      return a;
    }
    void showMessage(const std::string&) override {}
  } host;
  z.setHost(&host);
  z.setUnattended(false);
  host.answers = {"pw", "pw", "one", "two"};
  lib.state().script = {{kActionPassword, 1, 20, "f"}, {kActionPassword, 1, 3, "f"}};
  z.setArchiveFileName(dir.file("a.zip"));
  z.SpecList() = {"x"};
  z.Add();
  auto& script = lib.state().script;
  EXPECT_EQ(script[0].textAfter, "pw");
  EXPECT_EQ(script[0].arg1After, 1);
  EXPECT_EQ(script[0].arg2After, 15);  // the repeat count is capped
  EXPECT_EQ(script[1].arg1After, 0);   // entries differ
  EXPECT_TRUE(log.has(10104));
  EXPECT_EQ(host.prompts.size(), 4u);
  z.setHost(nullptr);
}

TEST_F(RecordFixture, HandlerExceptionStopsTheLibraryAndIsReportedAs10101) {
  z.OnProgress = [](TArchiver&, ProgressType, const std::string&, int64_t) {
    throw std::runtime_error("handler failed");
  };
  lib.state().script = {{kActionProgress, 0, 1, ""}, {kActionProgress, 0, 1, ""}};
  z.setArchiveFileName(dir.file("a.zip"));
  z.SpecList() = {"x"};
  z.Add();
  EXPECT_NE(lib.state().script[0].answer, 0);
  EXPECT_TRUE(log.has(10101));
  EXPECT_TRUE(z.SpecList().empty());
  EXPECT_FALSE(z.Busy());
}

TEST(ArchiverBinding, UnloadableLibraryReports10604AndCallsNothing) {
  testing_support::ScratchDir dir;
  dir.write(PACKLIB_FILE_NAME, "this is not a shared object");
  TArchiver z;
  z.setUnattended(true);
  MessageLog log;
  log.attach(z);
  z.setDLLDirectory(dir.path());
  EXPECT_EQ(z.PackLibVersion(), 0);
  EXPECT_TRUE(log.has(10604));
  z.setArchiveFileName(dir.file("a.zip"));
  z.SpecList() = {"x"};
  z.Add();
  EXPECT_EQ(z.AddedCount(), 0);
  // The load failed before the library was reached: the list stays.
  EXPECT_EQ(z.SpecList().size(), 1u);
}

TEST(ArchiverBinding, NoDLLDirectoryLoadsNothingFromTheCurrentFolder) {
  testing_support::ScratchDir dir;
  std::string before = platform::currentFolder();
  // A library in the current folder must not be picked up.
  std::filesystem::copy_file(platform::joinPath(ziptest::packLibDir(), PACKLIB_FILE_NAME),
                             dir.file(PACKLIB_FILE_NAME));
  platform::setCurrentFolder(dir.path());
  TArchiver z;
  z.setUnattended(true);
  MessageLog log;
  log.attach(z);
  EXPECT_EQ(z.PackLibVersion(), 0);
  EXPECT_TRUE(log.has(10604));
  platform::setCurrentFolder(before);
}

TEST(ArchiverBinding, LibraryWithoutExecIsNeverCalled) {
  testing_support::ScratchDir dir;
  TArchiver z;
  z.setUnattended(true);
  MessageLog log;
  log.attach(z);
  z.setDLLDirectory(ziptest::versionOnlyLibDir());
  z.setArchiveFileName(dir.file("a.zip"));
  z.SpecList() = {"x"};
  z.Add();
  EXPECT_TRUE(log.has(10602));
  EXPECT_FALSE(log.has(10603));
  EXPECT_EQ(z.AddedCount(), 0);
  EXPECT_FALSE(z.Busy());
}

TEST(ArchiverBinding, VersionQueryAndTraceMessage) {
  TArchiver z;
  z.setUnattended(true);
  MessageLog log;
  log.attach(z);
  z.setTrace(true);
  z.setDLLDirectory(ziptest::packLibDir() + "/");
  EXPECT_EQ(z.DLLDirectory(), ziptest::packLibDir());
  EXPECT_EQ(z.packLibPath(),
            platform::joinPath(platform::absolutePath(ziptest::packLibDir()), PACKLIB_FILE_NAME));
  EXPECT_EQ(z.PackLibVersion(), 160);
  EXPECT_TRUE(log.has(10601));
}

// Both libraries are found the same way: a relative DLLDirectory is taken from the current
// folder and the library is loaded by that absolute path.
TEST(ArchiverBinding, RelativeDLLDirectoryIsTakenFromTheCurrentFolderForBothLibraries) {
  const std::string before = platform::currentFolder();
  // The folder that holds both libraries' folders.
  platform::setCurrentFolder(std::filesystem::path(ziptest::packLibDir()).parent_path().string());
  const std::string here = platform::currentFolder();
  TArchiver z;
  z.setUnattended(true);
  z.setDLLDirectory("packlib");
  EXPECT_EQ(z.packLibPath(),
            platform::joinPath(platform::joinPath(here, "packlib"), PACKLIB_FILE_NAME));
  EXPECT_EQ(z.PackLibVersion(), 160);
  EXPECT_EQ(z.unpackLibPath(), "") << "no unarchiver library in that folder";
  z.setDLLDirectory("unpacklib");
  EXPECT_EQ(z.unpackLibPath(),
            platform::joinPath(platform::joinPath(here, "unpacklib"), UNPACKLIB_FILE_NAME));
  EXPECT_EQ(z.UnpackLibVersion(), 160);
  platform::setCurrentFolder(before);
}

TEST(ArchiverBinding, FailingMessageHandlerDuringTheLoadDoesNotEscape) {
  testing_support::ScratchDir dir;
  TArchiver z;
  z.setUnattended(true);
  int calls = 0;
  z.OnMessage = [&](TArchiver&, int32_t, const std::string&) {
    ++calls;
    throw std::runtime_error("handler failed");
  };
  // Missing library: the report of 10604 throws, the query still answers 0.
  z.setDLLDirectory(dir.path());
  EXPECT_EQ(z.PackLibVersion(), 0);
  EXPECT_EQ(z.UnpackLibVersion(), 0);
  EXPECT_EQ(calls, 2);
  // A traced load whose 10601 report throws leaves the library loaded without entry points,
  // so the query answers 0 and nothing is called; the next untraced query works again.
  z.setTrace(true);
  z.setDLLDirectory(ziptest::packLibDir());
  EXPECT_EQ(z.PackLibVersion(), 0);
  z.setTrace(false);
  EXPECT_EQ(z.PackLibVersion(), 160);
  EXPECT_FALSE(z.Busy());
}

TEST(ArchiverProperties, DefaultsAndAssignmentRules) {
  TArchiver z;
  EXPECT_EQ(z.AddCompLevel(), 9);
  EXPECT_EQ(z.PasswordReqCount(), 1u);
  EXPECT_EQ(z.MinFreeVolumeSize(), 65536);
  EXPECT_TRUE(z.ConfirmErase());
  EXPECT_EQ(z.SFXPath(), "ArcSFX.bin");
  EXPECT_EQ(z.SFXCaption(), "Self-extracting Archive");
  EXPECT_TRUE(z.SFXOptions().contains(SFXOpt::SFXCheckSize));
  EXPECT_FALSE(z.AddStoreSuffixes().contains(AddStoreSuffixEnum::assEXE));
  EXPECT_TRUE(z.AddStoreSuffixes().contains(AddStoreSuffixEnum::assLHA));
  z.setPasswordReqCount(20);
  EXPECT_EQ(z.PasswordReqCount(), 15u);
  z.setPasswordReqCount(15);
  EXPECT_EQ(z.PasswordReqCount(), 15u);
  z.setPasswordReqCount(3);
  EXPECT_EQ(z.PasswordReqCount(), 3u);
  z.setVersionInfo("9.99");
  EXPECT_EQ(z.VersionInfo(), "1.60");
  z.setRootDir("/data");
  EXPECT_EQ(z.RootDir(), std::string("/data") + platform::kPathSeparator);
  z.setRootDir("/data/");
  EXPECT_EQ(z.RootDir(), "/data/");
  z.setDLLDirectory("/opt/lib//");
  EXPECT_EQ(z.DLLDirectory(), "/opt/lib/");  // only one separator is removed
  z.setPassword(std::string(300, 'p'));
  EXPECT_EQ(z.Password().size(), 255u);
  EXPECT_EQ(TArchiver::storeSuffixList(z.AddStoreSuffixes()),
            ".gif:.png:.z:.zip:.zoo:.arc:.lzh:.arj:.taz:.tgz:.lha");
}

TEST(ArchiverMessages, FallbackTextAndCatalogue) {
  EXPECT_EQ(messageText(10301),
            "ArcMsgXX.res is probably not linked to the executable\nMissing String ID is: 10301");
  EArchiver plain(11036, false);
  EXPECT_EQ(plain.messageId(), 11036);
  EXPECT_EQ(plain.displayFlag(), 0);
  EArchiver withDetail(10304, int32_t(5));
  EXPECT_EQ(withDetail.displayFlag(), 1);
  // Without a catalogue text the detail is dropped from an EArchiver.
  EXPECT_EQ(std::string(withDetail.what()), messageText(10304));
  setMessageCatalogue([](int32_t id) -> std::optional<std::string> {
    if (id == 10304) return std::string("Stub failed: ");
    return std::nullopt;
  });
  EXPECT_EQ(std::string(EArchiver(10304, int32_t(5)).what()), "Stub failed: 5");
  EXPECT_EQ(std::string(EArchiver(10304, std::string("x")).what()), "Stub failed: x");
  setMessageCatalogue(nullptr);
}
