// The progress dialog: built from its window description, driven by the split job.
#include "progress/Form2.h"

#include "platform/Shell.h"
#include "ui/Application.h"

namespace job {

namespace {

constexpr int kClientWidth = 314;
constexpr int kClientHeight = 205;
constexpr int kLedLeft = 112;
constexpr int kLedShownTop = 80;
constexpr int kLedRestingTop = 400;  // below the client area: out of sight
// The statistics group stays on view in later jobs with the last job's lines; the lamp and its
// caption stand on a plain face across the two lines they cover (the group's inner width,
// between the second and the fifth line), so that neither shows through the other.
constexpr int kPlateLeft = 26;
constexpr int kPlateTop = 70;
constexpr int kPlateWidth = 261;
constexpr int kPlateHeight = 34;

bool onScreen() { return ui::Application::instance().onScreen(); }

}  // namespace

TForm2::TForm2(SplitJobHost& host)
    : ui::Form("Processing...", 0, 0, kClientWidth, kClientHeight, false),
      GaugeBar1(24, 144, 265, 25),
      LED1(kLedLeft, kLedRestingTop),
      Label6(*this, {136, 80, 0, 13}, ""),
      Button1(*this, {120, 176, 75, 25}, "OK", 0),
      GroupBox1(*this, {24, 8, 265, 129}, "Statistics"),
      Label1(GroupBox1, {16, 32, 0, 13}, ""),
      Label2(GroupBox1, {16, 48, 0, 13}, ""),
      Label3(GroupBox1, {16, 64, 0, 13}, ""),
      Label4(GroupBox1, {16, 80, 0, 13}, ""),
      Label5(GroupBox1, {16, 96, 0, 13}, ""),
      m_indicatorPlate(kPlateLeft, kPlateTop, kPlateWidth, kPlateHeight),
      m_host(host) {
  // No close box: OK is the only way out, and it is disabled while a job runs.
  setBorderIcons(ui::BorderIcons::NoIcons);
  onClose = [] {};
  add(GaugeBar1);
  GaugeBar1.setBarColorStyle(widgets::cs1Color);
  GaugeBar1.setBarColor1(widgets::clBlue);
  GaugeBar1.setBarColor2(widgets::clBlue);
  GaugeBar1.setBackgroundColor(widgets::clBtnFace);
  GaugeBar1.setPercentage(true);
  GaugeBar1.setMin(0);
  GaugeBar1.setMax(100);
  GaugeBar1.hide();
  // FLTK draws children in order: the plate, the lamp and its caption go over the group.
  ui::makeOpaque(m_indicatorPlate);
  add(m_indicatorPlate);
  m_indicatorPlate.hide();
  add(LED1);
  add(Label6);
  LED1.setColor(widgets::Green);
  LED1.setState(widgets::LEDOff);
  LED1.setBlinkInterval(300);
  Label6.setVisible(false);
  Button1.setEnabled(false);
  Button1.onClick = [this] { Button1Click(); };
  GroupBox1.setVisible(false);
  ui::forgetCurrentGroup();
  setShownState(false);  // hidden until a job shows it
}

TForm2::~TForm2() {
  LED1.setBlinking(false);
  // The gauge, the LED and the plate are members: take them out before the form deletes its
  // children.
  remove(GaugeBar1);
  remove(LED1);
  remove(m_indicatorPlate);
}

void TForm2::showDialog() {
  if (onScreen()) {
    if (!shown()) centerOnScreen();
    ui::Form::show();
  } else {
    setShownState(true);  // no display: the state is kept, nothing is drawn
  }
}

void TForm2::hideDialog() {
  if (onScreen())
    ui::NativeWindow::hide();
  else
    setShownState(false);
}

void TForm2::restLed() {
  LED1.setBlinking(false);
  LED1.position(kLedLeft, kLedRestingTop);
  Label6.setVisible(false);
  m_indicatorPlate.hide();
}

bool TForm2::drawnAbove(const ui::NativeWidget& widget, const ui::NativeWidget& below) const {
  return find(widget) > find(below) && find(widget) < children();
}

void TForm2::show() { showDialog(); }

void TForm2::setOkEnabled(bool enabled) { Button1.setEnabled(enabled); }

void TForm2::setProgressPosition(int position) { GaugeBar1.setPosition(position); }

void TForm2::showProgressBar() { GaugeBar1.show(); }

void TForm2::compressionStarted() {
  m_indicatorPlate.show();
  LED1.setBlinking(true);
  LED1.position(kLedLeft, kLedShownTop);
  Label6.setCaption("Compressing data");
  Label6.setVisible(true);
  redraw();
}

void TForm2::compressionFinished() {
  LED1.setBlinking(false);
  hideDialog();
  LED1.position(kLedLeft, kLedRestingTop);
  Label6.setVisible(false);
  m_indicatorPlate.hide();
  showDialog();
  GaugeBar1.show();
}

void TForm2::showStatisticsGroup() { GroupBox1.setVisible(true); }

void TForm2::setStatistics(const JobStatistics& stats) {
  const std::array<std::string, 5> texts = statisticsTexts(stats);
  ui::Label* labels[] = {&Label1, &Label2, &Label3, &Label4, &Label5};
  for (std::size_t row = 0; row < texts.size(); ++row) labels[row]->setCaption(texts[row]);
}

// A failed job leaves nothing to report here: the dialog goes away so that the error message
// appears over a main window that is usable again, with the same input still chosen.
void TForm2::jobFailed() {
  restLed();
  hideDialog();
}

void TForm2::Button1Click() {
  // The main window first: a desktop activates the next enabled window in the dialog's place.
  m_host.setMainWindowEnabled(true);
  hideDialog();
  if (m_host.openDestination()) platform::openDocument(m_host.destFolder());
  m_host.resetFileChoice();
}

}  // namespace job
