// The stopwatch and the statistics lines of the progress dialog.
#include <gtest/gtest.h>

#include <clocale>

#include "job/Chrono.h"
#include "job/Statistics.h"

using namespace job;

TEST(Chrono, TimesAcrossMidnightAndIgnoresRepeatedCalls) {
  double now = 0;
  TChrono c([&] { return now; });
  EXPECT_EQ(c.ElapsedMs(), 0);
  now = timeOfDay(23, 59, 59, 500);
  c.Start();
  now = timeOfDay(23, 59, 59, 900);
  c.Start();  // ignored while running
  now = timeOfDay(0, 0, 0, 250);
  c.Stop();
  EXPECT_EQ(c.ElapsedMs(), 750);
  now = timeOfDay(1, 0, 0, 0);
  c.Stop();  // ignored while idle
  EXPECT_EQ(c.ElapsedMs(), 750);
  c.Start();  // does not clear the last timing
  EXPECT_EQ(c.ElapsedMs(), 750);
  c.Stop();
  EXPECT_EQ(c.ElapsedMs(), 0);  // same clock reading
  now = timeOfDay(12, 0, 0, 0);
  c.Start();
  now = timeOfDay(12, 0, 2, 344);
  c.Stop();
  EXPECT_EQ(c.ElapsedMs(), 2344);
}

TEST(Chrono, ReadsTheLocalClock) {
  TChrono c;
  c.Start();
  c.Stop();
  EXPECT_GE(c.ElapsedMs(), 0);
  EXPECT_LT(c.ElapsedMs(), 1000);
}

TEST(Statistics, TextsOfFinishedJobs) {
  std::setlocale(LC_ALL, "C");
  JobStatistics s;
  s.pieceCount = 3;
  s.pieceSize = 1048576;
  s.inputSize = 3000000;
  s.elapsedMs = 2344;
  auto t = statisticsTexts(s);
  EXPECT_EQ(t[0], "3 files were created");
  EXPECT_EQ(t[1], "Output files size: 1.00 MegaBytes");
  EXPECT_EQ(t[2], "Total size of output files: 2.86 MegaBytes");
  EXPECT_EQ(t[3], "No compression performed");
  EXPECT_EQ(t[4], "Time elapsed: 2.344 Seconds");

  s.pieceCount = 1;
  s.elapsedMs = 60000;
  t = statisticsTexts(s);
  EXPECT_EQ(t[0], "1 file was created");
  EXPECT_EQ(t[4], "Time elapsed: 60 Seconds");
  s.pieceCount = 0;
  s.elapsedMs = 0;
  t = statisticsTexts(s);
  EXPECT_EQ(t[0], "0 files were created");
  EXPECT_EQ(t[4], "Time elapsed: 0 Seconds");

  s.pieceCount = 3;
  s.pieceSize = 3333333;  // 10,000,000 bytes in 3 pieces
  EXPECT_EQ(statisticsTexts(s)[1], "Output files size: 3.18 MegaBytes");
}

TEST(Statistics, CompressionRatio) {
  std::setlocale(LC_ALL, "C");
  JobStatistics s;
  s.compressed = true;
  s.inputSize = 1000000;
  s.compressedSize = 750000;
  auto t = statisticsTexts(s);
  EXPECT_EQ(t[2], "Total size of output files: 0.72 MegaBytes");  // the archive, not the input
  EXPECT_EQ(t[3], "Compressed at 25.00%");
  s.inputSize = 100000000;
  s.compressedSize = 40000000;
  EXPECT_EQ(statisticsTexts(s)[3], "Compressed at 60.00%");
  s.inputSize = 1000;
  s.compressedSize = 1150;  // the archive outgrew the input
  EXPECT_EQ(statisticsTexts(s)[3], "Compressed at -15.00%");
  s.inputSize = 0;
  s.compressedSize = 120;
  EXPECT_EQ(statisticsTexts(s)[3], "No compression ratio: the input file is empty");
}

TEST(Statistics, CommaLocale) {
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not generated";
  JobStatistics s;
  s.pieceCount = 2;
  s.pieceSize = 1048576;
  s.inputSize = 3000000;
  s.elapsedMs = 2344;
  auto t = statisticsTexts(s);
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(t[2], "Total size of output files: 2,86 MegaBytes");
  EXPECT_EQ(t[4], "Time elapsed: 2,344 Seconds");
}
