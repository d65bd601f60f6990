// The live estimate, the numeric fields, the path labels and the destination folder of the
// main window, driven without a display.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/MainWindow.h"
#include "app/Program.h"
#include "support/ScopedLocale.h"
#include "support/ScratchDir.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/Events.h"

namespace {

constexpr std::int64_t kWorkedExampleBytes = 3000000;  // 2.861 Mbytes

struct Estimate : ::testing::Test {
  Estimate() { ui::Application::instance().setTitle(kApplicationTitle); }

  // Chooses a (sparse) input of `bytes` with the input group's "Change" button.
  std::string choose(std::int64_t bytes, const std::string& name = "input.dat") {
    std::string path = scratch.file(name);
    { std::ofstream create(path); }
    std::filesystem::resize_file(path, std::uintmax_t(bytes));
    answers.queueOpenFile(path);
    form.Button1->click();
    return path;
  }
  // Runs `action` as one user event: an error ends it and is shown by the default handler.
  void user(const std::function<void()>& action) { ui::runEvent(action); }
  void setSize(const std::string& text) {
    user([&] { form.NumEdit1->setText(text); });
  }
  void setCount(const std::string& text) {
    user([&] { form.NumEdit2->setText(text); });
  }
  void compression(bool on) {
    if (form.CheckBox1->checked() != on) form.CheckBox1->click();
  }
  std::string label1() const { return form.Label1->caption(); }
  std::string label2() const { return form.Label2->caption(); }
  std::string label3() const { return form.Label3->caption(); }
  std::vector<std::string> errors() const {
    std::vector<std::string> texts;
    for (const auto& shown : answers.messages())
      if (shown.kind == ui::MessageKind::Error) texts.push_back(shown.caption + ": " + shown.text);
    return texts;
  }

  ui::ScriptedDialogs answers{false};
  ui::ScopedDialogs scoped{answers};
  testing_support::ScratchDir scratch;
  TForm1 form;
};

using EstimateSizeMode = Estimate;
using EstimateCountMode = Estimate;
using EstimateErrors = Estimate;
using Destination = Estimate;
using PathLabels = Estimate;

}  // namespace

TEST_F(Estimate, StartUpLabelsComeFromFormCreate) {
  EXPECT_EQ(label1(), "Input file size: ???");
  // NumEdit1Change ran before a unit was selected: the unit part is empty.
  EXPECT_EQ(label2(), "Output files size: 1.38 ");
  EXPECT_EQ(label3(), "Number of output files: ???");
  EXPECT_EQ(form.ComboBox1->text(), "Mbytes");
  EXPECT_EQ(form.NumEdit1->text(), "1.38");
}

TEST_F(Estimate, WorkedExample) {
  choose(kWorkedExampleBytes);
  EXPECT_EQ(label1(), "Input file size: 2.86 Mbytes");
  compression(false);
  setSize("3");
  EXPECT_EQ(label3(), "Number of output files: 1");
  setSize("1.38");
  EXPECT_EQ(label2(), "Output files size: 1.38 Mbytes");
  EXPECT_EQ(label3(), "Number of output files: 2.07");
  // A zero-length input.
  choose(0, "empty.dat");
  EXPECT_EQ(label1(), "Input file size: 0.00 Mbytes");
}

TEST_F(EstimateSizeMode, CompressionOnShowsUnknownCountAfterEveryHandler) {
  choose(kWorkedExampleBytes);
  ASSERT_TRUE(form.CheckBox1->checked());
  auto expectUnknown = [&](const char* step) {
    EXPECT_EQ(label3(), "Number of output files: ???") << step;
    form.Label3->setCaption("stale");
  };
  form.Label3->setCaption("stale");
  setSize("2");
  expectUnknown("NumEdit1Change");
  form.ComboBox1->pick(1);
  expectUnknown("ComboBox1Change");
  form.RadioButton2->click();
  form.RadioButton1->click();
  expectUnknown("RadioButton1Click");
  compression(false);
  compression(true);
  expectUnknown("CheckBox1Click");
  choose(kWorkedExampleBytes, "other.dat");
  expectUnknown("file choice");
  EXPECT_TRUE(errors().empty());
}

TEST_F(EstimateCountMode, CompressionOnShowsUnknownSizeAfterEveryHandler) {
  choose(kWorkedExampleBytes);
  auto expectUnknown = [&](const char* step) {
    EXPECT_EQ(label2(), "Output files size: ??? MegaBytes") << step;
    form.Label2->setCaption("stale");
  };
  form.RadioButton2->click();
  expectUnknown("RadioButton2Click");
  setCount("4");
  expectUnknown("NumEdit2Change");
  EXPECT_EQ(label3(), "Number of output files: 4");
  compression(false);
  compression(true);
  expectUnknown("CheckBox1Click");
  choose(kWorkedExampleBytes, "other.dat");
  expectUnknown("file choice");
}

