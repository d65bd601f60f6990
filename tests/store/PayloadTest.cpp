// The payloads compiled into the program: what the stores write out unpacks to the build's
// merger image and libraries, and the generated constants are their lengths.
#include <gtest/gtest.h>

#include <fstream>

#include "PayloadSizes.h"
#include "codec/PackedFile.h"
#include "payloads/MainWindowDescription.h"
#include "platform/DynamicLibrary.h"
#include "platform/Paths.h"
#include "store/ImageStamp.h"
#include "store/TempFolderOverride.h"
#include "support/ScratchDir.h"

using testing_support::ScratchDir;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::string payload(const std::string& name) {
  return platform::joinPath(FENNOCK_PAYLOAD_DIR, name);
}

struct LoadedStores {
  ScratchDir temp;
  testing_support::TempFolderOverride redirect{temp.path()};
  store::TFileSource PackLib{"PackLib"}, UnpackLib{"UnpackLib"}, SFX{"SFX"};
  store::TFileSource WindowsUnpackLib{"WindowsUnpackLib"}, WindowsSFX{"WindowsSFX"};
  LoadedStores() {
    store::TFileSource* stores[] = {&PackLib, &UnpackLib, &SFX, &WindowsUnpackLib, &WindowsSFX};
    payloads::loadMainWindowStores(stores);
  }
};

// The Windows merger's stores are there exactly when the build carries it.
const bool kWindows = payloads::WindowsMergerImageSize > 0;

}  // namespace

TEST(Payloads, StoresUnpackToTheBuildsMergerImageAndLibraries) {
  LoadedStores loaded;
  struct Case {
    store::TFileSource& source;
    const char* packed;
    const char* original;
  } cases[] = {{loaded.PackLib, "PackLib.dat", "PackLib.so"},
               {loaded.UnpackLib, "UnpackLib.dat", "UnpackLib.so"},
               {loaded.SFX, "Sfx.dat", "merger.img"},
               {loaded.WindowsUnpackLib, "WindowsUnpackLib.dat", "UnpackLib.dll"},
               {loaded.WindowsSFX, "WindowsSfx.dat", "windows-merger.img"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source.Name());
    if (c.source.Name().starts_with("Windows") && !kWindows) {
      EXPECT_EQ(c.source.FileName(), "");
      continue;
    }
    EXPECT_EQ(c.source.Extension(), ".dat");
    Bytes stored = readBytes(c.source.FileName());
    ASSERT_GE(stored.size(), 8u);
    EXPECT_EQ(std::string(stored.begin(), stored.begin() + 4), "!HZL");
    EXPECT_EQ(stored, readBytes(payload(c.packed)));
    Bytes original = readBytes(payload(c.original));
    ASSERT_FALSE(original.empty());
    EXPECT_EQ(codec::unpackBytes(stored), original);
  }
}

TEST(Payloads, GeneratedConstantsAreThePayloadLengths) {
  LoadedStores loaded;
  struct Case {
    const char* system;
    store::TFileSource& sfx;
    store::TFileSource& unpackLib;
    std::int32_t imageSize, librarySize;
  } cases[] = {{"Linux", loaded.SFX, loaded.UnpackLib, payloads::LinuxMergerImageSize,
                payloads::LinuxUnzipLibrarySize},
               {"Windows", loaded.WindowsSFX, loaded.WindowsUnpackLib,
                payloads::WindowsMergerImageSize, payloads::WindowsUnzipLibrarySize}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.system);
    if (c.sfx.FileName().empty() && !kWindows) continue;
    Bytes image = codec::unpackBytes(readBytes(c.sfx.FileName()));
    EXPECT_EQ(std::int64_t(image.size()), c.imageSize);
    EXPECT_EQ(platform::fileSize(c.unpackLib.FileName()), c.librarySize);
    // The merger program reads the same two numbers from the stamp inside its own image.
    auto stamp = store::readImageStamp(image);
    ASSERT_TRUE(stamp.has_value());
    EXPECT_EQ(stamp->mergerImageSize, c.imageSize);
    EXPECT_EQ(stamp->unzipLibrarySize, c.librarySize);
  }
  // The program's own system is the default's.
  EXPECT_EQ(payloads::MergerImageSize, payloads::LinuxMergerImageSize);
}

TEST(Payloads, UnpackedLibrariesStillExportTheirEntryPoints) {
  LoadedStores loaded;
  struct Case {
    store::TFileSource& source;
    const char* name;
    const char* exec;
    const char* version;
  } cases[] = {{loaded.PackLib, "PackLib.so", "PackLibExec", "GetPackLibVersion"},
               {loaded.UnpackLib, "UnpackLib.so", "UnpackLibExec", "GetUnpackLibVersion"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform::PrivateTempDir dir;
    Bytes library = codec::unpackBytes(readBytes(c.source.FileName()));
    std::ofstream(dir.file(c.name), std::ios::binary)
        .write(reinterpret_cast<const char*>(library.data()), std::streamsize(library.size()));
    platform::DynamicLibrary loadedLibrary;
    ASSERT_TRUE(loadedLibrary.load(dir.file(c.name))) << loadedLibrary.lastError();
    EXPECT_NE(loadedLibrary.symbol(c.exec), nullptr);
    auto version = reinterpret_cast<std::int32_t (*)()>(loadedLibrary.symbol(c.version));
    ASSERT_NE(version, nullptr);
    EXPECT_GT(version(), 0);
  }
}
