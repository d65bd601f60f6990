// `fennock join` run as a program on sets that `fennock split` made, started from each member.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/Paths.h"
#include "store/ImageStamp.h"
#include "support/Programs.h"
#include "support/ScratchDir.h"
#include "support/TestData.h"

using testing_support::ProgramRun;
using testing_support::ScratchDir;

namespace {

ProgramRun fennock(const ScratchDir& dir, const std::vector<std::string>& args) {
  return testing_support::runProgram(testing_support::fennockProgram(), args, dir.path());
}

// Compressible but not trivial: 1.5 MB cut into pieces of 500 Kbytes, longer than a merger head.
std::string sample() { return testing_support::drawnFrom("abcdefg", 1500000, 7); }

// Splits sample.bin in `dir` with `options` and removes the input; the set's files remain.
void split(const ScratchDir& dir, const std::vector<std::string>& options) {
  dir.write("sample.bin", sample());
  std::vector<std::string> args{"split", "sample.bin", "--size", "500", "--unit", "Kbytes"};
  args.insert(args.end(), options.begin(), options.end());
  const ProgramRun run = fennock(dir, args);
  ASSERT_EQ(run.status, 0) << run.err;
  platform::deleteFile(dir.file("sample.bin"));
}

std::vector<std::string> entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  return names;
}

const std::vector<std::string> kExe{"--merger", "exe", "--no-compress"};
const std::vector<std::string> kZip{"--merger", "exe", "--compress"};
const std::vector<std::string> kBat{"--merger", "bat", "--no-compress"};

std::vector<std::string> with(std::vector<std::string> options, const std::string& more) {
  options.push_back(more);
  return options;
}

}  // namespace

