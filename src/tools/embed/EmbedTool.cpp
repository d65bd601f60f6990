// fennock-embed: packs the merger programs and the libraries into the stores of the main
// window's description, stamps each merger image with its own length, and writes the sources
// that carry the description and the payload lengths into the program.
#include <sys/stat.h>

#include <cstdio>
#include <deque>
#include <exception>
#include <fstream>
#include <limits>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "codec/PackedFile.h"
#include "platform/Paths.h"
#include "store/Description.h"
#include "store/ImageStamp.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

const char* const kUsage =
    "Usage: fennock-embed --merger FILE [--packlib FILE] --unpacklib FILE --payloads DIR\n"
    "                     [--windows-merger FILE --windows-unpacklib FILE]\n"
    "                     --header FILE --source FILE --stamp FILE\n";

Bytes readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

// Leaves a file that already holds these bytes untouched, so that nothing that depends on it
// is rebuilt when the payloads did not change.
void writeIfDifferent(const std::string& path, const Bytes& bytes) {
  if (platform::fileExists(path) && readAll(path) == bytes) return;
  std::string temporary = path + ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out.flush()) throw std::runtime_error("cannot write " + temporary);
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0)
    throw std::runtime_error("cannot write " + path);
}

void writeIfDifferent(const std::string& path, const std::string& text) {
  writeIfDifferent(path, Bytes(text.begin(), text.end()));
}

std::int32_t checkedLength(const Bytes& bytes, const std::string& what) {
  if (bytes.size() > std::size_t(std::numeric_limits<std::int32_t>::max()))
    throw std::runtime_error(what + " is too large for a 32-bit length");
  return std::int32_t(bytes.size());
}

Bytes packVerified(const Bytes& original, const std::string& what) {
  Bytes packed = codec::packBytes(original, codec::TCompressMode::Good);
  if (codec::unpackBytes(packed) != original)
    throw std::runtime_error(what + " does not unpack to its original bytes");
  return packed;
}

// One system's merger payloads as the stores hold them: the stamped image and the packed library.
struct MergerPayloads {
  const char* system;     // "Linux", "Windows": the constants' prefix
  const char* imageFile;  // the stamped image, beside the stores' files
  const char* sfxStore;   // the store of the packed image, and its file
  const char* sfxFile;
  const char* unpackStore;  // the store of the packed library, and its file
  const char* unpackFile;
  const char* mergerOption;  // the options that name the linked image and the library
  const char* unpackOption;
  store::ImageStamp stamp;  // {0, 0} while this build has no merger for the system
};

std::string headerText(const MergerPayloads& linuxMerger, const MergerPayloads& windowsMerger) {
  std::ostringstream out;
  out << "// Lengths of the payloads that this build carries, written by fennock-embed; never "
         "edit.\n"
         "#pragma once\n\n#include <cstdint>\n\nnamespace payloads {\n\n"
         "// Per system the merger is made for: the merger program's image, the head of every "
         ".EXE\n"
         "// merger file, followed by its parameter record (the merger program reads the same\n"
         "// number from its own stamp), and the unarchiver library, packed, as a compressed .EXE\n"
         "// merger carries it. 0 for a system whose merger this build does not carry.\n";
  for (const MergerPayloads* p : {&linuxMerger, &windowsMerger})
    out << "inline constexpr std::int32_t " << p->system
        << "MergerImageSize = " << p->stamp.mergerImageSize << ";\n"
        << "inline constexpr std::int32_t " << p->system
        << "UnzipLibrarySize = " << p->stamp.unzipLibrarySize << ";\n";
  out << "\n// The merger of the system that this program runs on.\n"
         "#ifdef _WIN32\n"
         "inline constexpr std::int32_t MergerImageSize = WindowsMergerImageSize;\n"
         "inline constexpr std::int32_t UnzipLibrarySize = WindowsUnzipLibrarySize;\n"
         "#else\n"
         "inline constexpr std::int32_t MergerImageSize = LinuxMergerImageSize;\n"
         "inline constexpr std::int32_t UnzipLibrarySize = LinuxUnzipLibrarySize;\n"
         "#endif\n\n"
         "}  // namespace payloads\n";
  return out.str();
}

std::string sourceText(const Bytes& description) {
  std::ostringstream out;
  out << "// The main window's description with its stores, written by fennock-embed; never "
         "edit.\n"
         "#include \"payloads/MainWindowDescription.h\"\n\n"
         "namespace payloads {\n\nnamespace {\n\nconst std::uint8_t kDescription["
      << description.size() << "] = {";
  static const char* const kHex = "0123456789abcdef";
  for (std::size_t i = 0; i < description.size(); ++i) {
    out << (i % 24 == 0 ? "\n    " : "") << "0x" << kHex[description[i] >> 4]
        << kHex[description[i] & 15] << ',';
  }
  out << "\n};\n\n}  // namespace\n\n"
         "std::span<const std::uint8_t> mainWindowDescription() { return kDescription; }\n\n"
         "}  // namespace payloads\n";
  return out.str();
}

