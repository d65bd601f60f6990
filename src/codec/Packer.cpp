// TPacker: packs files and streams into the packed-file format with LZH or LZB and back.
#include "codec/Packer.h"

#include <limits>
#include <new>
#include <vector>

#include "codec/PackedFormat.h"
#include "platform/IoError.h"
#include "platform/Paths.h"

namespace codec {
namespace {

const char* const kMemoryError = "Packer (de)compression : Failed to get memory for I/O buffers !";
const char* const kLzbSizeError =
    "Packer (decompression LZB) : Original and compressed sizes do not match !";
const char* const kLzhSizeError =
    "Packer (LZH decompression) : Original and compressed sizes do not match !";

std::int64_t percent(std::int64_t part, std::int64_t whole) {
  return whole > 0 ? part * 100 / whole : 0;
}

}  // namespace

// The state of one Compress or Decompress: buffers, the two ends and the counters.
struct TPacker::Call {
  Call(const TPacker& packer)
      : streamMode(packer.UseStream), input(packer.InputFile), output(packer.OutputFile) {}

  bool streamMode;
  std::string input, output;
  std::vector<std::uint8_t> inBuffer, outBuffer;
  std::unique_ptr<TFileStream> inFile, outFile;
  TStream* in = nullptr;
  TStream* out = nullptr;
  std::int64_t size = 0, bytesIn = 0, bytesOut = 0;

  // The LZH coder's byte callbacks are served from the buffers.
  std::int32_t readPosition = 0, readCount = 0, writeCount = 0;
  bool inputEnded = false;

