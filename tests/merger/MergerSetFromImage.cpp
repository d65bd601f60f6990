// Makes an uncompressed two-piece set by hand around a merger executable that the payload
// pipeline has not stamped (the Windows image): stamps a copy with its own length, appends the
// record and the first piece's data, and writes piece 2 and the expected output beside it.
// Usage: merger-set-from-image IMAGE FOLDER  ->  FOLDER/Data.exe, Data2.frg, expected.txt
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "job/ScriptRecord.h"
#include "store/ImageStamp.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void save(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace

int main(int argc, char** argv) try {
  if (argc != 3) {
    std::fputs("usage: merger-set-from-image IMAGE FOLDER\n", stderr);
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  Bytes image{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  store::writeImageStamp(image, {std::int32_t(image.size()), 0});
  // Text with line ends and bytes above 127, so that a mode that changes them shows.
  Bytes data;
  for (int i = 0; i < 3000; ++i) data.push_back(std::uint8_t(i % 7 == 6 ? '\n' : (i * 31) % 251));
  constexpr std::size_t kFirstPieceData = 1000;
  job::ScriptRecord record;
  record.baseName = "Data";
  record.fileExtension = ".txt";
  record.pieceSize = std::int32_t(image.size() + job::kScriptRecordSize + kFirstPieceData);
  record.pieceCount = 2;
  const std::string folder = argv[2];
  Bytes merger = image;
  const auto recordBytes = record.toBytes();
  merger.insert(merger.end(), recordBytes.begin(), recordBytes.end());
  merger.insert(merger.end(), data.begin(), data.begin() + kFirstPieceData);
  save(folder + "/Data.exe", merger);
  save(folder + "/Data2.frg", Bytes(data.begin() + kFirstPieceData, data.end()));
  save(folder + "/expected.txt", data);
  return 0;
} catch (const std::exception& e) {
  std::fprintf(stderr, "merger-set-from-image: %s\n", e.what());
  return 1;
}
