// TArchiver::Extract: its checks, the unarchiver binding, both command layouts, the current
// folder rule and the clean-up, with a recording stand-in and with the real UnpackLib.so.
#include <gtest/gtest.h>

#include <filesystem>

#include "ExtractRecording.h"
#include "platform/DynamicLibrary.h"
#include "platform/Paths.h"
#include "support/ScratchDir.h"
#include "unpacklib/UnpackLibHarness.h"
#include "unpacklib/ZipBuilder.h"
#include "zip/Archiver.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

std::string made(const std::string& folder) {
  fs::create_directory(folder);
  return folder;
}

int32_t messageId(const std::string& text) {
  auto at = text.rfind(": ");
  return at == std::string::npos ? 0 : std::atoi(text.c_str() + at + 2);
}

class Extract : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(scratch.file("dest"));
    z.setDLLDirectory(FENNOCK_UNPACKLIB_DIR);
    z.setExtrOptions({zip::ExtrOpt::ExtrOverWrite});  // as the merger's window sets it
    z.setUnattended(true);
    z.OnMessage = [this](zip::TArchiver&, int32_t code, const std::string& text) {
      if (code == 0) ids.push_back(messageId(text));
      texts.push_back(text);
    };
  }
  bool reported(int32_t id) const { return std::find(ids.begin(), ids.end(), id) != ids.end(); }
  std::string archive(const std::vector<TestEntry>& entries) {
    return scratch.write("a.zip", buildZip(entries));
  }

  ScratchDir scratch;
  InFolder start{made(scratch.file("start"))};
  zip::TArchiver z;
  std::vector<int32_t> ids;
  std::vector<std::string> texts;
};

// The recording stand-in, kept loaded by the test so that its state outlives each Extract.
class Recording {
 public:
  Recording() {
    const std::string path =
        platform::absolutePath(platform::joinPath(folder(), UNPACKLIB_FILE_NAME));
    if (!m_library.load(path)) throw std::runtime_error(m_library.lastError());
    m_state =
        reinterpret_cast<ExtractRecording* (*)()>(m_library.symbol("ExtractRecordingState"))();
    *m_state = ExtractRecording{};
  }
  static std::string folder() { return FENNOCK_EXTRACT_RECORDING_DIR; }
  ExtractRecording& operator*() { return *m_state; }
  ExtractRecording* operator->() { return m_state; }

 private:
  platform::DynamicLibrary m_library;
  ExtractRecording* m_state;
};

TEST_F(Extract, MissingArchiveReports10102AndLoadsNothing) {
  Recording rec;
  z.setDLLDirectory(Recording::folder());
  z.setExtrBaseDir(scratch.file("dest"));
  z.setArchiveFileName(scratch.file("none.zip"));
  ids.clear();
  z.Extract();
  EXPECT_TRUE(reported(zip::msg::kNoArchiveName));
  EXPECT_EQ(rec->calls, 0);
  EXPECT_EQ(platform::currentFolder(), scratch.file("start"));
  EXPECT_EQ(z.ExtractedCount(), 0);
}

TEST_F(Extract, EmptySpecListExtractsEveryEntryOverwritingIntoExtrBaseDir) {
  scratch.write("dest/b.txt", "old");
  z.setArchiveFileName(
      archive({{.name = "a.txt", .content = "A"}, {.name = "sub/b.txt", .content = "B"}}));
  z.setExtrBaseDir(scratch.file("dest"));
  z.Extract();
  EXPECT_EQ(z.ExtractedCount(), 2);
  EXPECT_EQ(ScratchDir::read(scratch.file("dest/a.txt")), "A");
  EXPECT_EQ(ScratchDir::read(scratch.file("dest/b.txt")), "B") << "replaced";
  EXPECT_EQ(platform::currentFolder(), scratch.file("dest")) << "the directory stays changed";
  EXPECT_FALSE(z.Busy());
}

TEST_F(Extract, MissingExtrBaseDirLeavesTheCurrentFolder) {
  z.setArchiveFileName(archive({{.name = "a.txt", .content = "A"}}));
  z.setExtrBaseDir(scratch.file("no-such-folder"));
  z.Extract();
  EXPECT_EQ(z.ExtractedCount(), 1);
  EXPECT_EQ(platform::currentFolder(), scratch.file("start"));
  EXPECT_TRUE(fs::exists(scratch.file("start/a.txt")));
}

