// Archives written by Python's zipfile and by 7-Zip, extracted by UnpackLib byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/Programs.h"
#include "support/ScratchDir.h"
#include "support/TestData.h"
#include "unpacklib/UnpackLibHarness.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

// The peer archivers and Python run on the Linux side only.
bool have([[maybe_unused]] const char* tool) {
#ifdef _WIN32
  return false;
#else
  return haveProgram(tool);
#endif
}

// Runs `args` in `folder`; its exit status.
int run([[maybe_unused]] const std::vector<std::string>& args,
        [[maybe_unused]] const std::string& folder) {
#ifdef _WIN32
  return -1;
#else
  const ProgramRun result = runProgram(args[0], {args.begin() + 1, args.end()}, folder);
  EXPECT_EQ(result.status, 0) << result.out << result.err;
  return result.status;
#endif
}

class Interop : public ::testing::Test {
 protected:
  void SetUp() override {
#ifdef _WIN32
    GTEST_SKIP() << "the peer archivers and Python run on the Linux side";
#endif
    // The originals: text, random bytes, an empty file and a file in a folder with a UTF-8 name.
    fs::create_directories(scratch.file("src/sub/deeper"));
    std::string text;
    for (int i = 0; i < 20000; ++i) text += "line " + std::to_string(i) + " of the sample\n";
    scratch.write("src/text.txt", text);
    scratch.write("src/random.bin", testing_support::randomBytes(300000, 7));
    scratch.write("src/empty.dat", "");
    scratch.write(
        "src/sub/deeper/gr\xC3\xBC\xC3\x9F"
        "e.txt",
        "Gr\xC3\xBC\xC3\x9F"
        "e\n");
    fs::create_directory(dest());
  }
  std::string dest() const { return scratch.file("dest"); }
  void expectSameTree() {
    EXPECT_EQ(listTree(dest()), listTree(scratch.file("src")));
    for (const std::string& name : listTree(scratch.file("src"))) {
      if (name.back() == '/') continue;
      EXPECT_EQ(ScratchDir::read(scratch.file("dest/" + name)),
                ScratchDir::read(scratch.file("src/" + name)))
          << name;
    }
  }
  int python(const std::string& script) {
    std::string path = scratch.write("make.py", script);
    return run({"python3", path}, scratch.path());
  }

  ScratchDir scratch;
  UnpackLib lib;
};

const char kPythonWriter[] = R"(
import os, zipfile
with zipfile.ZipFile('py.zip', 'w') as z:
    for root, dirs, files in os.walk('src'):
        for d in dirs:
            z.write(os.path.join(root, d), os.path.relpath(os.path.join(root, d), 'src'))
        for f in files:
            p = os.path.join(root, f)
            method = zipfile.ZIP_STORED if f.endswith('.bin') else zipfile.ZIP_DEFLATED
            z.write(p, os.path.relpath(p, 'src'), compress_type=method)
)";

TEST_F(Interop, PythonZipfileArchive) {
  ASSERT_EQ(python(kPythonWriter), 0);
  EXPECT_EQ(lib.run(scratch.file("py.zip"), dest(), {.dirNames = true}), 4);
  EXPECT_EQ(lib.messages(), "");
  expectSameTree();
}

TEST_F(Interop, PythonZipfileForcedZip64Entries) {
  ASSERT_EQ(python(R"(
import zipfile
with zipfile.ZipFile('z64.zip', 'w', zipfile.ZIP_DEFLATED) as z:
    with z.open('text.txt', 'w', force_zip64=True) as out:
        out.write(open('src/text.txt', 'rb').read())
)"),
            0);
  EXPECT_EQ(lib.run(scratch.file("z64.zip"), dest()), 1);
  EXPECT_EQ(ScratchDir::read(scratch.file("dest/text.txt")),
            ScratchDir::read(scratch.file("src/text.txt")));
}

TEST_F(Interop, PythonZipfileZip64DirectoryOfManyEntries) {
  // More than 65535 entries make zipfile write the ZIP64 end record and locator.
  ASSERT_EQ(python(R"(
import zipfile
with zipfile.ZipFile('many.zip', 'w') as z:
    for i in range(65540):
        z.writestr('f%05d' % i, '')
    z.writestr('last.txt', 'the last entry')
)"),
            0);
  EXPECT_EQ(lib.run(scratch.file("many.zip"), dest(), {.specs = {"last.txt"}}), 1);
  EXPECT_EQ(ScratchDir::read(scratch.file("dest/last.txt")), "the last entry");
  EXPECT_EQ(lib.messages(), "");
}

TEST_F(Interop, SevenZipArchives) {
  if (!have("7z")) GTEST_SKIP() << "7z not installed";
  for (const char* method : {"Deflate", "Copy"}) {
    fs::remove(scratch.file("7z.zip"));
    ASSERT_EQ(run({"7z", "a", "-tzip", std::string("-mm=") + method, "../7z.zip", "."},
                  scratch.file("src")),
              0);
    fs::remove_all(dest());
    fs::create_directory(dest());
    EXPECT_EQ(lib.run(scratch.file("7z.zip"), dest(), {.dirNames = true}), 4) << method;
    EXPECT_EQ(lib.messages(), "") << method;
    expectSameTree();
  }
}

TEST_F(Interop, InfoZipEncryptedArchiveWithPassword) {
  if (!have("zip")) GTEST_SKIP() << "zip not installed";
  ASSERT_EQ(run({"zip", "-q", "-P", "secret", "../enc.zip", "text.txt"}, scratch.file("src")), 0);
  const std::string archive = scratch.file("enc.zip");
  // No password and no retries: nothing is asked, the file is skipped.
  EXPECT_EQ(lib.run(archive, dest()), 0);
  EXPECT_TRUE(lib.of(kActionPassword).empty());
  EXPECT_EQ(lib.of(kActionSkipped).size(), 1u);
  // A wrong password first, then the right one through the prompt.
  lib.answer = [](PackLibCallbackInfo& info) {
    if (info.ActionCode == kActionPassword) {
      std::snprintf(info.Text, sizeof info.Text, "%s", "secret");
      info.Arg1 = 1;
    }
    return 0;
  };
  EXPECT_EQ(lib.run(archive, dest(), {.password = "wrong", .passwordRetries = 2}), 1);
  EXPECT_EQ(lib.of(kActionPassword).size(), 1u);
  EXPECT_EQ(ScratchDir::read(scratch.file("dest/text.txt")),
            ScratchDir::read(scratch.file("src/text.txt")));
  fs::remove(scratch.file("dest/text.txt"));
  EXPECT_EQ(lib.run(archive, dest(), {.password = "secret"}), 1);
}

}  // namespace
