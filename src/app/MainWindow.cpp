// The main window's layout as its window description gives it (with the Options menu added),
// its create handler and the Exit entries.
#include "app/MainWindow.h"

#include "merger/MergerForm.h"
#include "payloads/MainWindowDescription.h"
#include "platform/Numbers.h"
#include "ui/Application.h"

namespace {

// The window description: position 191, 112; client area 458 x 309.
constexpr int kLeft = 191;
constexpr int kTop = 112;
constexpr int kClientWidth = 458;
constexpr int kClientHeight = 309;

}  // namespace

TForm1::TForm1()
    : ui::Form(kApplicationTitle, kLeft, kTop, kClientWidth, kClientHeight, /*withMenu=*/true) {
  setBorderIcons(ui::BorderIcons::SystemMenuAndMinimize);
  // Every control below is owned by the FLTK group it is placed in.
  MainMenu1 = new ui::MainMenu(*this);
  File1 = MainMenu1->add(nullptr, "File", 'F');
  Inputfile1 = MainMenu1->add(File1, "Input file", 'I');
  Joinpieces1 = MainMenu1->add(File1, "Join pieces...", 'J');
  Exit1 = MainMenu1->add(File1, "Exit", 'x');
  Options1 = MainMenu1->add(nullptr, "Options", 'O');
  Checksumfile1 = MainMenu1->addCheckItem(Options1, "Write checksum file (.sha256)", 'W');
  Shellmerger1 = MainMenu1->addCheckItem(Options1, "Also write a shell-script merger (.sh)", 'A');
  MainMenu1->addDivider(Options1);
  Mergerforwindows1 = MainMenu1->addRadioItem(Options1,
                                              hasMerger(job::MergerSystem::Windows)
                                                  ? "Merger for Windows"
                                                  : "Merger for Windows (not in this build)",
                                              'i');
  Mergerforlinux1 = MainMenu1->addRadioItem(Options1, "Merger for Linux", 'L');
  // Why the entry is grey is in its caption, and in full in the error of --merger-for windows.
  Mergerforwindows1->setEnabled(hasMerger(job::MergerSystem::Windows));
  (job::kHostMergerSystem == job::MergerSystem::Windows ? Mergerforwindows1 : Mergerforlinux1)
      ->setChecked(true);
  Help1 = MainMenu1->add(nullptr, "Help", 'H');
  License1 = MainMenu1->add(Help1, "Help index", 'H');
  Help2 = MainMenu1->add(Help1, "License", 'L');
  Support1 = MainMenu1->add(Help1, "Support", 'S');
  AbouFennock1 = MainMenu1->add(Help1, "About Fennock!", 'A');
  Exit2 = MainMenu1->add(nullptr, "Exit", 'x');

  GroupBox1 = new ui::GroupBox(*this, {8, 0, 441, 80}, "Input files", 0);
  Label4 = new ui::Label(*GroupBox1, {16, 24, 55, 13}, "File to split: ");
  FileLabel1 = new widgets::TFileLabel(*GroupBox1, {104, 24, 241, 17}, "None");
  Button1 = new ui::Button(*GroupBox1, {352, 16, 75, 25}, "Change", 0);
  Label5 = new ui::Label(*GroupBox1, {16, 48, 85, 13}, "Destination folder:");
  FileLabel2 = new widgets::TFileLabel(*GroupBox1, {104, 48, 241, 17}, "???");
  Button2 = new ui::Button(*GroupBox1, {352, 48, 75, 25}, "Change", 1);
  Button2->setEnabled(false);

  GroupBox2 = new ui::GroupBox(*this, {8, 88, 217, 81}, "Output files", 6);
  RadioButton1 = new ui::RadioButton(*GroupBox2, {8, 24, 105, 17}, "Size", true, 0);
  RadioButton2 = new ui::RadioButton(*GroupBox2, {8, 48, 105, 17}, "Number of files", false, 1);
  NumEdit1 = new widgets::TNumEdit(*GroupBox2, {112, 24, 41, 21}, "", 2);
  NumEdit1->setMaxLength(5);
  ComboBox1 = new ui::ComboBox(*GroupBox2, {152, 24, 57, 21}, {"bytes", "Kbytes", "Mbytes"}, 3);
  NumEdit2 = new widgets::TNumEdit(*GroupBox2, {112, 48, 97, 21}, "", 4);
  NumEdit2->setMaxLength(5);
  NumEdit2->setFloat(false);
  NumEdit2->setEnabled(false);

  GroupBox3 = new ui::GroupBox(*this, {8, 176, 217, 100}, "Options", 1);
  CheckBox1 = new ui::CheckBox(*GroupBox3, {16, 24, 177, 17}, "Compress data", true, 0);
  CheckBox1->setEnabled(false);
  CheckBox2 =
      new ui::CheckBox(*GroupBox3, {16, 48, 193, 17}, "Delete Input file after split", false, 1);
  CheckBox3 = new ui::CheckBox(*GroupBox3, {16, 72, 177, 17}, "Browse destination folder", true, 2);

  GroupBox5 = new ui::GroupBox(*this, {232, 88, 217, 81}, "Choose merger", 4);
  RadioButton3 =
      new ui::RadioButton(*GroupBox5, {8, 24, 161, 17}, "Create .BAT file merger", false, 0);
  RadioButton3->setEnabled(false);
  RadioButton4 =
      new ui::RadioButton(*GroupBox5, {8, 48, 161, 17}, "Create .EXE file merger", true, 1);

  GroupBox4 = new ui::GroupBox(*this, {232, 176, 217, 100}, "Statistics", 2);
  Label1 = new ui::Label(*GroupBox4, {16, 24, 85, 13}, "Input file size: ???");
  Label2 = new ui::Label(*GroupBox4, {16, 48, 136, 13}, "Output files size 1.38 MBytes");
  Label3 = new ui::Label(*GroupBox4, {16, 72, 127, 13}, "Number of output files: ???");

  Button3 = new ui::Button(*this, {192, 280, 75, 25}, "Fennock!", 3);
  Button3->setEnabled(false);

  Inputfile1->onClick = [this] { Inputfile1Click(); };
  Joinpieces1->onClick = [this] { Joinpieces1Click(); };
  Exit1->onClick = [this] { Exit1Click(); };
  Checksumfile1->onClick = [this] { Checksumfile1Click(); };
  Shellmerger1->onClick = [this] { Shellmerger1Click(); };
  Mergerforwindows1->onClick = [this] { Mergerforwindows1Click(); };
  Mergerforlinux1->onClick = [this] { Mergerforlinux1Click(); };
  License1->onClick = [this] { License1Click(); };
  Help2->onClick = [this] { Help2Click(); };
  Support1->onClick = [this] { Support1Click(); };
  AbouFennock1->onClick = [this] { AbouFennock1Click(); };
  Exit2->onClick = [this] { Exit2Click(); };
  Button1->onClick = [this] { Button1Click(); };
  Button2->onClick = [this] { Button2Click(); };
  Button3->onClick = [this] { Button3Click(); };
  RadioButton1->onClick = [this] { RadioButton1Click(); };
  RadioButton2->onClick = [this] { RadioButton2Click(); };
  NumEdit1->onChange = [this] { NumEdit1Change(); };
  ComboBox1->onChange = [this] { ComboBox1Change(); };
  NumEdit2->onChange = [this] { NumEdit2Change(); };
  CheckBox1->onClick = [this] { CheckBox1Click(); };

  // Loading the window's description restores its stores before the create handler runs.
  store::TFileSource* stores[] = {&PackLib, &UnpackLib, &SFX, &WindowsUnpackLib, &WindowsSFX};
  payloads::loadMainWindowStores(stores);

  FormCreate();
  loadOptions();
}

TForm1::~TForm1() = default;

void TForm1::FormCreate() {
  // Runs NumEdit1Change while no unit is selected yet; selecting the unit runs nothing.
  NumEdit1->setText("1" + platform::decimalSeparator() + "38");
  ComboBox1->setItemIndex(2);
}

void TForm1::Exit1Click() { ui::Application::instance().terminate(0); }

void TForm1::Exit2Click() { ui::Application::instance().terminate(0); }
