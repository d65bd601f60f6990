// The archiver's ties to the program: its messages reach the program's dialogs under the
// application's title, and without a display nothing tries to process window messages.
#include <gtest/gtest.h>

#include "app/ArchiverBinding.h"
#include "app/Program.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"

TEST(ArchiverBinding, MessagesGoToThePlainMessageBoxUnderTheTitle) {
  app::initializeApplication();
  ui::ScriptedDialogs answers(/*echo=*/false);
  ui::ScopedDialogs scoped(answers);
  std::unique_ptr<zip::ArchiverHost> host = app::makeArchiverHost();
  host->showMessage("Archive not found");
  ASSERT_EQ(answers.messages().size(), 1u);
  EXPECT_EQ(answers.messages()[0].kind, ui::MessageKind::Information);
  EXPECT_EQ(answers.messages()[0].caption, "Fennock! 1.0");
  EXPECT_EQ(answers.messages()[0].text, "Archive not found");
  // A plain message is no error of the job: the terminal's exit status does not count it.
  EXPECT_EQ(answers.errorCount(), 0);
}

TEST(ArchiverBinding, WithoutADisplayProcessingMessagesDoesNothing) {
  ASSERT_FALSE(ui::Application::instance().onScreen());
  std::unique_ptr<zip::ArchiverHost> host = app::makeArchiverHost();
  host->processMessages();  // must not open a display or block
  EXPECT_FALSE(ui::Application::instance().onScreen());
}
