// The terminal's progress lines and the statistics box.
#include "app/JobViews.h"

#include "app/MainWindow.h"
#include "platform/Shell.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"

namespace app {

void finishJob(TForm1& form) {
  if (form.openDestination()) platform::openDocument(form.destFolder());
  form.resetFileChoice();
  form.setMainWindowEnabled(true);
}

void StatisticsView::setOkEnabled(bool enabled) {
  if (!enabled) return;
  present(m_texts);
  finishJob(m_form);
}

void StatisticsView::setStatistics(const job::JobStatistics& stats) {
  m_texts = job::statisticsTexts(stats);
}

void TerminalProgressView::setProgressPosition(int position) {
  if (position == m_position) return;
  m_position = position;
  std::fprintf(m_out, "%d%%\n", position);
  std::fflush(m_out);
}

void TerminalProgressView::compressionStarted() {
  std::fprintf(m_out, "Compressing data\n");
  std::fflush(m_out);
}

void TerminalProgressView::present(const std::array<std::string, 5>& texts) {
  for (const std::string& text : texts) std::fprintf(m_out, "%s\n", text.c_str());
  std::fflush(m_out);
}

void StatisticsBoxView::present(const std::array<std::string, 5>& texts) {
  std::string text;
  for (const std::string& line : texts) text += line + "\n";
  ui::dialogs().message(ui::MessageKind::Information, ui::Application::instance().title(), text);
}

}  // namespace app
