// Measures the codecs in memory: packs and unpacks each file with both modes and prints
// "name size mode packed compressMBps decompressMBps" lines (CPU time, best of the runs).
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "codec/PackedFile.h"

namespace {

double cpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

template <typename Work>
double best(int runs, Work work) {
  double fastest = 1e30;
  for (int i = 0; i < runs; ++i) {
    double start = cpuSeconds();
    work();
    fastest = std::min(fastest, cpuSeconds() - start);
  }
  return fastest;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = 3;
  for (int i = 1; i < argc; ++i) {
    std::ifstream in(argv[i], std::ios::binary);
    std::vector<std::uint8_t> data{std::istreambuf_iterator<char>(in), {}};
    const double mb = double(data.size()) / 1e6;
    for (auto mode : {codec::TCompressMode::Fast, codec::TCompressMode::Good}) {
      std::vector<std::uint8_t> packed, restored;
      double pack = best(runs, [&] { packed = codec::packBytes(data, mode); });
      double unpack = best(runs, [&] { restored = codec::unpackBytes(packed); });
      if (restored != data) {
        std::fprintf(stderr, "%s: round trip failed\n", argv[i]);
        return 1;
      }
      std::printf("%s %zu %s %zu %.1f %.1f\n", argv[i], data.size(),
                  mode == codec::TCompressMode::Fast ? "fast" : "good", packed.size(), mb / pack,
                  mb / unpack);
    }
  }
  return 0;
}
