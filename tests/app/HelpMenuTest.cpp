// The Help menu's documents: found in the current folder at the moment of the click, beside the
// program or in its installed folder otherwise; and the documents that ship link to each other.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/HelpMenu.h"
#include "app/HelpMenuSupport.h"
#include "support/Programs.h"
#include "support/ScratchDir.h"

namespace {

using help_testing::CurrentFolderGuard;
using help_testing::WindowsFixture;
using testing_support::ScratchDir;
using HelpMenu = WindowsFixture;

const char* const kDocuments[] = {"index.htm", "license.txt", "manual/insup.htm"};

void writeDocuments(const std::string& folder) {
  std::filesystem::create_directories(platform::joinPath(folder, "manual"));
  for (const char* document : kDocuments)
    std::ofstream(platform::joinPath(folder, document)) << document;
}

std::vector<std::string> documentsIn(const std::string& folder) {
  std::vector<std::string> paths;
  for (const char* document : kDocuments) paths.push_back(platform::joinPath(folder, document));
  return paths;
}

TEST_F(HelpMenu, EntriesFollowTheCurrentFolderWhenItChanges) {
  CurrentFolderGuard guard;
  ScratchDir first, chosen;
  writeDocuments(first.path());
  writeDocuments(chosen.path());

  platform::setCurrentFolder(first.path());
  form1.License1->click();
  form1.Help2->click();
  form1.Support1->click();
  EXPECT_EQ(opens.opened, documentsIn(first.path()));

  // As after the open-file dialog moved to the input file's folder.
  opens.opened.clear();
  platform::setCurrentFolder(chosen.path());
  form1.License1->click();
  form1.Help2->click();
  form1.Support1->click();
  EXPECT_EQ(opens.opened, documentsIn(chosen.path()));
  EXPECT_TRUE(answers.messages().empty());
}

TEST_F(HelpMenu, MissingDocumentsStillOpenWithoutAMessage) {
  CurrentFolderGuard guard;
  ScratchDir empty;
  platform::setCurrentFolder(empty.path());
  form1.License1->click();
  form1.Support1->click();
  // Nothing beside the test program either: the desktop gets the current folder's path and
  // reports the document missing itself.
  EXPECT_EQ(opens.opened,
            (std::vector<std::string>{empty.file("index.htm"), empty.file("manual/insup.htm")}));
  EXPECT_TRUE(answers.messages().empty());
}

TEST_F(HelpMenu, RemovedCurrentFolderIsNoError) {
  CurrentFolderGuard guard;
  std::string removed;
  {
    ScratchDir doomed;
    removed = doomed.path();
    platform::setCurrentFolder(removed);
  }
  form1.Help2->click();
  ASSERT_EQ(opens.opened.size(), 1u);
  EXPECT_EQ(platform::fileNameOf(opens.opened[0]), "license.txt");
  EXPECT_TRUE(answers.messages().empty());
}

TEST(HelpDocumentPath, CurrentFolderFirstThenBesideTheProgramThenInstalled) {
  ScratchDir root;
  const std::string current = root.file("work");
  const std::string bin = root.file("prefix/bin");
  const std::string installed = root.file("prefix/share/fennock");
  std::filesystem::create_directories(current);
  std::filesystem::create_directories(bin);
  writeDocuments(installed);

  EXPECT_EQ(app::helpDocumentPath("manual/insup.htm", current, bin),
            platform::joinPath(installed, "manual/insup.htm"));
  writeDocuments(bin);
  EXPECT_EQ(app::helpDocumentPath("manual/insup.htm", current, bin),
            platform::joinPath(bin, "manual/insup.htm"));
  writeDocuments(current);
  EXPECT_EQ(app::helpDocumentPath("manual/insup.htm", current, bin),
            platform::joinPath(current, "manual/insup.htm"));
}

TEST(HelpDocumentPath, RootFolderGetsNoDoubleSeparator) {
  EXPECT_EQ(app::helpDocumentPath("index.htm", "/", ""), "/index.htm");
}

TEST(HelpDocumentPath, AFolderOfTheDocumentsNameIsNotTheDocument) {
  ScratchDir root;
  std::filesystem::create_directories(root.file("bin"));
  std::filesystem::create_directories(root.file("work/index.htm"));
  writeDocuments(root.file("bin"));
  EXPECT_EQ(app::helpDocumentPath("index.htm", root.file("work"), root.file("bin")),
            root.file("bin/index.htm"));
}

// The href and src targets of a page that name files of its own (no scheme), anchors removed.
std::vector<std::string> localLinks(const std::string& html) {
  std::vector<std::string> targets;
  for (const std::string attribute : {"href=\"", "src=\""}) {
    for (std::size_t at = html.find(attribute); at != std::string::npos;
         at = html.find(attribute, at + 1)) {
      const std::size_t start = at + attribute.size();
      const std::string value = html.substr(start, html.find('"', start) - start);
      const std::string file = value.substr(0, value.find('#'));
      if (!file.empty() && file.find(':') == std::string::npos) targets.push_back(file);
    }
  }
  return targets;
}

// The shipped documents, as the build lays them beside the program: every file the menu opens
// is there, and every local link between them leads to a file that ships.
TEST(ShippedDocuments, MenuTargetsExistAndLocalLinksResolve) {
  const std::filesystem::path docs =
      std::filesystem::path(testing_support::fennockProgram()).parent_path();
  for (const char* document : kDocuments)
    EXPECT_TRUE(std::filesystem::is_regular_file(docs / document)) << document;

  for (const char* page : {"index.htm", "manual/insup.htm"}) {
    std::ifstream in(docs / page);
    const std::string html((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(html.find("<title>"), std::string::npos) << page;
    const std::filesystem::path folder = (docs / page).parent_path();
    for (const std::string& target : localLinks(html))
      EXPECT_TRUE(std::filesystem::exists(folder / target)) << page << " links to " << target;
  }
}

}  // namespace