  void allocate(const char* failure) {
    try {
      inBuffer.assign(kPackerBufferSize, 0);
      outBuffer.assign(kPackerBufferSize + 2, 0);
    } catch (const std::bad_alloc&) {
      throw EPackerException(failure);
    }
  }
  std::string readError() const {
    return streamMode ? "Packer : Error reading from input stream !"
                      : "Packer : Error reading from input file : " + input;
  }
  std::string bulkReadError(const char* codec) const {
    return streamMode ? std::string("Packer : Error reading from input stream ! (") + codec + ")"
                      : "Packer : Error reading from input file : " + input + " (" + codec + ")";
  }
  std::string writeError() const {
    return streamMode ? "Packer : Error writing to output stream !"
                      : "Packer : Error writing to output file : " + output;
  }
};

TPacker::TPacker() : m_lzh(std::make_unique<TLZH>()), m_lzb(std::make_unique<TLZB>()) {}
TPacker::~TPacker() = default;

void TPacker::SetCaption(const std::string& caption) {
  m_caption = caption;
  if (OnCaptionChange) OnCaptionChange(m_caption);
}

void TPacker::processMessages() {
  if (OnProcessMessages) OnProcessMessages();
}

void TPacker::showStatus(const char* codec, const Call& call) {
  if (!Visible) return;
  SetCaption(std::string("(") + codec + ") Bytes in : " + std::to_string(call.bytesIn) +
             " Bytes out : " + std::to_string(call.bytesOut));
}

namespace {

void openStreams(TPacker& packer, TStream*& in, TStream*& out) {
  if (packer.InputStream == nullptr || packer.InputStream->Seek(0, soCurrent) < 0)
    throw EPackerException("Packer (de)compression : Failed to initialize input stream !");
  if (packer.OutputStream == nullptr || packer.OutputStream->Seek(0, soCurrent) < 0)
    throw EPackerException("Packer (de)compression : Failed to initialize output stream !");
  in = packer.InputStream;
  out = packer.OutputStream;
}

std::unique_ptr<TFileStream> openInputFile(const std::string& path, const std::string& failure) {
  try {
    return std::make_unique<TFileStream>(platform::File::openRead(path));
  } catch (const platform::EInOutError&) {
    throw EPackerException(failure + path);
  }
}

// `created` tells whether the output is a new file of ours, which a failure may remove again; a
// file or device that was there before is never removed.
std::unique_ptr<TFileStream> createOutputFile(const std::string& input, const std::string& path,
                                              bool& created) {
  // Creating the output would empty an input of the same name before a byte of it was read.
  if (platform::sameFile(input, path))
    throw EPackerException("Packer (de)compression : Input and output are the same file : " + path);
  try {
    if (auto file = platform::File::createNew(path)) {
      created = true;
      return std::make_unique<TFileStream>(std::move(*file));
    }
    created = false;
    return std::make_unique<TFileStream>(platform::File::create(path));
  } catch (const platform::EInOutError&) {
    throw EPackerException("Packer (de)compression : Failed to open output file : " + path);
  }
}

// Returns whether the output file was created by this call.
bool openFiles(TPacker& packer, std::unique_ptr<TFileStream>& inFile,
               std::unique_ptr<TFileStream>& outFile) {
  inFile = openInputFile(packer.InputFile, "Packer (de)compression : Failed to open input file : ");
  bool created = false;
  outFile = createOutputFile(packer.InputFile, packer.OutputFile, created);
  return created;
}

// Runs the coding steps; a failure closes the half-written output and deletes it when this call
// created it.
template <typename Body>
void guardOutput(bool createdOutput, std::unique_ptr<TFileStream>& outFile,
                 const std::string& output, Body body) {
  try {
    body();
  } catch (...) {
    outFile.reset();
    if (createdOutput) platform::deleteFile(output);
    throw;
  }
}

}  // namespace

std::int64_t TPacker::Compress() {
  const TCompressMode mode = CompressMode == TCompressMode::Auto ? Advise() : CompressMode;
  Call call(*this);
  call.allocate(kMemoryError);
  if (UseStream) {
    call.size = InputStream != nullptr ? InputStream->Size() : -1;
    if (call.size < 0)
      throw EPackerException(
          "Packer compression : Failed to obtain the size of the input stream !");
    openStreams(*this, call.in, call.out);
  } else {
    call.size = platform::fileExists(InputFile) ? platform::fileSize(InputFile) : -1;
    if (call.size < 0)
      throw EPackerException("Packer compression : Failed to obtain the size of : " + InputFile);
  }
  // The header's size field is 32-bit signed: a larger input cannot be described.
  if (call.size > std::numeric_limits<std::int32_t>::max())
    throw EPackerException(UseStream
                               ? std::string("Packer compression : The input stream is too large !")
                               : "Packer compression : The input file is too large : " + InputFile);
  bool createdOutput = false;
  if (!UseStream) {
    createdOutput = openFiles(*this, call.inFile, call.outFile);
    call.in = call.inFile.get();
    call.out = call.outFile.get();
  }
  guardOutput(createdOutput, call.outFile, OutputFile, [&] {
    compressBody(call, mode);
    closeFiles(call);
    showResult("compressed", call);
  });
  return call.bytesOut;
}

void TPacker::showResult(const char* verb, const Call& call) {
  if (!Visible) return;
  SetCaption((call.streamMode ? std::string("Packer : inputstream successfully ") + verb + " at "
                              : call.input + " : Packer : successfully " + verb + " at ") +
             std::to_string(percent(call.bytesOut, call.bytesIn)) + "%");
}

void TPacker::closeFiles(Call& call) {
  if (call.streamMode) return;
  try {
    call.inFile->file().close();
    call.outFile->file().close();
  } catch (const platform::EInOutError&) {
    throw EPackerException(call.writeError());
  }
}

void TPacker::writeChecked(Call& call, const std::uint8_t* data, std::int32_t count) {
  if (call.out->Write(data, count) != count) throw EPackerException(call.writeError());
  processMessages();
}

void TPacker::readChecked(Call& call, std::uint8_t* data, std::int32_t count) {
  if (call.in->Read(data, count) != count) throw EPackerException(call.readError());
  processMessages();
}

// The LZH coder moves single bytes; these serve them from the 32,768-byte buffers.
TByteIOProc TPacker::lzhReader(Call& call) {
  call.readPosition = call.readCount = 0;
  call.inputEnded = false;
  return [this, &call](std::uint8_t* byte, std::uint16_t, std::uint16_t& actual) {
    if (call.readPosition == call.readCount) {
      actual = 0;
      if (call.inputEnded) return;
      std::int32_t count = call.in->Read(call.inBuffer.data(), std::int32_t(kPackerBlockSize));
      if (count < 0) throw EPackerException(call.bulkReadError("LZH"));
      processMessages();
      call.bytesIn += count;
      call.readPosition = 0;
      call.readCount = count;
      showStatus("LZH", call);
      if (count == 0) {
        call.inputEnded = true;
        return;
      }
    }
    *byte = call.inBuffer[std::size_t(call.readPosition++)];
    actual = 1;
  };
}

TByteIOProc TPacker::lzhWriter(Call& call) {
  call.writeCount = 0;
  return [this, &call](std::uint8_t* byte, std::uint16_t, std::uint16_t& actual) {
    call.outBuffer[std::size_t(call.writeCount++)] = *byte;
    actual = 1;
    if (call.writeCount == std::int32_t(kPackerBlockSize)) flushLzh(call);
  };
}

void TPacker::flushLzh(Call& call) {
  if (call.writeCount == 0) return;
  writeChecked(call, call.outBuffer.data(), call.writeCount);
  call.bytesOut += call.writeCount;
  call.writeCount = 0;
  showStatus("LZH", call);
}

void TPacker::compressBody(Call& call, TCompressMode mode) {
  auto write = [&](const std::uint8_t* data, std::int32_t count) {
    writeChecked(call, data, count);
  };
  std::uint8_t header[kPackedHeaderSize];
  writeLE32(header, mode == TCompressMode::Fast ? kMagicFast : kMagicGood);
  writeLE32(header + 4, std::uint32_t(call.size));
  write(header, kPackedHeaderSize);
  call.bytesOut = kPackedHeaderSize;
  call.bytesIn = 0;

  if (mode == TCompressMode::Fast) {
    std::int32_t count;
    do {
      count = call.in->Read(call.inBuffer.data(), std::int32_t(kPackerBlockSize));
      if (count < 0) throw EPackerException(call.bulkReadError("LZB"));
      processMessages();
      call.bytesIn += count;
      // The block goes behind its length so that both leave in one write.
      std::uint16_t m =
          m_lzb->LZBCompress(call.inBuffer.data(), call.outBuffer.data() + 2, std::uint16_t(count));
      writeLE16(call.outBuffer.data(), m);
      write(call.outBuffer.data(), m + 2);
      call.bytesOut += 2 + m;
      showStatus("LZB", call);
    } while (count == std::int32_t(kPackerBlockSize));
    return;
  }

  m_lzh->LZHEncode(lzhWriter(call), lzhReader(call));
  flushLzh(call);
}

std::int64_t TPacker::Decompress() {
  Call call(*this);
  call.allocate(kMemoryError);
  bool createdOutput = false;
  if (UseStream) {
    openStreams(*this, call.in, call.out);
  } else {
    createdOutput = openFiles(*this, call.inFile, call.outFile);
    call.in = call.inFile.get();
    call.out = call.outFile.get();
  }
  guardOutput(createdOutput, call.outFile, OutputFile, [&] {
    decompressBody(call);
    showResult("decompressed", call);
    closeFiles(call);
  });
  return call.bytesOut;
}

void TPacker::decompressBody(Call& call) {
  auto readFixed = [&](std::uint8_t* data, std::int32_t count) { readChecked(call, data, count); };
  auto write = [&](const std::uint8_t* data, std::int32_t count) {
    writeChecked(call, data, count);
  };
  std::uint8_t field[4];
  readFixed(field, 4);
  const std::uint32_t magic = readLE32(field);
  if (magic != kMagicFast && magic != kMagicGood)
    throw EPackerException(
        call.streamMode
            ? std::string("Packer decompression : input stream contains no valid header !")
            : call.input + " : Packer decompression : this file has no valid header !");
  call.bytesIn = 4;
  call.bytesOut = 0;
  readFixed(field, 4);
  call.size = std::int32_t(readLE32(field));
  call.bytesIn += 4;

  if (magic == kMagicFast) {
    std::size_t restored = kPackerBlockSize;
    while (restored == kPackerBlockSize) {
      readFixed(field, 2);
      const std::uint16_t m = readLE16(field);
      // No block that the coder writes is longer than the buffer: a longer one is damage.
      if (m > kPackerBufferSize) throw EPackerException(kLzbSizeError);
      readFixed(call.inBuffer.data(), m);
      call.bytesIn += m + 2;
      try {
        restored =
            TLZB::LZBDecompress(call.inBuffer.data(), m, call.outBuffer.data(), kPackerBlockSize);
      } catch (const ELZBDamaged&) {
        throw EPackerException(kLzbSizeError);
      }
      write(call.outBuffer.data(), std::int32_t(restored));
      call.bytesOut += std::int64_t(restored);
      // Damage that claims more than the header can never end well: stop writing now.
      if (call.bytesOut > call.size) throw EPackerException(kLzbSizeError);
      showStatus("LZB", call);
    }
    if (call.bytesOut != call.size) throw EPackerException(kLzbSizeError);
    return;
  }

  try {
    m_lzh->LZHDecode(std::int32_t(call.size), lzhWriter(call), lzhReader(call));
  } catch (const ElzhTruncated&) {
    throw EPackerException(kLzhSizeError);
  }
  flushLzh(call);
  if (call.bytesOut != call.size) throw EPackerException(kLzhSizeError);
}

TCompressMode TPacker::Advise() {
  SetCaption(UseStream ? std::string("Guessing the best compression mode for the inputstream")
                       : "Guessing the best compression mode for : " + InputFile);
  std::int64_t remembered = -1;
  if (UseStream && InputStream != nullptr) remembered = InputStream->Position();
  std::unique_ptr<TFileStream> inFile;
  TStream* in = nullptr;
  struct Restore {
    TPacker& packer;
    std::int64_t position;
    ~Restore() {
      if (packer.UseStream && packer.InputStream != nullptr && position >= 0)
        packer.InputStream->Seek(position, soBeginning);
    }
  } restore{*this, remembered};

  std::vector<std::uint8_t> inBuffer, outBuffer;
  try {
    inBuffer.assign(kPackerBufferSize, 0);
    outBuffer.assign(kPackerBufferSize, 0);
  } catch (const std::bad_alloc&) {
    throw EPackerException("Packer advise : Error getting I/O buffers");
  }
  std::int64_t size;
  if (UseStream) {
    size = InputStream != nullptr ? InputStream->Size() : -1;
    if (size < 0) throw EPackerException("Packer advise : can not get size of inputstream !");
    // "edvise" and "can open" below are the component's own texts, misspelt; callers match them.
    if (InputStream->Seek(0, soBeginning) < 0)
      throw EPackerException("Packer edvise : can not initialize the input stream!");
    in = InputStream;
  } else {
    size = platform::fileExists(InputFile) ? platform::fileSize(InputFile) : -1;
    if (size < 0) throw EPackerException("Packer advise : can not get the size of : " + InputFile);
    inFile = openInputFile(InputFile, "Packer advise : can open input file : ");
    in = inFile.get();
  }

  if (size < kAdviseMinimumSize) {
    CompressMode = TCompressMode::Good;
    SetCaption("Packer recommends GOOD compression :  small file !!");
    return TCompressMode::Good;
  }
  const std::string readError = UseStream
                                    ? std::string("Packer advise : input stream read error !")
                                    : "Packer advise : read error on input file : " + InputFile;
  std::int64_t sampled = 0, coded = 0;
  for (std::int64_t start : {size / 3, 2 * size / 3}) {
    start -= start % std::int64_t(kPackerBlockSize);
    if (in->Seek(start, soBeginning) < 0) throw EPackerException(readError);
    std::int32_t count = in->Read(inBuffer.data(), std::int32_t(kPackerBlockSize));
    if (count < 0) throw EPackerException(readError);
    processMessages();
    sampled += count;
    coded += m_lzb->LZBCompress(inBuffer.data(), outBuffer.data(), std::uint16_t(count));
  }
  const bool fast = coded < sampled * Threshold / 100;
  SetCaption(std::string(fast ? "Packer recommends FAST compression : "
                              : "Packer recommends GOOD compression : ") +
             std::to_string(percent(coded, sampled)) + "%.");
  return fast ? TCompressMode::Fast : TCompressMode::Good;
}

}  // namespace codec