TEST(JoinCommand, JoinsEachLayoutFromEachMember) {
  struct Case {
    std::vector<std::string> split;
    std::string member;
    std::string joined;  // as the set's merger names it
  };
  const std::vector<Case> cases = {
      {kExe, "sample.exe", "sample.bin"},
      {kExe, "sample3.frg", "sample.bin"},
      {with(kExe, "--checksums"), "sample.sha256", "sample.bin"},
      {with(kExe, "--sh-merger"), "sample.sh", "sample.bin"},
      {kZip, "sample2.frg", "sample.bin"},
      {with(kZip, "--checksums"), "sample.exe", "sample.bin"},
      {kBat, "sample1.frg", "sample.bin"},
      {kBat, "sample.bat", "sample.bin"},
      {with(kBat, "--checksums"), "sample3.frg", "sample.bin"},
      {with(kBat, "--checksums"), "sample.sha256", "sample.bin"},
      {with(kBat, "--sh-merger"), "sample.sh", "sample.bin"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.member + " of a set split with " + c.split[1] + " " + c.split.back());
    ScratchDir dir;
    split(dir, c.split);
    std::filesystem::create_directory(dir.file("out"));
    const ProgramRun run = fennock(dir, {"join", c.member, "--dest", "out"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.out.ends_with("Merging... 100%\nFiles merged\n")) << run.out;
    EXPECT_EQ(entries(dir.file("out")), std::vector<std::string>{c.joined});
    EXPECT_TRUE(ScratchDir::read(dir.file("out/" + c.joined)) == sample());
  }
}

TEST(JoinCommand, PiecesAloneJoinAndDeletePiecesLeavesTheMerger) {
  ScratchDir bat;
  split(bat, kBat);
  platform::deleteFile(bat.file("sample.bat"));
  const ProgramRun alone = fennock(bat, {"join", "sample2.frg", "--delete-pieces"});
  ASSERT_EQ(alone.status, 0) << alone.err;
  // Without the script nothing names the extension: the pieces' name is the joined file's.
  EXPECT_EQ(entries(bat.path()), std::vector<std::string>{"sample"});
  EXPECT_TRUE(ScratchDir::read(bat.file("sample")) == sample());

  // Without the script the checksum file counts the pieces and names the joined file.
  ScratchDir sums;
  split(sums, with(kBat, "--checksums"));
  platform::deleteFile(sums.file("sample.bat"));
  ASSERT_EQ(fennock(sums, {"join", "sample.sha256"}).status, 0);
  EXPECT_TRUE(ScratchDir::read(sums.file("sample.bin")) == sample());

  ScratchDir exe;
  split(exe, kZip);
  std::filesystem::create_directory(exe.file("out"));
  const ProgramRun zip =
      fennock(exe, {"join", "sample.exe", "--dest", "out", "--no-unzip", "--delete-pieces"});
  ASSERT_EQ(zip.status, 0) << zip.err;
  EXPECT_EQ(entries(exe.file("out")), std::vector<std::string>{"sample.zip"});
  EXPECT_TRUE(platform::fileExists(exe.file("sample.exe")));
  EXPECT_FALSE(platform::fileExists(exe.file("sample2.frg")));
}

TEST(JoinCommand, DamagedAndIncompleteSetsAreRefusedNamingThePiece) {
  struct Case {
    std::vector<std::string> split;
    std::string member;
    std::function<void(const ScratchDir&)> damage;
    std::string message;
  };
  auto remove = [](std::string name) {
    return [name](const ScratchDir& dir) { platform::deleteFile(dir.file(name)); };
  };
  auto cut = [](std::string name) {
    return [name](const ScratchDir& dir) { std::filesystem::resize_file(dir.file(name), 1000); };
  };
  auto flip = [](std::string name) {
    return [name](const ScratchDir& dir) {
      std::string bytes = ScratchDir::read(dir.file(name));
      bytes[bytes.size() - 1] ^= 1;
      dir.write(name, bytes);
    };
  };
  const std::vector<Case> cases = {
      {kExe, "sample2.frg", remove("sample3.frg"), "File not found: \"sample3.frg\"."},
      {kBat, "sample.bat", remove("sample2.frg"), "File not found: \"sample2.frg\"."},
      {kBat, "sample3.frg", cut("sample1.frg"),
       "The piece \"sample1.frg\" holds 1000 bytes of data where 512000 were expected"},
      {kExe, "sample.exe", cut("sample2.frg"), "The piece \"sample2.frg\" holds 1000 bytes"},
      {with(kZip, "--checksums"), "sample.sha256", flip("sample2.frg"),
       "sample2.frg is damaged (its checksum differs)"},
      {with(kBat, "--checksums"), "sample1.frg", flip("sample3.frg"),
       "sample3.frg is damaged (its checksum differs)"},
      {kExe, "sample.exe", remove("sample.exe"), "File not found"},
      {with(kExe, "--checksums"), "sample2.frg", remove("sample.exe"),
       "File not found: \"sample.exe\"."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.member + ": " + c.message);
    ScratchDir dir;
    split(dir, c.split);
    c.damage(dir);
    std::filesystem::create_directory(dir.file("out"));
    const ProgramRun run = fennock(dir, {"join", c.member, "--dest", "out"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.starts_with("Fennock! 1.0: ")) << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_TRUE(entries(dir.file("out")).empty());
  }
  ScratchDir dir;
  dir.write("notes.txt", "x");
  const ProgramRun stranger = fennock(dir, {"join", "notes.txt"});
  EXPECT_EQ(stranger.status, 1);
  EXPECT_NE(stranger.err.find("\"notes.txt\" is no file of a Fennock set"), std::string::npos);
  EXPECT_EQ(fennock(dir, {"join"}).status, 2);
  EXPECT_EQ(fennock(dir, {"join", "notes.txt", "other.frg"}).status, 2);
}

// Another build's merger image has another length: the set's own stamp says where its record is.
TEST(JoinCommand, JoinsASetWhoseMergerImageIsLongerThanThisBuilds) {
  ScratchDir dir;
  split(dir, kZip);
  std::string bytes = ScratchDir::read(dir.file("sample.exe"));
  auto* image = reinterpret_cast<std::uint8_t*>(bytes.data());
  const auto stamp = store::leadingImageStamp({image, bytes.size()});
  ASSERT_TRUE(stamp.has_value());
  const std::int32_t longer = stamp->mergerImageSize + 4096;
  bytes.insert(std::size_t(stamp->mergerImageSize), 4096, '\0');
  image = reinterpret_cast<std::uint8_t*>(bytes.data());
  store::writeImageStamp({image, std::size_t(longer)}, {longer, stamp->unzipLibrarySize});
  dir.write("sample.exe", bytes);
  std::filesystem::create_directory(dir.file("out"));
  const ProgramRun run = fennock(dir, {"join", "sample2.frg", "--dest", "out"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(ScratchDir::read(dir.file("out/sample.bin")) == sample());
}

// The merger file is read as data: a set joins though its image is a script without execute bits.
TEST(JoinCommand, NeverRunsTheMergerFile) {
  ScratchDir dir;
  split(dir, kExe);
  const std::string merger = dir.file("sample.exe");
  std::string bytes = ScratchDir::read(merger);
  const std::string script = "#!/bin/sh\ntouch \"" + dir.file("ran") + "\"\nexit 0\n";
  bytes.replace(0, script.size(), script);
  dir.write("sample.exe", bytes);
  ::chmod(merger.c_str(), 0755);
  std::filesystem::create_directory(dir.file("out"));
  const ProgramRun run = fennock(dir, {"join", "sample.exe", "--dest", "out"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_FALSE(platform::fileExists(dir.file("ran")));
  EXPECT_TRUE(ScratchDir::read(dir.file("out/sample.bin")) == sample());
  ::chmod(merger.c_str(), 0644);
  EXPECT_EQ(fennock(dir, {"join", "sample2.frg", "--dest", "out"}).status, 0);
  EXPECT_FALSE(platform::fileExists(dir.file("ran")));
}
