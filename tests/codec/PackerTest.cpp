// TPacker: the packed-file layout, its failure texts, Advise and the captions it shows.
#include <gtest/gtest.h>

#include <filesystem>

#include "codec/CodecTestData.h"
#include "codec/PackedFile.h"
#include "codec/Packer.h"
#include "platform/Paths.h"
#include "support/ScratchDir.h"

namespace {

using codec::EPackerException;
using codec::TCompressMode;
using codec::TPacker;
using codec_test::Bytes;
using testing_support::patterned;
using testing_support::randomBytes;
using testing_support::ScratchDir;

std::string text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }
Bytes bytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

// Runs `call` and returns the message of the EPackerException it must raise.
template <typename Call>
std::string failure(Call call) {
  try {
    call();
  } catch (const EPackerException& e) {
    return e.what();
  }
  return "(no failure)";
}

struct FilePacker {
  ScratchDir dir;
  TPacker packer;
  std::string in = dir.file("in.bin"), out = dir.file("out.bin");
  FilePacker() {
    packer.InputFile = in;
    packer.OutputFile = out;
  }
  void input(const Bytes& data) { dir.write("in.bin", text(data)); }
  Bytes output() const { return bytes(ScratchDir::read(out)); }
};

TEST(PackedLayout, FastEmptyInputIsElevenBytes) {
  Bytes packed = codec::packBytes({}, TCompressMode::Fast);
  EXPECT_EQ(packed, (Bytes{'!', 'B', 'Z', 'L', 0, 0, 0, 0, 1, 0, 0x80}));
  EXPECT_TRUE(codec::unpackBytes(packed).empty());
}

TEST(PackedLayout, FastExactBlockMultipleEndsWithAnEmptyStoredBlock) {
  for (std::size_t size : {32768u, 65536u}) {
    Bytes input = patterned<Bytes>(2, size, 1);
    Bytes packed = codec::packBytes(input, TCompressMode::Fast);
    ASSERT_GE(packed.size(), 11u);
    EXPECT_EQ(Bytes(packed.end() - 3, packed.end()), (Bytes{1, 0, 0x80}));
    EXPECT_EQ(codec::unpackBytes(packed), input);
  }
}

TEST(PackedLayout, GoodIsMagicSizeAndOneLzhStream) {
  EXPECT_EQ(codec::packBytes(bytes("abc")),
            (Bytes{'!', 'H', 'Z', 'L', 3, 0, 0, 0, 0xF6, 0xFB, 0xBD, 0xE0}));
  EXPECT_EQ(codec::unpackBytes(Bytes{'!', 'H', 'Z', 'L', 3, 0, 0, 0, 0xF6, 0xFB, 0xBD, 0xE0}),
            bytes("abc"));
}

TEST(PackerFiles, CompressAndDecompressReturnTheirCounts) {
  FilePacker f;
  Bytes data = patterned<Bytes>(4, 100000, 2);
  f.input(data);
  for (TCompressMode mode : {TCompressMode::Good, TCompressMode::Fast}) {
    f.packer.InputFile = f.in;
    f.packer.OutputFile = f.dir.file("packed");
    f.packer.CompressMode = mode;
    std::int64_t written = f.packer.Compress();
    EXPECT_EQ(written, platform::fileSize(f.dir.file("packed")));
    f.packer.InputFile = f.dir.file("packed");
    f.packer.OutputFile = f.out;
    EXPECT_EQ(f.packer.Decompress(), 100000);
    EXPECT_EQ(f.output(), data);
  }
}

TEST(PackerFailures, MissingInput) {
  FilePacker f;
  EXPECT_EQ(failure([&] { f.packer.Compress(); }),
            "Packer compression : Failed to obtain the size of : " + f.in);
  EXPECT_EQ(failure([&] { f.packer.Decompress(); }),
            "Packer (de)compression : Failed to open input file : " + f.in);
  EXPECT_FALSE(std::filesystem::exists(f.out));
  EXPECT_EQ(failure([&] { f.packer.Advise(); }),
            "Packer advise : can not get the size of : " + f.in);
}

TEST(PackerFailures, OutputThatCannotBeCreated) {
  FilePacker f;
  f.input(bytes("data"));
  f.packer.OutputFile = f.dir.file("no/such/folder/out");
  EXPECT_EQ(failure([&] { f.packer.Compress(); }),
            "Packer (de)compression : Failed to open output file : " + f.packer.OutputFile);
}

TEST(PackerFailures, BadMagicLeavesNoOutput) {
  FilePacker f;
  f.input(bytes("!XZL\x03\0\0\0abc"));
  EXPECT_EQ(failure([&] { f.packer.Decompress(); }),
            f.in + " : Packer decompression : this file has no valid header !");
  EXPECT_FALSE(std::filesystem::exists(f.out));
  f.input({});
  EXPECT_EQ(failure([&] { f.packer.Decompress(); }),
            "Packer : Error reading from input file : " + f.in);
  EXPECT_FALSE(std::filesystem::exists(f.out));
}

