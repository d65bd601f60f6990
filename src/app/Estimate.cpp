// The live estimate on the statistics labels: what the mode, size, unit, count and compress
// settings will produce. It is for display only; the split job computes its own plan. Each
// handler writes the labels in its own order, and a size or count text that is not a number
// ends the handler with the conversion error where it is met.
#include <optional>
#include <string>

#include "app/MainWindow.h"
#include "platform/Numbers.h"

namespace {

const std::string kOutputSize = "Output files size: ";
const std::string kUnknownSize = "Output files size: ??? MegaBytes";
const std::string kFileCount = "Number of output files: ";
const std::string kUnknownCount = "Number of output files: ???";
const std::string kOneFile = "Number of output files: 1";
constexpr double kBytesPerMegabyte = 1048576.0;

enum Unit { kBytes = 0, kKilobytes = 1, kMegabytes = 2 };

std::string fmt(double value) { return platform::formatFixed2(value); }

// A field's value when it is usable: not empty and not 0. The empty test comes first, so an
// empty field never reaches the conversion.
std::optional<double> validValue(const std::string& text) {
  if (text.empty()) return std::nullopt;
  double value = platform::strToFloat(text);
  if (value == 0) return std::nullopt;
  return value;
}

bool fileChosen(const TForm1& form) {
  const std::string& name = form.FileLabel1->FileName();
  return !name.empty() && name != "None";
}

// The input's size in the unit that ComboBox1 shows; megabytes for no selection.
double inputSizeInUnit(const TForm1& form) {
  switch (form.ComboBox1->itemIndex()) {
    case kBytes:
      return form.InputSizeBytes;
    case kKilobytes:
      return form.InputSizeKB;
    default:
      return form.InputSizeMB;
  }
}

// The count quotient: the input in the chosen unit divided by the size value, not rounded up.
std::string quotient(const TForm1& form, bool testFileChosen = true) {
  if (testFileChosen && !fileChosen(form)) return {};
  std::optional<double> v = validValue(form.NumEdit1->text());
  return v ? fmt(inputSizeInUnit(form) / *v) : std::string();
}

// Whether one piece of the typed size holds the whole input (equal sizes included).
bool oneFileHoldsInput(const TForm1& form) {
  const double v = platform::strToFloat(form.NumEdit1->text());
  switch (form.ComboBox1->itemIndex()) {
    case kBytes:
      return v >= form.InputSizeBytes;
    case kKilobytes:
      return v >= form.InputSizeKB;
    case kMegabytes:
      return v >= form.InputSizeMB;
    default:
      return false;
  }
}

// The count-mode size text: always in megabytes, whatever unit ComboBox1 shows.
std::string countModeSizeText(const TForm1& form, double pieces) {
  return kOutputSize + fmt(form.InputSizeBytes / pieces / kBytesPerMegabyte) + " MegaBytes";
}

// Label2 in count mode: the size per piece when compression is off and the count is usable.
// The conditions are tested in order, so a count that is not a number stops the handler only
// when it is read.
void showCountModeSize(TForm1& form, bool requireFile) {
  if (!form.CheckBox1->checked() && (!requireFile || fileChosen(form))) {
    if (std::optional<double> n = validValue(form.NumEdit2->text())) {
      form.Label2->setCaption(countModeSizeText(form, *n));
      return;
    }
  }
  form.Label2->setCaption(kUnknownSize);
}

void showTypedCount(TForm1& form) { form.Label3->setCaption(kFileCount + form.NumEdit2->text()); }

// Label3 by the one-file rule; true when it gave the one-file text.
bool showCountByOneFileRule(TForm1& form, const std::string& q) {
  const bool oneFile = oneFileHoldsInput(form);
  form.Label3->setCaption(oneFile ? kOneFile : kFileCount + q);
  return oneFile;
}

// NumEdit1Change and ComboBox1Change are the same handler.
void sizeOrUnitChanged(TForm1& form) {
  form.Label2->setCaption(kOutputSize + form.NumEdit1->text() + " " + form.ComboBox1->text());
  const std::string q = quotient(form);
  if (form.CheckBox1->checked())
    form.Label3->setCaption(kUnknownCount);
  else if (!form.NumEdit1->text().empty())
    showCountByOneFileRule(form, q);
}

}  // namespace

void TForm1::NumEdit1Change() { sizeOrUnitChanged(*this); }

void TForm1::ComboBox1Change() { sizeOrUnitChanged(*this); }

void TForm1::NumEdit2Change() {
  showCountModeSize(*this, /*requireFile=*/false);
  showTypedCount(*this);
}

void TForm1::RadioButton1Click() {
  NumEdit1->setEnabled(true);
  ComboBox1->setEnabled(true);
  NumEdit2->setEnabled(false);
  const std::string text = NumEdit1->text();
  const double v = text.empty() ? 0.0 : platform::strToFloat(text);
  Label2->setCaption(kOutputSize + fmt(v) + ComboBox1->text());
  const std::string q = quotient(*this);
  Label3->setCaption(CheckBox1->checked() ? kUnknownCount : kFileCount + q);
}

void TForm1::RadioButton2Click() {
  NumEdit1->setEnabled(false);
  ComboBox1->setEnabled(false);
  NumEdit2->setEnabled(true);
  showTypedCount(*this);
  showCountModeSize(*this, /*requireFile=*/true);
}

void TForm1::CheckBox1Click() {
  const bool compressed = CheckBox1->checked();
  // A compressed job needs the .EXE merger, which carries the unarchiver.
  if (compressed) {
    RadioButton4->setChecked(true);
    RadioButton3->setEnabled(false);
  } else {
    RadioButton3->setEnabled(true);
    RadioButton3->setChecked(true);
  }
  const bool countMode = RadioButton2->checked();
  const std::string q = countMode ? std::string() : quotient(*this);
  const std::string sizeText = NumEdit1->text();
  bool oneFile = false;
  if (compressed)
    Label3->setCaption(kUnknownCount);
  else if (!sizeText.empty())
    oneFile = showCountByOneFileRule(*this, q);
  if (countMode) {
    showCountModeSize(*this, /*requireFile=*/false);
    showTypedCount(*this);
  } else if (!compressed && !sizeText.empty() && !oneFile) {
    Label2->setCaption(kOutputSize + sizeText + ComboBox1->text());
  }
}

void TForm1::refreshEstimateAfterFileChoice() {
  Label1->setCaption("Input file size: " + fmt(InputSizeMB) + " Mbytes");
  const std::string q = quotient(*this, /*testFileChosen=*/false);
  if (RadioButton2->checked()) {
    showCountModeSize(*this, /*requireFile=*/false);
  } else {
    Label3->setCaption(CheckBox1->checked() ? kUnknownCount : kFileCount + q);
  }
}