TEST_F(Extract, RelativeArchiveNameSurvivesTheFolderChange) {
  archive({{.name = "a.txt", .content = "A"}});
  fs::copy_file(scratch.file("a.zip"), scratch.file("start/rel.zip"));
  z.setArchiveFileName("rel.zip");
  z.setExtrBaseDir(scratch.file("dest"));
  z.Extract();
  EXPECT_EQ(z.ExtractedCount(), 1);
}

TEST_F(Extract, SpecListSelectsAndIsEmptiedAfterwards) {
  z.setArchiveFileName(
      archive({{.name = "a.txt", .content = "A"}, {.name = "b.bin", .content = "B"}}));
  z.setExtrBaseDir(scratch.file("dest"));
  z.SpecList().push_back("*.bin");
  z.Extract();
  EXPECT_EQ(z.ExtractedCount(), 1);
  EXPECT_TRUE(fs::exists(scratch.file("dest/b.bin")));
  EXPECT_FALSE(fs::exists(scratch.file("dest/a.txt")));
  EXPECT_TRUE(z.SpecList().empty());
}

TEST_F(Extract, DamagedEntryReachesTheHandlersAndLeavesNoFile) {
  z.setArchiveFileName(archive({{.name = "a.txt", .content = "payload", .crc = 1}}));
  z.setExtrBaseDir(scratch.file("dest"));
  bool crcSeen = false;
  z.OnCRC32Error = [&](zip::TArchiver&, const std::string& file, uint32_t, uint32_t expected,
                       bool& doExtract) {
    crcSeen = file == "a.txt" && expected == 1;
    doExtract = false;
  };
  z.Extract();
  EXPECT_TRUE(crcSeen);
  EXPECT_EQ(z.ExtractedCount(), 0);
  EXPECT_FALSE(fs::exists(scratch.file("dest/a.txt")));
  EXPECT_NE(z.LastErrorCode(), 0);
}

TEST_F(Extract, UnattendedWithoutPasswordReports10502AndRestoresPasswordReqCount) {
  Recording rec;
  z.setDLLDirectory(Recording::folder());
  z.setPasswordReqCount(3);
  z.setArchiveFileName(archive({{.name = "a.txt", .content = "A"}}));
  z.Extract();
  EXPECT_TRUE(reported(zip::msg::kNoPasswordUnattended));
  EXPECT_EQ(rec->retries, 0);
  EXPECT_EQ(z.PasswordReqCount(), 3u);
  // Attended, the count goes to the library as it is.
  z.setUnattended(false);
  z.setPassword("pw");
  z.Extract();
  EXPECT_EQ(rec->retries, 3);
  EXPECT_EQ(rec->password, "pw");
}

TEST_F(Extract, ModernRecordCarriesTheMergerCall) {
  Recording rec;
  z.setDLLDirectory(Recording::folder());
  z.setUnattended(false);
  z.setArchiveFileName(archive({}));
  z.setExtrBaseDir(scratch.file("dest"));
  rec->sendNewFile = true;
  z.OnProgress = [](zip::TArchiver& self, zip::ProgressType, const std::string&, int64_t) {
    self.setCancelRequested(true);  // set by a handler: handed back by this very callback
  };
  z.Extract();
  EXPECT_EQ(rec->calls, 1);
  EXPECT_FALSE(rec->legacy);
  EXPECT_EQ(rec->seven, 7);
  EXPECT_EQ(rec->interfaceVersion, 160);
  EXPECT_EQ(rec->constantOne, 1);
  EXPECT_EQ(rec->overwrite, 1);
  EXPECT_EQ(rec->dirNames, 0);
  EXPECT_TRUE(rec->specs.empty());
  EXPECT_FALSE(rec->passwordNull) << "an empty text, not a null pointer";
  EXPECT_EQ(rec->password, "");
  EXPECT_EQ(rec->retries, 1);
  EXPECT_EQ(rec->archivePath, scratch.file("a.zip"));
  EXPECT_EQ(rec->currentFolder, scratch.file("dest"));
  EXPECT_EQ(rec->callbackAnswer, 1);
  EXPECT_EQ(z.ExtractedCount(), 2) << "the library's result";
  EXPECT_FALSE(z.CancelRequested()) << "cleared at the end";
}