TEST(PackerFailures, TruncatedFastFile) {
  FilePacker f;
  Bytes packed = codec::packBytes(patterned<Bytes>(2, 70000, 4), TCompressMode::Fast);
  f.input(Bytes(packed.begin(), packed.begin() + 5000));
  EXPECT_EQ(failure([&] { f.packer.Decompress(); }),
            "Packer : Error reading from input file : " + f.in);
  EXPECT_FALSE(std::filesystem::exists(f.out));
  // A clean body that restores fewer bytes than the header promises.
  Bytes longer = packed;
  longer[4] = 0x71;  // 70,001 in place of 70,000
  f.input(longer);
  EXPECT_EQ(failure([&] { f.packer.Decompress(); }),
            "Packer (decompression LZB) : Original and compressed sizes do not match !");
  EXPECT_FALSE(std::filesystem::exists(f.out));
}

TEST(PackerFailures, TruncatedGoodFileIsASizeError) {
  FilePacker f;
  Bytes packed = codec::packBytes(patterned<Bytes>(2, 70000, 4));
  for (std::size_t cut : {packed.size() - 1, packed.size() / 2, std::size_t(9)}) {
    f.input(Bytes(packed.begin(), packed.begin() + std::ptrdiff_t(cut)));
    EXPECT_EQ(failure([&] { f.packer.Decompress(); }),
              "Packer (LZH decompression) : Original and compressed sizes do not match !")
        << "cut at " << cut;
    EXPECT_FALSE(std::filesystem::exists(f.out));
  }
}

TEST(PackerFailures, DamagedFastBlocksAreSizeErrors) {
  const std::string sizeError =
      "Packer (decompression LZB) : Original and compressed sizes do not match !";
  // A copy reaching before the block's start.
  Bytes early{'!', 'B', 'Z', 'L', 5, 0, 0, 0, 5, 0, 0x40, 0x80, 0x00, 0x00, 0x52};
  EXPECT_EQ(failure([&] { codec::unpackBytes(early); }), sizeError);
  // A block length beyond any block the coder writes.
  Bytes huge{'!', 'B', 'Z', 'L', 5, 0, 0, 0, 0xFF, 0xFF};
  huge.resize(huge.size() + 0xFFFF, 0x80);
  huge[10] = 0x80;
  EXPECT_EQ(failure([&] { codec::unpackBytes(huge); }), sizeError);
}

TEST(PackerFailures, SameFileInAndOutIsRefusedAndKept) {
  FilePacker f;
  Bytes data = patterned<Bytes>(2, 1000, 1);
  f.input(data);
  f.packer.OutputFile = f.in;
  EXPECT_EQ(failure([&] { f.packer.Compress(); }),
            "Packer (de)compression : Input and output are the same file : " + f.in);
  EXPECT_EQ(bytes(ScratchDir::read(f.in)), data);
}

TEST(PackerFailures, InputTooLargeForTheSizeField) {
  FilePacker f;
  f.input({});
  std::filesystem::resize_file(f.in, std::uintmax_t(1) << 31);  // sparse
  EXPECT_EQ(failure([&] { f.packer.Compress(); }),
            "Packer compression : The input file is too large : " + f.in);
  EXPECT_FALSE(std::filesystem::exists(f.out));
}

TEST(PackerStreams, MissingStreamsAndUnknownSizes) {
  TPacker packer;
  packer.UseStream = true;
  EXPECT_EQ(failure([&] { packer.Compress(); }),
            "Packer compression : Failed to obtain the size of the input stream !");
  EXPECT_EQ(failure([&] { packer.Decompress(); }),
            "Packer (de)compression : Failed to initialize input stream !");
  codec::TMemoryStream in;
  packer.InputStream = &in;
  EXPECT_EQ(failure([&] { packer.Decompress(); }),
            "Packer (de)compression : Failed to initialize output stream !");
  codec::TMemoryStream out;
  packer.OutputStream = &out;
  EXPECT_EQ(failure([&] { packer.Decompress(); }), "Packer : Error reading from input stream !");
  in.Write("!BZL", 4);
  in.Seek(0, codec::soBeginning);
  EXPECT_EQ(failure([&] { packer.Decompress(); }), "Packer : Error reading from input stream !");
}

// The misspelling is the component's own text, which callers may match: it stays.
TEST(PackerStreams, AdviseOnAStreamThatCannotRewindKeepsItsOwnText) {
  struct NoRewind : codec::TMemoryStream {
    std::int64_t Seek(std::int64_t, codec::TSeekOrigin) override { return -1; }
  } in;
  TPacker packer;
  packer.UseStream = true;
  packer.InputStream = &in;
  EXPECT_EQ(failure([&] { packer.Advise(); }),
            "Packer edvise : can not initialize the input stream!");
}

