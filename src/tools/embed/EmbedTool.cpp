// fennock-embed: packs the merger program and the two libraries into the stores of the main
// window's description, stamps the merger image with its own length, and writes the sources
// that carry the description and the payload lengths into the program.
#include <sys/stat.h>

#include <cstdio>
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
    "Usage: fennock-embed --merger FILE --packlib FILE --unpacklib FILE --payloads DIR\n"
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

std::string headerText(const store::ImageStamp& stamp) {
  std::ostringstream out;
  out << "// Lengths of the payloads that this build carries, written by fennock-embed; never "
         "edit.\n"
         "#pragma once\n\n#include <cstdint>\n\nnamespace payloads {\n\n"
         "// The merger program's image: the head of every .EXE merger file, followed by its\n"
         "// parameter record. The merger program reads the same number from its own stamp.\n"
         "inline constexpr std::int32_t MergerImageSize = "
      << stamp.mergerImageSize
      << ";\n"
         "// The unarchiver library, packed, as a compressed .EXE merger carries it.\n"
         "inline constexpr std::int32_t UnzipLibrarySize = "
      << stamp.unzipLibrarySize << ";\n\n}  // namespace payloads\n";
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

int run(const std::map<std::string, std::string>& options) {
  for (const char* required :
       {"--merger", "--packlib", "--unpacklib", "--payloads", "--header", "--source", "--stamp"}) {
    if (!options.count(required)) {
      std::fputs(kUsage, stderr);
      return 2;
    }
  }
  const std::string dir = options.at("--payloads");
  const std::string imagePath = platform::joinPath(dir, "merger.img");
  const std::string packPath = platform::joinPath(dir, "PackLib.dat");
  const std::string unpackPath = platform::joinPath(dir, "UnpackLib.dat");
  const std::string sfxPath = platform::joinPath(dir, "Sfx.dat");

  Bytes unpackLib = packVerified(readAll(options.at("--unpacklib")), "UnpackLib");
  Bytes image = readAll(options.at("--merger"));
  store::ImageStamp stamp{checkedLength(image, "the merger image"),
                          checkedLength(unpackLib, "the packed UnpackLib")};
  store::writeImageStamp(image, stamp);
  writeIfDifferent(imagePath, image);
  ::chmod(imagePath.c_str(), 0755);
  writeIfDifferent(unpackPath, unpackLib);
  writeIfDifferent(packPath, packVerified(readAll(options.at("--packlib")), "PackLib"));
  writeIfDifferent(sfxPath, packVerified(image, "the merger image"));
  verify(imagePath, unpackPath, sfxPath, stamp);

  store::TFileSource packLibStore("PackLib"), unpackLibStore("UnpackLib"), sfxStore("SFX");
  packLibStore.setFileName(packPath);
  unpackLibStore.setFileName(unpackPath);
  sfxStore.setFileName(sfxPath);
  const store::TFileSource* stores[] = {&packLibStore, &unpackLibStore, &sfxStore};
  for (auto* s : {&packLibStore, &unpackLibStore, &sfxStore}) s->setStore(true);
  codec::TMemoryStream description;
  store::writeDescription(description, "TForm1", "Form1", stores);
  writeIfDifferent(platform::joinPath(dir, "Form1.desc"), description.Bytes());

  writeIfDifferent(options.at("--header"), headerText(stamp));
  writeIfDifferent(options.at("--source"), sourceText(description.Bytes()));
  std::ofstream(options.at("--stamp"), std::ios::trunc)
      << "merger image " << stamp.mergerImageSize << ", packed UnpackLib " << stamp.unzipLibrarySize
      << "\n";
  std::printf(
      "fennock-embed: merger image %d bytes, packed UnpackLib %d bytes, description %zu "
      "bytes\n",
      stamp.mergerImageSize, stamp.unzipLibrarySize, description.Bytes().size());
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
