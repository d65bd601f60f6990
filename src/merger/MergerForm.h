// The merger program's window TForm1: a destination, two options and the "Merge" button.
#pragma once

#include <functional>
#include <memory>

#include "merger/Merge.h"
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/Form.h"
#include "widgets/BrowseFolder.h"
#include "widgets/FileLabel.h"
#include "widgets/GaugeBar.h"

namespace merger {

inline constexpr char kMergerTitle[] =
    "Fennock! M\xC3\xB3"
    "dulo SFX";
inline constexpr char kFilesMerged[] = "Files merged";

class TForm1 : public ui::Form, private MergeProgress {
 public:
  // `ownPath` is the merger file that runs; `layout` the lengths from its stamp. A set without
  // a merger file comes with its `planner`, and `ownPath` is then one of its members.
  TForm1(std::string ownPath, const MergerLayout& layout, MergePlanner planner = {});
  ~TForm1() override;

  widgets::TFileLabel FileLabel1;
  ui::Button Button1;
  ui::CheckBox CheckBox1;
  ui::Button Button2;
  ui::CheckBox CheckBox2;
  widgets::TGaugeBar GaugeBar1;
  widgets::TBrowseFolder BrowseFolder1;

  void FormCreate();
  void Button1Click();
  // The merge; on success "Files merged" is shown and the program ends.
  void Button2Click();
  // What follows "Files merged": the merger program ends; a window that another program shows
  // sets its own step.
  std::function<void()> onMerged;

  // The merge as both front ends run it: the window's settings, its progress bar. A failed
  // merge gives the window back as it was before, so that the user may mend and merge again.
  std::string merge(MergeProgress* extraProgress = nullptr);

 private:
  void setPosition(int position) override;

  // The archiver's messages in the merger's message boxes; its pauses process window messages.
  class ArchiverHost;
  std::unique_ptr<ArchiverHost> m_archiverHost;
  std::string m_ownPath;
  MergerLayout m_layout;
  MergePlanner m_planner;
  MergeProgress* m_extraProgress = nullptr;
};

}  // namespace merger