// Reads everything back from disk and fails loudly when the image, its stamp, the packed
// library and the generated constants do not agree.
void verify(const std::string& imagePath, const std::string& unpackPath, const std::string& sfxPath,
            const store::ImageStamp& expected) {
  Bytes image = readAll(imagePath);
  auto stamp = store::readImageStamp(image);
  if (!stamp || *stamp != expected || std::int64_t(image.size()) != expected.mergerImageSize)
    throw std::runtime_error("the merger image's stamp does not match its length (image " +
                             std::to_string(image.size()) + " bytes)");
  if (platform::fileSize(unpackPath) != expected.unzipLibrarySize)
    throw std::runtime_error("the packed unarchiver library's length does not match its stamp");
  if (codec::unpackBytes(readAll(sfxPath)) != image)
    throw std::runtime_error("the SFX store does not hold the stamped merger image");
}

// Stamps one system's merger image, writes it and the two packed store files, checks them and
// adds the stores. The `stores` keep the file names that they are given.
void packMerger(const std::map<std::string, std::string>& options, const std::string& dir,
                MergerPayloads& payloads, std::deque<store::TFileSource>& stores) {
  const std::string imagePath = platform::joinPath(dir, payloads.imageFile);
  const std::string unpackPath = platform::joinPath(dir, payloads.unpackFile);
  const std::string sfxPath = platform::joinPath(dir, payloads.sfxFile);
  Bytes unpackLib = packVerified(readAll(options.at(payloads.unpackOption)),
                                 std::string(payloads.system) + " UnpackLib");
  Bytes image = readAll(options.at(payloads.mergerOption));
  payloads.stamp = {checkedLength(image, "the merger image"),
                    checkedLength(unpackLib, "the packed UnpackLib")};
  store::writeImageStamp(image, payloads.stamp);
  writeIfDifferent(imagePath, image);
  ::chmod(imagePath.c_str(), 0755);
  writeIfDifferent(unpackPath, unpackLib);
  writeIfDifferent(sfxPath, packVerified(image, "the merger image"));
  verify(imagePath, unpackPath, sfxPath, payloads.stamp);
  stores.emplace_back(payloads.unpackStore).setFileName(unpackPath);
  stores.emplace_back(payloads.sfxStore).setFileName(sfxPath);
}

int run(const std::map<std::string, std::string>& options) {
  for (const char* required :
       {"--merger", "--unpacklib", "--payloads", "--header", "--source", "--stamp"}) {
    if (!options.count(required)) {
      std::fputs(kUsage, stderr);
      return 2;
    }
  }
  if (options.count("--windows-merger") != options.count("--windows-unpacklib")) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string dir = options.at("--payloads");

  // The Linux stores keep the names and files that they always had.
  MergerPayloads linuxMerger{"Linux",         "merger.img", "SFX",         "Sfx.dat", "UnpackLib",
                             "UnpackLib.dat", "--merger",   "--unpacklib", {}};
  MergerPayloads windowsMerger{"Windows",          "windows-merger.img",  "WindowsSFX",
                               "WindowsSfx.dat",   "WindowsUnpackLib",    "WindowsUnpackLib.dat",
                               "--windows-merger", "--windows-unpacklib", {}};
  std::deque<store::TFileSource> stores;  // they neither copy nor move
  // A build whose system has no archiver library yet carries none: its jobs cannot compress.
  if (options.count("--packlib")) {
    const std::string packPath = platform::joinPath(dir, "PackLib.dat");
    writeIfDifferent(packPath, packVerified(readAll(options.at("--packlib")), "PackLib"));
    stores.emplace_back("PackLib").setFileName(packPath);
  }
  packMerger(options, dir, linuxMerger, stores);
  if (options.count("--windows-merger")) packMerger(options, dir, windowsMerger, stores);

  std::vector<const store::TFileSource*> storeList;
  for (store::TFileSource& s : stores) {
    s.setStore(true);
    storeList.push_back(&s);
  }
  codec::TMemoryStream description;
  store::writeDescription(description, "TForm1", "Form1", storeList);
  writeIfDifferent(platform::joinPath(dir, "Form1.desc"), description.Bytes());

  writeIfDifferent(options.at("--header"), headerText(linuxMerger, windowsMerger));
  writeIfDifferent(options.at("--source"), sourceText(description.Bytes()));
  std::ofstream stamp(options.at("--stamp"), std::ios::trunc);
  for (const MergerPayloads* p : {&linuxMerger, &windowsMerger}) {
    stamp << p->system << " merger image " << p->stamp.mergerImageSize << ", packed UnpackLib "
          << p->stamp.unzipLibrarySize << "\n";
    std::printf("fennock-embed: %s merger image %d bytes, packed UnpackLib %d bytes\n", p->system,
                p->stamp.mergerImageSize, p->stamp.unzipLibrarySize);
  }
  std::printf("fennock-embed: description %zu bytes\n", description.Bytes().size());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::map<std::string, std::string> options;
  for (int i = 1; i + 1 < argc; i += 2) options[argv[i]] = argv[i + 1];
  if (argc % 2 == 0) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  try {
    return run(options);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "fennock-embed: error: %s\n", e.what());
    return 1;
  }
}
