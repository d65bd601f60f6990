// TPacker: packs files and streams into the packed-file format with LZH or LZB and back.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "codec/Lzb.h"
#include "codec/Lzh.h"
#include "codec/Stream.h"

namespace codec {

enum class TCompressMode : std::uint8_t { Good = 0, Fast = 1, Auto = 2 };

class EPackerException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The component knows no toolkit: its caption goes to an observer that the application binds
// to a label (and repaints at once), and its pauses for pending window messages go to a hook.
class TPacker {
 public:
  // The caption shown while the window holding the component is being designed.
  static constexpr const char* kDesignCaption = "LZB/LZH Compressor / Decompressor";

  TPacker();
  ~TPacker();
  TPacker(const TPacker&) = delete;
  TPacker& operator=(const TPacker&) = delete;

  std::string InputFile;
  std::string OutputFile;
  TCompressMode CompressMode = TCompressMode::Good;
  bool UseStream = false;
  TStream* InputStream = nullptr;   // not owned
  TStream* OutputStream = nullptr;  // not owned
  std::int32_t Threshold = 40;      // percent; see Advise
  bool Visible = false;             // progress and results go to the caption only when true

  // Packs the input; returns the bytes written, header included.
  std::int64_t Compress();
  // Unpacks with the codec that the input's magic names; returns the bytes restored.
  std::int64_t Decompress();
  // Samples the input with the fast coder and recommends Good or Fast; writes no output.
  TCompressMode Advise();

  const std::string& Caption() const { return m_caption; }
  void SetCaption(const std::string& caption);

  std::function<void(const std::string&)> OnCaptionChange;
  std::function<void()> OnProcessMessages;

 private:
  struct Call;
  void compressBody(Call& call, TCompressMode mode);
  void decompressBody(Call& call);
  void writeChecked(Call& call, const std::uint8_t* data, std::int32_t count);
  void readChecked(Call& call, std::uint8_t* data, std::int32_t count);
  TByteIOProc lzhReader(Call& call);
  TByteIOProc lzhWriter(Call& call);
  void flushLzh(Call& call);
  void showStatus(const char* codec, const Call& call);
  void showResult(const char* verb, const Call& call);
  static void closeFiles(Call& call);
  void processMessages();

  std::string m_caption;
  std::unique_ptr<TLZH> m_lzh;
  std::unique_ptr<TLZB> m_lzb;
};

}  // namespace codec