TEST_F(EstimateCountMode, SizePerPieceIsAlwaysInMegabytes) {
  choose(kWorkedExampleBytes);
  compression(false);
  form.ComboBox1->pick(0);  // bytes: not used in count mode
  form.RadioButton2->click();
  EXPECT_FALSE(form.NumEdit1->enabled());
  EXPECT_FALSE(form.ComboBox1->enabled());
  EXPECT_TRUE(form.NumEdit2->enabled());
  setCount("4");  // 3000000 / 4 bytes = 0.715 Mbytes
  EXPECT_EQ(label2(), "Output files size: 0.72 MegaBytes");
  EXPECT_EQ(label3(), "Number of output files: 4");
  // The file choice keeps Label3 and writes Label2 with the new size.
  form.Label3->setCaption("kept");
  choose(1048576 * 8, "big.zip");  // compression stays off for a .zip name
  EXPECT_EQ(label2(), "Output files size: 2.00 MegaBytes");
  EXPECT_EQ(label3(), "kept");
}

TEST_F(EstimateCountMode, EmptyOrZeroCountGivesUnknownSize) {
  choose(kWorkedExampleBytes);
  compression(false);
  form.RadioButton2->click();
  for (const std::string count : {"", "0"}) {
    setCount("7");
    setCount(count);
    EXPECT_EQ(label2(), "Output files size: ??? MegaBytes") << "NumEdit2Change " << count;
    EXPECT_EQ(label3(), "Number of output files: " + count);
    form.RadioButton1->click();
    form.RadioButton2->click();
    EXPECT_EQ(label2(), "Output files size: ??? MegaBytes") << "RadioButton2Click " << count;
    EXPECT_EQ(label3(), "Number of output files: " + count);
    compression(true);
    compression(false);
    EXPECT_EQ(label2(), "Output files size: ??? MegaBytes") << "CheckBox1Click " << count;
    EXPECT_EQ(label3(), "Number of output files: " + count);
  }
  EXPECT_TRUE(errors().empty());
}

TEST_F(EstimateCountMode, RadioButton2NeedsAChosenFile) {
  form.CheckBox1->setChecked(false);  // by program: the box is disabled until a file is chosen
  setCount("4");
  form.RadioButton2->click();
  EXPECT_EQ(label2(), "Output files size: ??? MegaBytes");
  // NumEdit2Change has no file test: 0 bytes over 4 pieces.
  setCount("2");
  EXPECT_EQ(label2(), "Output files size: 0.00 MegaBytes");
}

TEST_F(EstimateSizeMode, LargerPieceThanInputOnlyNumEdit1ChangeSaysOne) {
  choose(1000);
  compression(false);
  form.ComboBox1->pick(0);  // bytes
  setSize("2000");
  EXPECT_EQ(label3(), "Number of output files: 1");
  form.RadioButton2->click();
  form.RadioButton1->click();
  EXPECT_EQ(label3(), "Number of output files: 0.50");
  form.Label3->setCaption("stale");
  choose(1000, "second.zip");  // compression stays off for a .zip name
  EXPECT_EQ(label3(), "Number of output files: 0.50");
}

TEST_F(EstimateSizeMode, PieceEqualToInputIsOneFile) {
  choose(2048);
  compression(false);
  form.ComboBox1->pick(1);  // 2 Kbytes
  setSize("2");
  EXPECT_EQ(label3(), "Number of output files: 1");
  form.Label3->setCaption("stale");
  form.ComboBox1->pick(1);
  EXPECT_EQ(label3(), "Number of output files: 1");
  // CheckBox1Click: one file, so Label2 is left as it was.
  compression(true);
  form.Label2->setCaption("kept");
  compression(false);
  EXPECT_EQ(label3(), "Number of output files: 1");
  EXPECT_EQ(label2(), "kept");
}

