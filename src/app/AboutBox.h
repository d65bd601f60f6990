// TForm3: the About box, with the product's name and version, a picture and a link to its web site.
#pragma once

#include <string>

#include "ui/Button.h"
#include "ui/Form.h"
#include "ui/Label.h"
#include "widgets/Canvas.h"
#include "widgets/FxUrlImage.h"
#include "widgets/FxUrlLabel.h"

// The product's web site: the target of the About box's picture and link, and what the link shows.
inline constexpr char kProductWebAddress[] = "https://fennock.example/";
inline constexpr char kProductWebCaption[] = "fennock.example";

// The About box's 33 x 33 picture: a page cut into three pieces.
widgets::RgbaImage aboutPicture();

class TForm3 : public ui::Form {
 public:
  // A label whose lines are centred and broken at word boundaries to its width.
  class WrappedLabel : public ui::Label {
   public:
    WrappedLabel(ui::Container& parent, const ui::Rect& bounds, const std::string& caption);
  };

  // Created hidden at start-up; `mainWindow` is the window that the box disables while shown.
  explicit TForm3(ui::Form& mainWindow);
  ~TForm3() override;

  // Makes the box visible (tracked without a display too).
  void showAbout();
  bool aboutVisible() const { return visible() != 0; }

  // OK: hides the box and then enables the main window again.
  void Button1Click();

  WrappedLabel Label1;
  widgets::fx::TFxUrlImage FxUrlImage1;
  widgets::fx::TFxUrlLabel FxUrlLabel1;
  ui::Button Button1;

 private:
  ui::Form& m_mainWindow;
};

// The program's About box, created at start-up after the main window and the progress dialog;
// null where no windows are shown (the terminal front end).
extern TForm3* Form3;
