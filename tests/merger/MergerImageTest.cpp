// The merger image that every .EXE merger file starts with: small, and runnable on a machine
// with only the usual X11 and system libraries.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <regex>
#include <set>

#include "PayloadSizes.h"
#include "platform/Paths.h"

namespace {

const std::string kImage = std::string(FENNOCK_PAYLOAD_DIR) + "/merger.img";

std::string output(const std::string& command) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
  std::string text;
  char buffer[4096];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe.get())) text.append(buffer, n);
  return text;
}

}  // namespace

TEST(MergerImage, LengthIsTheBuildsConstant) {
  EXPECT_EQ(platform::fileSize(kImage), payloads::MergerImageSize);
}

TEST(MergerImage, StaysSmall) {
  if (FENNOCK_SANITIZED) GTEST_SKIP() << "sanitizer runtimes make the image large";
  EXPECT_LE(payloads::MergerImageSize, 800 * 1024);
}

TEST(MergerImage, NeedsOnlyTheUsualLibraries) {
  if (FENNOCK_SANITIZED) GTEST_SKIP() << "sanitizer runtimes are linked in";
  const std::string text = output("ldd '" + kImage + "'");
  const std::set<std::string> usual = {
      "linux-vdso",      "libc",          "libm",        "ld-linux-x86-64", "libX11",
      "libXext",         "libXrender",    "libXcursor",  "libXfixes",       "libXft",
      "libXinerama",     "libfontconfig", "libfreetype", "libxcb",          "libXau",
      "libXdmcp",        "libexpat",      "libz",        "libpng16",        "libbrotlidec",
      "libbrotlicommon", "libbsd",        "libmd",       "libuuid",         "libbz2",
      "libpthread",      "libdl",         "libstdc++",   "libgcc_s"};
  std::regex line(R"(^\s*(\S+?)(\.so[.0-9]*)?\s)");
  std::size_t lines = 0;
  for (std::size_t at = 0, end; at < text.size(); at = end + 1) {
    end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    const std::string l = text.substr(at, end - at);
    std::smatch m;
    if (!std::regex_search(l, m, line)) continue;
    std::string name = platform::fileNameOf(m[1].str());
    ++lines;
    EXPECT_TRUE(usual.count(name)) << "unexpected library: " << l;
    EXPECT_EQ(l.find("not found"), std::string::npos) << l;
  }
  EXPECT_GT(lines, 2u) << text;
  EXPECT_EQ(text.find("libfltk"), std::string::npos);
}

TEST(MergerImage, TerminalOptions) {
  std::string help = output("'" + kImage + "' --help 2>&1");
  for (const char* option : {"--dest DIR", "--delete-pieces", "--no-unzip"})
    EXPECT_NE(help.find(option), std::string::npos) << help;
  EXPECT_EQ(std::system(("'" + kImage + "' --bogus 2>/dev/null").c_str()) >> 8, 2);
  EXPECT_EQ(output("'" + kImage + "' --dest 2>&1"),
            "Fennock! M\xC3\xB3"
            "dulo SFX: The option --dest needs a folder.\n");
  // The bare image carries no record: it says so and fails, whatever the folder holds.
  const std::string bare = output("cd / && '" + kImage + "' --dest /tmp 2>&1; echo status $?");
  EXPECT_NE(bare.find("holds no merge data"), std::string::npos) << bare;
  EXPECT_NE(bare.find("status 1"), std::string::npos) << bare;
}
