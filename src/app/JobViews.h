// Progress views of the split job besides the progress dialog: the terminal's progress lines,
// and a message box with the statistics for windows without the dialog.
#pragma once

#include <array>
#include <cstdio>
#include <string>

#include "job/SplitJob.h"

class TForm1;

namespace app {

// What the progress dialog's OK button does once the job is done: open the destination if
// asked, reset the file choice and give the main window back.
void finishJob(TForm1& form);

// A view that presents the five statistics texts at the job's end and then acts as an
// immediate OK; it shows nothing while the job runs.
class StatisticsView : public job::ProgressView {
 public:
  explicit StatisticsView(TForm1& form) : m_form(form) {}

  void show() override {}
  void setOkEnabled(bool enabled) override;
  void setProgressPosition(int) override {}
  void showProgressBar() override {}
  void compressionStarted() override {}
  void compressionFinished() override {}
  void showStatisticsGroup() override {}
  void setStatistics(const job::JobStatistics& stats) override;
  void jobFailed() override {}

 protected:
  virtual void present(const std::array<std::string, 5>& texts) = 0;

 private:
  TForm1& m_form;
  std::array<std::string, 5> m_texts;
};

// Prints "Compressing data", one percentage line per step of the progress bar, and the texts.
class TerminalProgressView : public StatisticsView {
 public:
  TerminalProgressView(TForm1& form, std::FILE* out) : StatisticsView(form), m_out(out) {}

  void setProgressPosition(int position) override;
  void compressionStarted() override;

 protected:
  void present(const std::array<std::string, 5>& texts) override;

 private:
  std::FILE* m_out;
  int m_position = 0;
};

// FIXME: stands in for the progress dialog on screen: the statistics appear in a message box
// whose OK acts as the dialog's OK.
class StatisticsBoxView : public StatisticsView {
 public:
  using StatisticsView::StatisticsView;

 protected:
  void present(const std::array<std::string, 5>& texts) override;
};

}  // namespace app