TEST_F(EstimateSizeMode, ThreeFormsOfTheSizeLabel) {
  choose(kWorkedExampleBytes);
  compression(false);
  setSize("1.5");
  EXPECT_EQ(label2(), "Output files size: 1.5 Mbytes");
  EXPECT_EQ(label3(), "Number of output files: 1.91");
  form.RadioButton2->click();
  form.RadioButton1->click();
  EXPECT_EQ(label2(), "Output files size: 1.50Mbytes");
  EXPECT_TRUE(form.NumEdit1->enabled());
  EXPECT_FALSE(form.NumEdit2->enabled());
  compression(true);
  compression(false);
  EXPECT_EQ(label2(), "Output files size: 1.5Mbytes");
  // An empty field is formatted as 0 by RadioButton1Click.
  setSize("");
  form.RadioButton2->click();
  form.RadioButton1->click();
  EXPECT_EQ(label2(), "Output files size: 0.00Mbytes");
  EXPECT_EQ(label3(), "Number of output files: ");
}

TEST_F(EstimateSizeMode, NegativeSizeGivesNegativeQuotientNeverOne) {
  choose(kWorkedExampleBytes);
  compression(false);
  setSize("-1.38");
  EXPECT_EQ(label3(), "Number of output files: -2.07");
  compression(true);
  compression(false);
  EXPECT_EQ(label3(), "Number of output files: -2.07");
  EXPECT_EQ(label2(), "Output files size: -1.38Mbytes");
}

TEST_F(EstimateSizeMode, UnitChangeWithEmptyFieldKeepsTheCount) {
  choose(kWorkedExampleBytes);
  compression(false);
  setSize("");
  form.Label3->setCaption("Number of output files: 9.99");
  form.ComboBox1->pick(0);
  EXPECT_EQ(label3(), "Number of output files: 9.99");
  EXPECT_EQ(label2(), "Output files size:  bytes");
  EXPECT_TRUE(errors().empty());
}

TEST_F(Estimate, CompressSwitchesTheMergerChoice) {
  choose(kWorkedExampleBytes);
  compression(false);
  EXPECT_TRUE(form.RadioButton3->enabled());
  EXPECT_TRUE(form.RadioButton3->checked());
  compression(true);
  EXPECT_TRUE(form.RadioButton4->checked());
  EXPECT_FALSE(form.RadioButton3->enabled());
  // A file named as compressed data switches compression off by itself.
  choose(100, "photo.jpg");
  EXPECT_TRUE(form.RadioButton3->checked());
}

TEST(EstimateLocale, CommaLocaleFormatsAndReadsWithComma) {
  testing_support::ScopedLocale german("de_DE.UTF-8");
  if (!german.ok()) GTEST_SKIP() << "de_DE.UTF-8 is not generated";
  ui::ScriptedDialogs answers(false);
  ui::ScopedDialogs scoped(answers);
  testing_support::ScratchDir scratch;
  TForm1 form;
  EXPECT_EQ(form.NumEdit1->text(), "1,38");
  std::string path = scratch.file("input.dat");
  { std::ofstream create(path); }
  std::filesystem::resize_file(path, kWorkedExampleBytes);
  answers.queueOpenFile(path);
  form.Button1->click();
  EXPECT_EQ(form.Label1->caption(), "Input file size: 2,86 Mbytes");
  form.CheckBox1->click();
  form.NumEdit1->type(
      "\x1b"
      "1.38");  // the typed "." is stored as ","
  EXPECT_EQ(form.NumEdit1->text(), "1,38");
  EXPECT_EQ(form.Label3->caption(), "Number of output files: 2,07");
  EXPECT_EQ(answers.errorCount(), 0);
}

TEST_F(EstimateErrors, SizeThatIsNoNumberStopsTheHandlerWhereItIsRead) {
  choose(kWorkedExampleBytes);
  compression(false);
  setSize("2");
  ASSERT_EQ(label3(), "Number of output files: 1.43");
  // Typed as a user would: the minus sign is accepted after the single digit.
  form.NumEdit1->type(
      "\x1b"
      "5-");
  EXPECT_EQ(form.NumEdit1->text(), "5-");
  EXPECT_EQ(label2(), "Output files size: 5- Mbytes");  // written before the conversion
  EXPECT_EQ(label3(), "Number of output files: 1");     // from "5", the last good text
  ASSERT_EQ(errors().size(), 1u);
  EXPECT_EQ(errors()[0], "Fennock! 1.0: '5-' is not a valid floating point value.");

  // RadioButton1Click switches the fields before the conversion fails.
  form.RadioButton2->click();
  EXPECT_EQ(errors().size(), 1u);  // count mode does not read the size
  form.Label2->setCaption("kept");
  form.RadioButton1->click();
  EXPECT_TRUE(form.NumEdit1->enabled());
  EXPECT_FALSE(form.NumEdit2->enabled());
  EXPECT_EQ(label2(), "kept");
  ASSERT_EQ(errors().size(), 2u);

  // The window stays usable: a lone minus sign fails the same way, a number works again.
  setSize("-");
  EXPECT_EQ(errors().back(), "Fennock! 1.0: '-' is not a valid floating point value.");
  setSize("2");
  EXPECT_EQ(label3(), "Number of output files: 1.43");
  EXPECT_EQ(errors().size(), 3u);
}

