// Choosing the input file with a scripted open-file dialog.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/MainWindow.h"
#include "app/Program.h"
#include "merger/MergerForm.h"
#include "platform/Paths.h"
#include "support/ScratchDir.h"
#include "ui/Dialogs.h"

namespace {

struct InputSelection : ::testing::Test {
  testing_support::ScratchDir dir;
  ui::ScriptedDialogs answers{false};
  ui::ScopedDialogs scoped{answers};
  int started = (app::initializeApplication(), 0);
  TForm1 form;

  // Chooses `path` through the "Change" button as a user would.
  void choose(const std::string& path) {
    answers.queueOpenFile(path);
    form.Button1->click();
  }
  bool compressAfterChoosing(const std::string& name) {
    std::filesystem::create_directories(std::filesystem::path(dir.file(name)).parent_path());
    choose(dir.write(name, "data"));
    return form.CheckBox1->checked();
  }
};

}  // namespace

TEST_F(InputSelection, ChoosingAFileSetsPathDestinationButtonsAndSize) {
  std::string path = dir.write("report.doc", std::string(3000000, 'x'));
  choose(path);
  EXPECT_EQ(form.FileLabel1->FileName(), path);
  EXPECT_EQ(form.FileLabel2->FileName(), dir.path() + "/");
  EXPECT_TRUE(form.Button2->enabled());
  EXPECT_TRUE(form.Button3->enabled());
  EXPECT_TRUE(form.CheckBox1->enabled());
  EXPECT_TRUE(form.CheckBox1->checked());
  EXPECT_DOUBLE_EQ(form.InputSizeBytes, 3000000);
  EXPECT_DOUBLE_EQ(form.InputSizeKB, 3000000 / 1024.0);
  EXPECT_DOUBLE_EQ(form.InputSizeMB, 3000000 / 1048576.0);
  EXPECT_EQ(form.Label1->caption(), "Input file size: 2.86 Mbytes");
  EXPECT_TRUE(answers.messages().empty());
}

TEST_F(InputSelection, MenuEntryDoesTheSameAsTheButton) {
  std::string path = dir.write("a.zip", "z");
  answers.queueOpenFile(path);
  form.Inputfile1->click();
  EXPECT_EQ(form.FileLabel1->FileName(), path);
  EXPECT_FALSE(form.CheckBox1->checked());
  EXPECT_TRUE(form.Button3->enabled());
}

// The file that the program starts on: chosen as "Change" chooses it, or, for a member of a set
// and a "Yes", its set in the merger's window (its destination the set's folder).
TEST_F(InputSelection, OpeningAFileChoosesItOrOffersToJoinItsSet) {
  const std::string notes = dir.write("notes.txt", "n");
  form.openFile(notes);
  EXPECT_EQ(form.FileLabel1->FileName(), notes);
  EXPECT_EQ(form.joinWindow(), nullptr);

  std::filesystem::create_directories(dir.file("set"));
  const std::string piece = dir.write("set/video2.frg", "p");
  form.openFile(piece);
  EXPECT_EQ(form.FileLabel1->FileName(), piece);
  EXPECT_EQ(form.joinWindow(), nullptr);

  answers.setConfirmAnswer(true);
  form.openFile(dir.file("notes.txt"));
  EXPECT_EQ(form.joinWindow(), nullptr);
  form.openFile(piece);
  ASSERT_NE(form.joinWindow(), nullptr);
  EXPECT_EQ(form.joinWindow()->FileLabel1.FileName(), dir.file("set") + "/");
  EXPECT_EQ(form.FileLabel1->FileName(), notes);  // the earlier choice stays

  answers.queueOpenFile(dir.file("set/video.bat"));
  form.Joinpieces1->click();  // no such script: no set, an error and no new window
  EXPECT_EQ(answers.errorCount(), 1);
}

TEST_F(InputSelection, CompressDefaultComparesTheTextAfterTheFirstDotExactly) {
  EXPECT_FALSE(compressAfterChoosing("photo.jpg"));
  for (const char* name : {"a.jpeg", "a.mpg", "a.mpeg", "a.zip", "a.rar", "a.arj", "a.mp3"})
    EXPECT_FALSE(compressAfterChoosing(name)) << name;
  EXPECT_TRUE(compressAfterChoosing("PHOTO.JPG"));
  EXPECT_TRUE(compressAfterChoosing("b.ZIP"));
  EXPECT_TRUE(compressAfterChoosing("archive.tar.gz"));
  EXPECT_TRUE(compressAfterChoosing("picture.jpg.bak"));
  EXPECT_TRUE(compressAfterChoosing("README"));
  EXPECT_TRUE(compressAfterChoosing("my.folder/packed.zip"));
}

