// The message box as the windows show one: a drawn icon, the text, and OK or Yes and No,
// centred on the window it belongs to and modal until a button is pressed.
#pragma once

#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>

#include <string>
#include <vector>

namespace ui {

class MessageBox : public Fl_Double_Window {
 public:
  enum class Icon { Information, Warning, Error, Question };
  enum class Buttons { Ok, YesNo };

  MessageBox(const std::string& caption, const std::string& text, Icon icon, Buttons buttons);
  ~MessageBox() override;

  // Shows the box over `owner` (over the screen when null) and waits for an answer: true for
  // OK and Yes.
  bool run(Fl_Window* owner);
  // Places the box in the middle of `owner`, or of the screen when null, inside the screen.
  void centreOn(Fl_Window* owner);

  Icon icon() const { return m_icon; }
  std::vector<std::string> buttonCaptions() const;
  // The button that Enter presses while no other has the focus: OK or Yes.
  const Fl_Button& defaultButton() const { return *m_buttons.front(); }

  int handle(int event) override;

 private:
  class IconView;
  class TextView;
  void answer(bool yes);

  Icon m_icon;
  Buttons m_kind;
  bool m_result = false;
  std::vector<Fl_Button*> m_buttons;  // owned by the window as its children
};

}  // namespace ui
