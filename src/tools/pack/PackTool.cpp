// fennock-pack: packs and unpacks files in the packed-file format from the command line.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "codec/Packer.h"

namespace {

constexpr int kUsageError = 2;

const char* const kUsage =
    "Usage: fennock-pack pack [--mode good|fast|auto] IN OUT\n"
    "       fennock-pack unpack IN OUT\n"
    "       fennock-pack advise IN\n"
    "good: LZH, slow and strong (the default); fast: LZB; auto: let advise choose.\n";

int usage(const char* problem) {
  if (problem != nullptr) std::fprintf(stderr, "fennock-pack: %s\n", problem);
  std::fputs(kUsage, stderr);
  return kUsageError;
}

bool parseMode(const std::string& text, codec::TCompressMode& mode) {
  if (text == "good")
    mode = codec::TCompressMode::Good;
  else if (text == "fast")
    mode = codec::TCompressMode::Fast;
  else if (text == "auto")
    mode = codec::TCompressMode::Auto;
  else
    return false;
  return true;
}

int run(const std::string& command, std::vector<std::string> args) {
  codec::TPacker packer;
  if (command == "pack") {
    codec::TCompressMode mode = codec::TCompressMode::Good;
    for (std::size_t i = 0; i < args.size(); ++i) {
      if (args[i] == "--mode" || args[i].rfind("--mode=", 0) == 0) {
        std::string value;
        if (args[i] == "--mode") {
          if (i + 1 == args.size()) return usage("--mode needs good, fast or auto");
          value = args[i + 1];
          args.erase(args.begin() + std::ptrdiff_t(i), args.begin() + std::ptrdiff_t(i) + 2);
        } else {
          value = args[i].substr(7);
          args.erase(args.begin() + std::ptrdiff_t(i));
        }
        if (!parseMode(value, mode)) return usage("--mode needs good, fast or auto");
        --i;
      }
    }
    if (args.size() != 2) return usage("pack needs IN and OUT");
    packer.InputFile = args[0];
    packer.OutputFile = args[1];
    packer.CompressMode = mode;
    packer.Compress();
    return 0;
  }
  if (command == "unpack") {
    if (args.size() != 2) return usage("unpack needs IN and OUT");
    packer.InputFile = args[0];
    packer.OutputFile = args[1];
    packer.Decompress();
    return 0;
  }
  if (command == "advise") {
    if (args.size() != 1) return usage("advise needs IN");
    packer.InputFile = args[0];
    codec::TCompressMode mode = packer.Advise();
    std::printf("%s\n%s\n", mode == codec::TCompressMode::Fast ? "fast" : "good",
                packer.Caption().c_str());
    return 0;
  }
  return usage(("unknown command: " + command).c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage(nullptr);
  std::string command = argv[1];
  if (command == "--help" || command == "-h") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  try {
    return run(command, std::vector<std::string>(argv + 2, argv + argc));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}
