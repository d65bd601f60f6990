// The main window TForm1: every job setting is the state of one of its controls. Its handlers
// live in several files (input selection, split button, estimate, destination, help menu).
#pragma once

#include <memory>
#include <string>

#include "app/Program.h"
#include "job/Chrono.h"
#include "job/MergerSystem.h"
#include "job/SplitJob.h"
#include "store/FileSource.h"
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/Form.h"
#include "ui/GroupBox.h"
#include "ui/Label.h"
#include "ui/MainMenu.h"
#include "ui/OpenDialog.h"
#include "ui/RadioButton.h"
#include "widgets/BrowseFolder.h"
#include "widgets/FileLabel.h"
#include "widgets/NumEdit.h"

namespace merger {
class TForm1;
}

class TForm1 : public ui::Form, public job::SplitJobHost {
 public:
  TForm1();
  ~TForm1() override;

  // Controls. Each is owned by its parent widget and freed with the form.
  ui::MainMenu* MainMenu1;
  ui::MenuItem* File1;
  ui::MenuItem* Inputfile1;
  ui::MenuItem* Joinpieces1;
  ui::MenuItem* Exit1;
  ui::MenuItem* Options1;
  ui::MenuItem* Checksumfile1;
  ui::MenuItem* Shellmerger1;
  ui::MenuItem* Mergerforwindows1;
  ui::MenuItem* Mergerforlinux1;
  ui::MenuItem* Help1;
  ui::MenuItem* License1;
  ui::MenuItem* Help2;
  ui::MenuItem* Support1;
  ui::MenuItem* AbouFennock1;
  ui::MenuItem* Exit2;

  ui::GroupBox* GroupBox1;
  ui::Label* Label4;
  widgets::TFileLabel* FileLabel1;
  ui::Button* Button1;
  ui::Label* Label5;
  widgets::TFileLabel* FileLabel2;
  ui::Button* Button2;

  ui::GroupBox* GroupBox2;
  ui::RadioButton* RadioButton1;
  ui::RadioButton* RadioButton2;
  widgets::TNumEdit* NumEdit1;
  ui::ComboBox* ComboBox1;
  widgets::TNumEdit* NumEdit2;

  ui::GroupBox* GroupBox3;
  ui::CheckBox* CheckBox1;
  ui::CheckBox* CheckBox2;
  ui::CheckBox* CheckBox3;

  ui::GroupBox* GroupBox5;
  ui::RadioButton* RadioButton3;
  ui::RadioButton* RadioButton4;

  ui::GroupBox* GroupBox4;
  ui::Label* Label1;
  ui::Label* Label2;
  ui::Label* Label3;

  ui::Button* Button3;

  // Non-visual components.
  ui::OpenDialog OpenDialog1;
  ui::OpenDialog OpenDialog2;  // a member of the set to join
  widgets::TBrowseFolder BrowseFolder1;
  job::TChrono Chrono1;
  // The job's payloads (archiver library, unarchiver library, merger program), loaded from the
  // window's description: each writes its temporary file at start-up and deletes it at exit.
  store::TFileSource PackLib{"PackLib"};
  store::TFileSource UnpackLib{"UnpackLib"};
  store::TFileSource SFX{"SFX"};
  // The Windows merger and its unarchiver library, in a build that carries them (else empty).
  store::TFileSource WindowsUnpackLib{"WindowsUnpackLib"};
  store::TFileSource WindowsSFX{"WindowsSFX"};

  // The input's length, set by each file choice; read by the estimate.
  double InputSizeBytes = 0;
  double InputSizeKB = 0;
  double InputSizeMB = 0;

  // Handlers.
  void FormCreate();
  void Button1Click();
  void Inputfile1Click();
  void Joinpieces1Click();
  void Button2Click();
  void Button3Click();
  void NumEdit1Change();
  void NumEdit2Change();
  void ComboBox1Change();
  void RadioButton1Click();
  void RadioButton2Click();
  void CheckBox1Click();
  void Exit1Click();
  void Exit2Click();
  void Checksumfile1Click();
  void Shellmerger1Click();
  void Mergerforwindows1Click();
  void Mergerforlinux1Click();
  void License1Click();
  void Help2Click();
  void Support1Click();
  void AbouFennock1Click();

  // The file that the program was started on: chosen as the input as "Change" chooses it, or,
  // when it belongs to a set and the user says so, that set in the merger's window.
  void openFile(const std::string& path);
  // The merger's window, shown beside this one, for the set that `member` belongs to.
  void openJoinWindow(const std::string& member);
  merger::TForm1* joinWindow() const { return m_joinForm.get(); }

  // The labels after a file choice (the estimate's file-choice rules).
  void refreshEstimateAfterFileChoice();

  // Where Button3Click shows the job: the progress dialog, or the terminal's progress lines.
  void setProgressView(job::ProgressView* view) { m_progressView = view; }

  // The split job's host: it reads the controls above directly.
  std::string inputPath() const override;
  std::string destFolder() const override;
  bool countMode() const override;
  std::string sizeText() const override;
  int unitIndex() const override;
  std::string countText() const override;
  bool compress() const override;
  bool deleteInput() const override;
  bool openDestination() const override;
  bool exeMerger() const override;
  // The Options menu's check entries: whether the job also writes BaseName.sh and
  // BaseName.sha256. Set from the saved settings as the window starts; setting them by program
  // saves nothing.
  bool shMerger() const override { return Shellmerger1->checked(); }
  void setShMerger(bool on) { Shellmerger1->setChecked(on); }
  bool checksums() const override { return Checksumfile1->checked(); }
  void setChecksums(bool on) { Checksumfile1->setChecked(on); }
  // The Options menu's radio entries: the system that the .EXE merger is made for. Setting it by
  // program saves nothing; a system whose merger this build lacks is refused with the reason.
  job::MergerSystem mergerFor() const;
  void setMergerFor(job::MergerSystem system);
  // Whether this build carries the merger for `system`.
  static bool hasMerger(job::MergerSystem system);
  void disableSplitButton() override;
  void setMainWindowEnabled(bool enabled) override;
  void resetFileChoice() override;
  job::TChrono& chrono() override { return Chrono1; }
  std::string mergerImageStorePath() const override;
  std::string unpackLibStorePath() const override;
  std::string packLibStorePath() const override;
  job::ExeMergerSupport& exeMergerSupport() override;
  job::CompressionStage& compressionStage() override;

 private:
  void chooseInputFile();
  void loadOptions();
  void saveOptions();
  void chooseInputFile(const std::string& path);

  job::ProgressView* m_progressView = nullptr;
  std::unique_ptr<job::ExeMergerSupport> m_exeMergerSupport[2];  // by job::MergerSystem
  std::unique_ptr<job::CompressionStage> m_compressionStage;     // Zip and Packer1 inside
  std::unique_ptr<merger::TForm1> m_joinForm;
};
