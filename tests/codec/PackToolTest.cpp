// fennock-pack from the outside: its commands, exit status and the texts it prints.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "codec/CodecTestData.h"
#include "support/Programs.h"
#include "support/ScratchDir.h"

namespace {

using testing_support::ScratchDir;

struct ToolRun {
  int status;
  std::string output;  // stdout and stderr together
};

ToolRun pack(const std::vector<std::string>& args) {
  const testing_support::ProgramRun run = testing_support::runProgram(FENNOCK_PACK_TOOL, args);
  return {run.status, run.out + run.err};
}

TEST(PackTool, PacksAndUnpacksInEveryMode) {
  ScratchDir dir;
  auto data = testing_support::patterned<codec_test::Bytes>(2, 150000, 4);
  std::string in = dir.write("in", std::string(data.begin(), data.end()));
  for (const char* mode : {"good", "fast", "auto"}) {
    std::string packed = dir.file(std::string("packed-") + mode);
    ASSERT_EQ(pack({"pack", "--mode", mode, in, packed}).status, 0);
    ASSERT_EQ(pack({"unpack", packed, dir.file("out")}).status, 0);
    EXPECT_EQ(ScratchDir::read(dir.file("out")), ScratchDir::read(in)) << mode;
  }
  EXPECT_EQ(ScratchDir::read(dir.file("packed-good")).substr(0, 4), "!HZL");
  EXPECT_EQ(ScratchDir::read(dir.file("packed-fast")).substr(0, 4), "!BZL");
  ToolRun advice = pack({"advise", in});
  EXPECT_EQ(advice.status, 0);
  EXPECT_EQ(advice.output.substr(0, 5), "fast\n");
}

TEST(PackTool, FailuresPrintTheComponentsTextAndFail) {
  ScratchDir dir;
  ToolRun missing = pack({"unpack", dir.file("none"), dir.file("out")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.output,
            "Packer (de)compression : Failed to open input file : " + dir.file("none") + "\n");
  std::string notPacked = dir.write("plain", "just text");
  ToolRun bad = pack({"unpack", notPacked, dir.file("out")});
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.output, notPacked + " : Packer decompression : this file has no valid header !\n");
  EXPECT_FALSE(std::filesystem::exists(dir.file("out")));
  // An output that was there before is the user's, whatever it is: it stays after a failure.
  std::filesystem::create_symlink("/dev/null", dir.file("device"));
  EXPECT_EQ(pack({"unpack", notPacked, dir.file("device")}).status, 1);
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("device")));
  EXPECT_EQ(pack({"pack", "--mode", "quick", "a", "b"}).status, 2);
  EXPECT_EQ(pack({"unpack", "onlyone"}).status, 2);
}

}  // namespace
