// Choosing the file to split: the "Change" button of the input group and File, "Input file".
#include <array>
#include <string>

#include "app/MainWindow.h"
#include "job/SplitJob.h"
#include "platform/File.h"
#include "platform/Paths.h"

namespace {

// Extensions of data that is already compressed, compared exactly as written.
constexpr std::array<const char*, 8> kIncompressibleExtensions = {"jpg", "jpeg", "mpg", "mpeg",
                                                                  "zip", "rar",  "arj", "mp3"};

// The text after the first "." anywhere in the path (folder names included); "" without one.
std::string textAfterFirstDot(const std::string& path) {
  std::size_t dot = path.find('.');
  return dot == std::string::npos ? std::string() : path.substr(dot + 1);
}

bool isIncompressible(const std::string& extension) {
  for (const char* known : kIncompressibleExtensions)
    if (extension == known) return true;
  return false;
}

// The path up to and including its last separator.
std::string folderWithSeparator(const std::string& path) {
  for (std::size_t end = path.size(); end > 0; --end)
    if (platform::isPathSeparator(path[end - 1])) return path.substr(0, end);
  return std::string();
}

}  // namespace

void TForm1::Button1Click() { chooseInputFile(); }

void TForm1::Inputfile1Click() { chooseInputFile(); }

void TForm1::chooseInputFile() {
  if (OpenDialog1.execute()) chooseInputFile(OpenDialog1.FileName());
}

void TForm1::chooseInputFile(const std::string& path) {
  FileLabel1->setFileName(path);
  Button2->setEnabled(true);
  Button3->setEnabled(true);

  // Runs CheckBox1Click when the state changes, before the new sizes are known.
  CheckBox1->setEnabled(true);
  CheckBox1->setChecked(!isIncompressible(textAfterFirstDot(path)));

  FileLabel2->setFileName(folderWithSeparator(path));

  // The file is only measured here: it is opened for reading and its permissions are left as
  // they are, so a read-only input stays read-only and one on read-only media can be chosen.
  // Measuring a pipe would wait for a writer forever: only files are measured.
  job::checkSplittableInput(path);
  platform::File file = platform::File::openRead(path);
  const double length = double(file.size());
  file.close();
  InputSizeBytes = length;
  InputSizeKB = length * (1.0 / 1024);
  InputSizeMB = length * (1.0 / 1048576);

  refreshEstimateAfterFileChoice();
}