TEST_F(InputSelection, CompressChangeRunsItsClickHandlerAndSwitchesTheMerger) {
  choose(dir.write("a.zip", "z"));
  EXPECT_TRUE(form.RadioButton3->enabled());
  EXPECT_TRUE(form.RadioButton3->checked());
  EXPECT_FALSE(form.RadioButton4->checked());
  choose(dir.write("b.txt", "t"));
  EXPECT_FALSE(form.RadioButton3->enabled());
  EXPECT_TRUE(form.RadioButton4->checked());
}

TEST_F(InputSelection, ReadOnlyInputKeepsItsPermissions) {
  std::string path = dir.write("locked.bin", "abc");
  platform::setReadOnly(path, true);
  choose(path);
  EXPECT_TRUE(platform::isReadOnly(path));
  EXPECT_DOUBLE_EQ(form.InputSizeBytes, 3);
  EXPECT_TRUE(answers.messages().empty());
}

TEST_F(InputSelection, SecondChoiceReplacesDestinationAndCompressOption) {
  std::filesystem::create_directories(dir.file("one"));
  std::filesystem::create_directories(dir.file("two"));
  choose(dir.write("one/a.mp3", "1"));
  form.FileLabel2->setFileName("/somewhere/else");
  form.CheckBox1->setChecked(true);
  choose(dir.write("two/b.dat", "22"));
  EXPECT_EQ(form.FileLabel2->FileName(), dir.file("two") + "/");
  EXPECT_TRUE(form.CheckBox1->checked());
  EXPECT_DOUBLE_EQ(form.InputSizeBytes, 2);
}

TEST_F(InputSelection, CancelLeavesEverythingAsItWas) {
  std::string path = dir.write("a.zip", "zz");
  choose(path);
  std::string label1 = form.Label1->caption();
  answers.queueOpenFile(std::nullopt);
  form.Button1->click();
  EXPECT_EQ(form.FileLabel1->FileName(), path);
  EXPECT_EQ(form.FileLabel2->FileName(), dir.path() + "/");
  EXPECT_FALSE(form.CheckBox1->checked());
  EXPECT_TRUE(form.Button2->enabled());
  EXPECT_EQ(form.Label1->caption(), label1);
  EXPECT_DOUBLE_EQ(form.InputSizeBytes, 2);
  // The dialog started from the previous choice.
  EXPECT_EQ(answers.openedWith().back(), path);
}

TEST_F(InputSelection, CancelOnFirstUseKeepsTheStartState) {
  form.Button1->click();
  EXPECT_EQ(form.FileLabel1->FileName(), "None");
  EXPECT_EQ(form.FileLabel2->FileName(), "???");
  EXPECT_FALSE(form.Button2->enabled());
  EXPECT_FALSE(form.Button3->enabled());
  EXPECT_FALSE(form.CheckBox1->enabled());
}

TEST_F(InputSelection, EmptyFileShowsZeroMegabytes) {
  choose(dir.write("empty.txt", ""));
  EXPECT_EQ(form.Label1->caption(), "Input file size: 0.00 Mbytes");
}

TEST_F(InputSelection, MissingFileIsReportedAndEarlierStepsKeepTheirEffect) {
  choose(dir.write("first.txt", "12345"));
  std::string missing = dir.file("sub.dir/gone.zip");
  std::filesystem::create_directories(dir.file("sub.dir"));
  choose(missing);
  ASSERT_EQ(answers.messages().size(), 1u);
  EXPECT_EQ(answers.messages()[0].caption, "Fennock! 1.0");
  EXPECT_EQ(answers.messages()[0].text, "File not found: \"" + missing + "\".");
  EXPECT_EQ(form.FileLabel1->FileName(), missing);
  EXPECT_EQ(form.FileLabel2->FileName(), dir.file("sub.dir") + "/");
  EXPECT_TRUE(form.Button3->enabled());
  EXPECT_DOUBLE_EQ(form.InputSizeBytes, 5);  // the sizes keep the previous file's values
}

TEST_F(InputSelection, HandlerErrorIsShownWithThePeriodAndTheWindowStaysUsable) {
  form.NumEdit1->setText("1");
  form.NumEdit1->onChange = [] {
    throw std::runtime_error("'1-' is not a valid floating point value");
  };
  form.NumEdit1->type("-");  // a minus after one character passes the key filter
  ASSERT_EQ(answers.messages().size(), 1u);
  EXPECT_EQ(answers.messages()[0].kind, ui::MessageKind::Error);
  EXPECT_EQ(answers.messages()[0].caption, "Fennock! 1.0");
  EXPECT_EQ(answers.messages()[0].text, "'1-' is not a valid floating point value.");
  EXPECT_EQ(form.NumEdit1->text(), "1-");
  EXPECT_TRUE(form.enabled());
}
