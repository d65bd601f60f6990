// TForm2: the progress and statistics dialog that a split job shows while it runs and after.
#pragma once

#include "job/SplitJob.h"
#include "ui/Button.h"
#include "ui/Form.h"
#include "ui/GroupBox.h"
#include "ui/Label.h"
#include "widgets/GaugeBar.h"
#include "widgets/Led.h"

namespace job {

class TForm2 : public ui::Form, public ProgressView {
 public:
  // Created once at start-up, hidden; `host` is the main window whose job it shows.
  explicit TForm2(SplitJobHost& host);
  ~TForm2() override;

  // The OK button: closes the dialog, opens the destination folder if asked, resets the main
  // window's file choice and enables the main window again.
  void Button1Click();

  // Whether the dialog is shown (tracked without a display too).
  bool dialogVisible() const { return visible() != 0; }
  void hideDialog();

  // ProgressView
  void show() override;
  void setOkEnabled(bool enabled) override;
  void setProgressPosition(int position) override;
  void showProgressBar() override;
  void compressionStarted() override;
  void compressionFinished() override;
  void showStatisticsGroup() override;
  void setStatistics(const JobStatistics& stats) override;
  void jobFailed() override;

  widgets::TGaugeBar GaugeBar1;
  widgets::TLED LED1;
  ui::Label Label6;
  ui::Button Button1;
  ui::GroupBox GroupBox1;
  ui::Label Label1;
  ui::Label Label2;
  ui::Label Label3;
  ui::Label Label4;
  ui::Label Label5;

  // Whether `widget` is drawn after (so above) `below`.
  bool drawnAbove(const ui::NativeWidget& widget, const ui::NativeWidget& below) const;
  // The plain face that the compression indicator stands on while it is shown.
  const ui::NativeBox& indicatorPlate() const { return m_indicatorPlate; }

 private:
  void showDialog();
  void restLed();

  ui::NativeBox m_indicatorPlate;
  SplitJobHost& m_host;
};

}  // namespace job
