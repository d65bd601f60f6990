// The live estimate on the statistics labels and the mode, unit, count and compress handlers.
// FIXME: stand-in bodies: they switch the controls but do not compute the labels yet.
#include "app/MainWindow.h"
#include "platform/Numbers.h"

void TForm1::NumEdit1Change() {}

void TForm1::ComboBox1Change() {}

void TForm1::NumEdit2Change() {}

void TForm1::RadioButton1Click() {
  NumEdit1->setEnabled(true);
  ComboBox1->setEnabled(true);
  NumEdit2->setEnabled(false);
}

void TForm1::RadioButton2Click() {
  NumEdit1->setEnabled(false);
  ComboBox1->setEnabled(false);
  NumEdit2->setEnabled(true);
}

void TForm1::CheckBox1Click() {
  // Compressed jobs need the .EXE merger.
  if (CheckBox1->checked()) {
    RadioButton4->setChecked(true);
    RadioButton3->setEnabled(false);
  } else {
    RadioButton3->setEnabled(true);
    RadioButton3->setChecked(true);
  }
}

void TForm1::refreshEstimateAfterFileChoice() {
  Label1->setCaption("Input file size: " + platform::formatFixed2(InputSizeMB) + " Mbytes");
}
