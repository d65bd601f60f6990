// The terminal's view of the split job: what the progress dialog shows, as lines of text.
#pragma once

#include <array>
#include <cstdio>
#include <string>

#include "job/SplitJob.h"

class TForm1;

namespace app {

// Prints "Compressing data", one percentage line per step of the progress bar and the five
// statistics texts. The job's end acts as the dialog's OK: the destination is opened if asked,
// the file choice is reset and the window given back.
class TerminalProgressView : public job::ProgressView {
 public:
  TerminalProgressView(TForm1& form, std::FILE* out) : m_form(form), m_out(out) {}

  void show() override {}
  void setOkEnabled(bool enabled) override;
  void setProgressPosition(int position) override;
  void showProgressBar() override {}
  void compressionStarted() override;
  void compressionFinished() override {}
  void showStatisticsGroup() override {}
  void setStatistics(const job::JobStatistics& stats) override;
  void jobFailed() override {}

 private:
  TForm1& m_form;
  std::FILE* m_out;
  int m_position = 0;
  std::array<std::string, 5> m_texts;
};

}  // namespace app