TEST_F(Extract, OptionFlagsFollowExtrOptions) {
  Recording rec;
  z.setDLLDirectory(Recording::folder());
  z.setArchiveFileName(archive({}));
  z.setExtrOptions({zip::ExtrOpt::ExtrDirNames, zip::ExtrOpt::ExtrFreshen, zip::ExtrOpt::ExtrUpdate,
                    zip::ExtrOpt::ExtrTest});
  z.setTrace(true);
  z.Extract();
  EXPECT_EQ(rec->dirNames, 1);
  EXPECT_EQ(rec->update, 1);
  EXPECT_EQ(rec->freshen, 0) << "freshen gives way to update";
  EXPECT_EQ(rec->test, 1);
  EXPECT_EQ(rec->overwrite, 0);
  EXPECT_EQ(rec->verbose, 1) << "trace implies verbose";
  EXPECT_TRUE(reported(zip::msg::kUnpackLibLoaded));
}

TEST_F(Extract, LegacyLayoutForOldLibraries) {
  Recording rec;
  rec->version = 151;
  z.setDLLDirectory(Recording::folder());
  z.setArchiveFileName(archive({}));
  z.SpecList() = {"one", "two"};
  z.setAddOptions({zip::AddOpt::AddEncrypt});
  z.Extract();
  EXPECT_TRUE(rec->legacy);
  EXPECT_EQ(rec->seven, 7);
  EXPECT_EQ(rec->specs, (std::vector<std::string>{"one", "two"}));
  // Unattended, encrypting, no password: an old library gets 80 "~" so that it does not ask.
  EXPECT_EQ(rec->password, std::string(80, '~'));
  rec->version = 152;
  z.Extract();
  EXPECT_FALSE(rec->legacy);
  EXPECT_EQ(rec->retries, 0) << "no retries field below 160";
  EXPECT_EQ(rec->password, std::string(80, '~'));
}

TEST_F(Extract, UnloadableLibraryReports10704) {
  z.setDLLDirectory(scratch.file("start"));
  z.setArchiveFileName(archive({{.name = "a.txt", .content = "A"}}));
  z.setExtrBaseDir(scratch.file("dest"));
  z.Extract();
  EXPECT_TRUE(reported(zip::msg::kUnpackLibNotLoaded));
  EXPECT_EQ(z.ExtractedCount(), 0);
  EXPECT_FALSE(z.Busy());
  EXPECT_EQ(platform::currentFolder(), scratch.file("start"));
  EXPECT_EQ(z.UnpackLibVersion(), 0);
  z.setDLLDirectory(FENNOCK_UNPACKLIB_DIR);
  EXPECT_EQ(z.UnpackLibVersion(), 160);
}

TEST_F(Extract, HandlerFailureReports10501AndStillCleansUp) {
  z.setArchiveFileName(archive({{.name = "a.txt", .content = "A"}}));
  z.setExtrBaseDir(scratch.file("dest"));
  z.SpecList().push_back("*");
  z.OnProgress = [](zip::TArchiver&, zip::ProgressType, const std::string&, int64_t) {
    throw std::runtime_error("handler failed");
  };
  z.Extract();
  EXPECT_TRUE(reported(zip::msg::kExtractException));
  EXPECT_FALSE(z.Busy());
  EXPECT_TRUE(z.SpecList().empty());
  EXPECT_FALSE(fs::exists(scratch.file("dest/a.txt"))) << "the library stopped at once";
}

}  // namespace

namespace {

TEST_F(Extract, ArchiveWrittenByPackLibComesBackIdentically) {
  // The compressed job's road: Add through PackLib, then Extract through UnpackLib elsewhere.
  std::string text;
  for (int i = 0; i < 50000; ++i) text += std::to_string(i) + " bottles\n";
  scratch.write("start/input.txt", text);
  scratch.write("start/empty.dat", "");
  z.setDLLDirectory(FENNOCK_PACKLIB_DIR);
  z.setArchiveFileName(scratch.file("job.zip"));
  z.SpecList() = {scratch.file("start/input.txt"), scratch.file("start/empty.dat")};
  z.Add();
  ASSERT_EQ(z.AddedCount(), 2) << z.LastMessage();
  z.setDLLDirectory(FENNOCK_UNPACKLIB_DIR);
  z.setExtrBaseDir(scratch.file("dest"));
  z.Extract();
  EXPECT_EQ(z.ExtractedCount(), 2);
  EXPECT_EQ(ScratchDir::read(scratch.file("dest/input.txt")), text);
  EXPECT_TRUE(fs::exists(scratch.file("dest/empty.dat")));
}

}  // namespace
