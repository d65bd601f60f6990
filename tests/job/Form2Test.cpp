// The progress dialog driven by real jobs without a display: controls, statistics texts, the
// OK button, the state kept between jobs and the way out of a failed job.
#include <gtest/gtest.h>

#include <clocale>

#include "job/FakeJobHost.h"
#include "platform/Shell.h"
#include "progress/Form2.h"
#include "support/ScratchDir.h"

using job::TForm2;
using testing_support::FakeJobHost;
using testing_support::ScratchDir;

namespace {

class Form2Test : public ::testing::Test {
 protected:
  void SetUp() override {
    std::setlocale(LC_ALL, "C");
    host.dest = dir.path();
    previousOpener =
        platform::setDocumentOpener([this](const std::string& t) { opened.push_back(t); });
  }
  void TearDown() override { platform::setDocumentOpener(previousOpener); }
  std::string run() {
    try {
      job::runSplitJob(host, form);
      return "";
    } catch (const std::exception& e) {
      return e.what();
    }
  }

  ScratchDir dir;
  FakeJobHost host;
  TForm2 form{host};
  std::vector<std::string> opened;
  platform::DocumentOpener previousOpener;
};

}  // namespace

TEST_F(Form2Test, StartsHiddenWithTheDescribedControls) {
  EXPECT_EQ(form.caption(), "Processing...");
  EXPECT_EQ(form.clientWidth(), 314);
  EXPECT_EQ(form.clientHeight(), 205);
  EXPECT_FALSE(form.dialogVisible());
  EXPECT_FALSE(form.GaugeBar1.visible());
  EXPECT_TRUE(form.GaugeBar1.Percentage());
  EXPECT_EQ(form.GaugeBar1.BarColorStyle(), widgets::cs1Color);
  EXPECT_EQ(form.GaugeBar1.x(), 24);
  EXPECT_EQ(form.GaugeBar1.y(), 144);
  EXPECT_EQ(form.LED1.y(), 400);
  EXPECT_EQ(form.LED1.Color(), widgets::Green);
  EXPECT_EQ(form.LED1.State(), widgets::LEDOff);
  EXPECT_EQ(form.LED1.BlinkInterval(), 300);
  EXPECT_FALSE(form.Button1.enabled());
  EXPECT_EQ(form.Button1.caption(), "OK");
  EXPECT_FALSE(form.GroupBox1.ui::Control::visible());
  EXPECT_EQ(form.GroupBox1.caption(), "Statistics");
  EXPECT_EQ(form.Label5.bounds().top, 96);
}

TEST_F(Form2Test, FinishedJobShowsItsStatisticsAndOkGivesTheWindowBack) {
  host.input = dir.write("data.bin", std::string(3000000, 'x'));
  ASSERT_EQ(run(), "");
  EXPECT_TRUE(form.dialogVisible());
  EXPECT_TRUE(form.GaugeBar1.visible());
  EXPECT_EQ(form.GaugeBar1.Position(), 100);
  EXPECT_TRUE(form.GroupBox1.ui::Control::visible());
  EXPECT_EQ(form.Label1.caption(), "3 files were created");
  EXPECT_EQ(form.Label2.caption(), "Output files size: 1.00 MegaBytes");
  EXPECT_EQ(form.Label3.caption(), "Total size of output files: 2.86 MegaBytes");
  EXPECT_EQ(form.Label4.caption(), "No compression performed");
  EXPECT_EQ(form.Label5.caption().rfind("Time elapsed: ", 0), 0u);
  EXPECT_TRUE(form.Button1.enabled());
  EXPECT_FALSE(host.mainWindowEnabled);

  form.Button1.onClick();  // the browse option is off: nothing is opened
  EXPECT_FALSE(form.dialogVisible());
  EXPECT_TRUE(opened.empty());
  EXPECT_EQ(host.resets, 1);
  EXPECT_TRUE(host.mainWindowEnabled);
}

TEST_F(Form2Test, OkOpensTheDestinationWhenAsked) {
  host.input = dir.write("one.bin", "abc");
  host.openDestOn = true;
  ASSERT_EQ(run(), "");
  EXPECT_EQ(form.Label1.caption(), "1 file was created");
  form.Button1Click();
  EXPECT_EQ(opened, std::vector<std::string>{dir.path()});
}

