// The terminal's progress lines.
#include "app/JobViews.h"

#include "app/MainWindow.h"
#include "platform/Shell.h"

namespace app {

void TerminalProgressView::setOkEnabled(bool enabled) {
  if (!enabled) return;
  for (const std::string& text : m_texts) std::fprintf(m_out, "%s\n", text.c_str());
  std::fflush(m_out);
  if (m_form.openDestination()) platform::openDocument(m_form.destFolder());
  m_form.resetFileChoice();
  m_form.setMainWindowEnabled(true);
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

void TerminalProgressView::setStatistics(const job::JobStatistics& stats) {
  m_texts = job::statisticsTexts(stats);
}

}  // namespace app