TEST(PackerStreams, CodingStartsWhereTheStreamsStand) {
  codec::TMemoryStream in(bytes("skipABCABCABCABC")), out;
  out.Write("head", 4);
  in.Seek(4, codec::soBeginning);
  TPacker packer;
  packer.UseStream = true;
  packer.InputStream = &in;
  packer.OutputStream = &out;
  packer.CompressMode = TCompressMode::Fast;
  // The header holds the whole stream's size though coding starts at its position.
  EXPECT_EQ(packer.Compress(), 8 + 2 + 8);
  EXPECT_EQ(Bytes(out.Bytes().begin(), out.Bytes().begin() + 12),
            (Bytes{'h', 'e', 'a', 'd', '!', 'B', 'Z', 'L', 16, 0, 0, 0}));
}

TEST(PackerCaptions, StatusWhileVisibleAndResultAtTheEnd) {
  FilePacker f;
  f.input(patterned<Bytes>(2, 70000, 8));
  std::vector<std::string> captions;
  int pauses = 0;
  f.packer.OnCaptionChange = [&](const std::string& c) { captions.push_back(c); };
  f.packer.OnProcessMessages = [&] { ++pauses; };
  f.packer.CompressMode = TCompressMode::Fast;
  f.packer.Compress();
  EXPECT_TRUE(captions.empty());  // hidden: no status line
  EXPECT_GT(pauses, 3);
  f.packer.Visible = true;
  std::int64_t written = f.packer.Compress();
  ASSERT_EQ(captions.size(), 4u);
  EXPECT_EQ(captions[0].rfind("(LZB) Bytes in : 32768 Bytes out : ", 0), 0u);
  EXPECT_EQ(captions[2].rfind("(LZB) Bytes in : 70000 Bytes out : ", 0), 0u);
  EXPECT_EQ(captions.back(), f.in + " : Packer : successfully compressed at " +
                                 std::to_string(written * 100 / 70000) + "%");
  captions.clear();
  f.packer.CompressMode = TCompressMode::Good;
  f.packer.Compress();
  EXPECT_EQ(captions.front().rfind("(LZH) Bytes in : ", 0), 0u);
}

TEST(PackerCaptions, EmptyInputPackedWhileVisible) {
  FilePacker f;
  f.input({});
  f.packer.Visible = true;
  EXPECT_EQ(f.packer.Compress(), 8 + 2);
  EXPECT_EQ(f.packer.Caption(), f.in + " : Packer : successfully compressed at 0%");
}

TEST(PackerAdvise, SmallInputsAreGood) {
  FilePacker f;
  f.input(Bytes(98303, 0));
  f.packer.CompressMode = TCompressMode::Auto;
  EXPECT_EQ(f.packer.Advise(), TCompressMode::Good);
  EXPECT_EQ(f.packer.CompressMode, TCompressMode::Good);
  EXPECT_EQ(f.packer.Caption(), "Packer recommends GOOD compression :  small file !!");
}

TEST(PackerAdvise, SamplesStartAtThirdsRoundedToBlocks) {
  // Noise everywhere but the two sampled blocks, which are empty of information.
  Bytes data = randomBytes<Bytes>(98304, 1);
  std::fill(data.begin() + 32768, data.end(), 0);
  codec::TMemoryStream in(data);
  in.Seek(1234, codec::soBeginning);
  TPacker packer;
  packer.UseStream = true;
  packer.InputStream = &in;
  packer.CompressMode = TCompressMode::Auto;
  EXPECT_EQ(packer.Advise(), TCompressMode::Fast);
  EXPECT_EQ(packer.Caption(), "Packer recommends FAST compression : 0%.");
  EXPECT_EQ(packer.CompressMode, TCompressMode::Auto);  // only small inputs change it
  EXPECT_EQ(in.Position(), 1234);
  std::fill(data.begin() + 32768, data.begin() + 65536, 1);
  std::copy_n(randomBytes<Bytes>(32768, 2).begin(), 32768, data.begin() + 32768);
  codec::TMemoryStream noisy(data);
  packer.InputStream = &noisy;
  EXPECT_EQ(packer.Advise(), TCompressMode::Good);
  EXPECT_EQ(packer.Caption(), "Packer recommends GOOD compression : 50%.");
}

TEST(PackerAdvise, ThresholdZeroNeverAnswersFast) {
  codec::TMemoryStream in(Bytes(200000, 0));
  TPacker packer;
  packer.UseStream = true;
  packer.InputStream = &in;
  packer.Threshold = 0;
  EXPECT_EQ(packer.Advise(), TCompressMode::Good);
}

TEST(PackerAdvise, AutoCompressUsesTheAdvice) {
  Bytes zeros(200000, 0);
  EXPECT_EQ(codec::packBytes(zeros, TCompressMode::Auto)[1], 'B');
  Bytes noise = randomBytes<Bytes>(200000, 3);
  EXPECT_EQ(codec::packBytes(noise, TCompressMode::Auto)[1], 'H');
}

}  // namespace