TEST_F(EstimateErrors, CountThatIsNoNumberLeavesBothLabels) {
  choose(kWorkedExampleBytes);
  compression(false);
  form.RadioButton2->click();
  form.Label2->setCaption("kept 2");
  form.Label3->setCaption("kept 3");
  setCount("4x");
  EXPECT_EQ(label2(), "kept 2");
  EXPECT_EQ(label3(), "kept 3");
  ASSERT_EQ(errors().size(), 1u);
  EXPECT_EQ(errors()[0], "Fennock! 1.0: '4x' is not a valid floating point value.");
  // With compression on the count is not read at all.
  compression(true);
  EXPECT_EQ(errors().size(), 1u);
  EXPECT_EQ(label3(), "Number of output files: 4x");
}

TEST(EstimateTerminal, SizeAndCountOptionsFailWithTheWindowsTexts) {
  testing_support::ScratchDir scratch;
  std::string input = scratch.write("input.dat", std::string(5000, 'x'));
  struct Case {
    std::vector<std::string> args;
    std::string error;
  };
  const std::vector<Case> cases = {
      {{input, "--no-compress", "--size", "5-"},
       "Fennock! 1.0: '5-' is not a valid floating point value."},
      {{input, "--no-compress", "--unit", "Kbytes", "--size", "1,5"},
       "Fennock! 1.0: '1,5' is not a valid floating point value."},
      {{input, "--no-compress", "--count", "two"},
       "Fennock! 1.0: 'two' is not a valid integer value."},
  };
  for (const Case& c : cases) {
    testing::internal::CaptureStderr();
    int status = app::runSplitCommand(c.args, stdout);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, 1) << c.error;
    EXPECT_NE(err.find(c.error), std::string::npos) << err;
  }
  // Nothing was written beside the input.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.path()), {}), 1);
}

TEST_F(Destination, PickedFolderReplacesTheDestinationCancelKeepsIt) {
  const std::string input = choose(100);
  EXPECT_EQ(form.FileLabel2->FileName(), scratch.path() + "/");
  form.Button2->click();  // nothing queued: cancelled, also on first use
  EXPECT_EQ(form.FileLabel2->FileName(), scratch.path() + "/");
  EXPECT_EQ(answers.openedWith().back(), "");  // nothing preselected the first time

  testing_support::ScratchDir picked;
  answers.queueFolder(picked.path());
  form.Button2->click();
  EXPECT_EQ(form.FileLabel2->FileName(), picked.path());

  // A new input resets the destination; the picker still preselects the picked folder.
  answers.queueOpenFile(input);
  form.Button1->click();
  EXPECT_EQ(form.FileLabel2->FileName(), scratch.path() + "/");
  form.Button2->click();
  EXPECT_EQ(answers.openedWith().back(), picked.path());
  EXPECT_EQ(form.FileLabel2->FileName(), scratch.path() + "/");

  answers.queueFolder("/");
  form.Button2->click();
  EXPECT_EQ(form.FileLabel2->FileName(), "/");
  answers.queueFolder(picked.path() + "/");
  form.Button2->click();
  EXPECT_EQ(form.FileLabel2->FileName(), picked.path());
}

TEST_F(PathLabels, LongInputPathIsShownShortenedAndKeptWhole) {
  // The fixed measure is 6 pixels a character: 241 pixels hold 40 characters.
  const std::string folder = "a-rather-long-folder/with-a-subfolder/and-one-more";
  std::filesystem::create_directories(scratch.file(folder));
  const std::string path = choose(100, folder + "/the-input.dat");
  EXPECT_EQ(form.FileLabel1->FileName(), path);
  const std::string shown = form.FileLabel1->caption();
  EXPECT_TRUE(shown.starts_with("/.../")) << shown;
  EXPECT_TRUE(shown.ends_with("/and-one-more/the-input.dat")) << shown;
  EXPECT_LE(int(shown.size()) * 6, 241) << shown;
  EXPECT_EQ(form.FileLabel2->FileName(), scratch.file(folder) + "/");
  EXPECT_TRUE(form.FileLabel2->caption().ends_with("/and-one-more/")) << form.FileLabel2->caption();
  // The split job reads the full path.
  EXPECT_EQ(form.inputPath(), path);
}