TEST_F(Form2Test, StateCarriesOverBetweenJobs) {
  host.input = dir.write("first.bin", "abc");
  ASSERT_EQ(run(), "");
  form.Button1Click();
  host.input = dir.write("empty.bin", "");
  ASSERT_EQ(run(), "");
  // The group stays visible from the first job; a job without pieces still sets the texts.
  EXPECT_TRUE(form.GroupBox1.ui::Control::visible());
  EXPECT_TRUE(form.GaugeBar1.visible());
  EXPECT_EQ(form.GaugeBar1.Position(), 0);
  EXPECT_EQ(form.Label1.caption(), "0 files were created");
}

TEST_F(Form2Test, FailedJobClosesTheDialogAndLeavesTheWindowUsable) {
  host.input = dir.file("missing.bin");
  EXPECT_EQ(run(), "File not found: \"" + host.input + "\"");
  EXPECT_FALSE(form.dialogVisible());
  EXPECT_TRUE(host.mainWindowEnabled);
  EXPECT_TRUE(host.splitButtonEnabled);  // the same input can be tried again
  EXPECT_EQ(host.resets, 0);
  EXPECT_FALSE(form.Button1.enabled());
}

// In a later job the statistics group is on view with the last job's lines: the lamp and its
// caption must stand over it on a face of their own, not under it or over its text.
TEST_F(Form2Test, CompressionIndicatorStandsOverTheStatistics) {
  form.showStatisticsGroup();
  form.show();
  form.compressionStarted();
  const ui::NativeBox& plate = form.indicatorPlate();
  EXPECT_TRUE(plate.visible());
  EXPECT_TRUE(form.drawnAbove(plate, form.GroupBox1));
  for (const ui::NativeWidget* w : {static_cast<const ui::NativeWidget*>(&form.LED1),
                                    static_cast<const ui::NativeWidget*>(&form.Label6)}) {
    EXPECT_TRUE(form.drawnAbove(*w, plate));
    EXPECT_GE(w->x(), plate.x());
    EXPECT_GE(w->y(), plate.y());
    EXPECT_LE(w->x() + w->w(), plate.x() + plate.w());
    EXPECT_LE(w->y() + w->h(), plate.y() + plate.h());
  }
  // The plate hides whole statistics lines only, and stays inside the group's frame.
  for (const ui::Label* line :
       {&form.Label1, &form.Label2, &form.Label3, &form.Label4, &form.Label5}) {
    const bool apart = line->y() + line->h() <= plate.y() || line->y() >= plate.y() + plate.h();
    const bool covered = line->y() >= plate.y() && line->y() + line->h() <= plate.y() + plate.h();
    EXPECT_TRUE(apart || covered) << line->caption();
  }
  EXPECT_GT(plate.x(), form.GroupBox1.x());
  EXPECT_LT(plate.x() + plate.w(), form.GroupBox1.x() + form.GroupBox1.w());
  form.compressionFinished();
  EXPECT_FALSE(plate.visible());
}

TEST_F(Form2Test, CompressionIndicatorComesAndGoes) {
  form.show();
  form.compressionStarted();
  EXPECT_TRUE(form.LED1.Blinking());
  EXPECT_EQ(form.LED1.y(), 80);
  EXPECT_TRUE(form.Label6.ui::Control::visible());
  EXPECT_EQ(form.Label6.caption(), "Compressing data");
  form.compressionFinished();
  EXPECT_FALSE(form.LED1.Blinking());
  EXPECT_EQ(form.LED1.y(), 400);
  EXPECT_FALSE(form.Label6.ui::Control::visible());
  EXPECT_TRUE(form.dialogVisible());
  EXPECT_TRUE(form.GaugeBar1.visible());

  form.compressionStarted();
  form.jobFailed();  // a failure while compressing puts the indicator back to rest
  EXPECT_FALSE(form.LED1.Blinking());
  EXPECT_FALSE(form.Label6.ui::Control::visible());
  EXPECT_FALSE(form.dialogVisible());
}
