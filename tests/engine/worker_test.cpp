// The batch worker: counting, counters, stopping, debug lines and output time stamps.
#include "worker.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>

#include "clock.h"
#include "context.h"
#include "encoding.h"
#include "files.h"
#include "image_libraries.h"
#include "input_table.h"
#include "progress.h"
#include "radiance_writer.h"
#include "settings.h"
#include "signatures.h"
#include "temp_folder.h"

namespace {

FloatImage Sky(int w, int h) {
  FloatImage image(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int i = 0; i < 3; ++i)
        image.At(x, y)[i] = std::pow(10.0f, -2.0f + 4.0f * float(x) / float(w)) * (1 + i);
  return image;
}

class Worker : public ::testing::Test {
 protected:
  void SetUp() override {
    InitialiseImageLibraries();
    ResetSettings(true);
    ResetInputList();
    gInput.consoleMode = true;
    gContext = ConversionContext{};
    gContext.consoleMode = true;
    gContext.outputFolder = out_.path();
    PrepareOutputFormat("png");
    ResetProgress();
    gProgress.resultCount = 0;
  }

  void Add(const std::string& name, bool good = true) {
    const std::string path = in_ / name;
    if (good)
      ASSERT_TRUE(WriteRadiance(path, Sky(40, 32)));
    else
      ASSERT_TRUE(WriteBytes(path, "#?RADIANCE\nbroken"));
    ASSERT_TRUE(AddInputFile(path));
  }

  TempFolder in_, out_;
};

TEST_F(Worker, EmptyListEndsAtOnce) {
  ConversionWorker();
  EXPECT_EQ(gProgress.processedCount, 0);
  EXPECT_EQ(gProgress.resultCount, 0);
}

TEST_F(Worker, AFailedFileIsCountedButNotConverted) {
  gSettings.Advanced.FilenameMask = "%n%_%filename%.%ext%";
  Add("a.hdr"), Add("b.hdr", false), Add("c.hdr");
  ConversionWorker();
  EXPECT_EQ(gProgress.processedCount, 3);
  EXPECT_EQ(gProgress.resultCount, 2);
  EXPECT_EQ(gProgress.duration, 0) << "the file before the third one failed";
  EXPECT_EQ(ListFolder(out_.path()), (std::vector<std::string>{"00001_a.png", "00002_c.png"}));
  EXPECT_EQ(gContext.counter, 3);
  EXPECT_GE(gContext.randomNumber, 1);
  EXPECT_LE(gContext.randomNumber, 99999);
}

TEST_F(Worker, AFileThatVanishedAfterTheImportFails) {
  Add("a.hdr"), Add("gone.hdr"), Add("c.hdr");
  ASSERT_TRUE(RemoveFile(in_ / "gone.hdr"));
  ConversionWorker();
  EXPECT_EQ(gProgress.processedCount, 3);
  EXPECT_EQ(gProgress.resultCount, 2);
  EXPECT_EQ(ListFolder(out_.path()), (std::vector<std::string>{"a.png", "c.png"}));
}

TEST_F(Worker, DurationIsAtLeastASecondAfterAConvertedFile) {
  Add("a.hdr"), Add("b.hdr");
  ConversionWorker();
  EXPECT_GE(gProgress.duration, 1000);
}

TEST_F(Worker, AStopRequestEndsBetweenFiles) {
  Add("a.hdr"), Add("b.hdr");
  gProgress.running = false;
  ConversionWorker();
  EXPECT_EQ(gProgress.processedCount, 0);
  EXPECT_EQ(gProgress.resultCount, 0);
  EXPECT_TRUE(ListFolder(out_.path()).empty());
}

TEST_F(Worker, DebugModePrintsThreeLinesPerFile) {
  gContext.consoleMessageMode = "DEBUG";
  Add("a.hdr"), Add("b.hdr", false);
  EXPECT_EQ(CaptureOutput(1, ConversionWorker),
            "Processing: " + in_ / "a.hdr" + "\nFile Format: " + DetectFileType(in_ / "a.hdr") +
                "\n[OK] Saving As: " + out_ / "a.png" + "\nProcessing: " + in_ / "b.hdr" +
                "\nFile Format: " + DetectFileType(in_ / "b.hdr") +
                "\n[ERROR] Unable to convert the file!\n");
}

TEST_F(Worker, TimeStamps) {
  Add("a.hdr");
  ASSERT_TRUE(SetFileModifiedTime(in_ / "a.hdr", 1500000000));
  gSettings.Advanced.FileTimestamp = 1;
  ConversionWorker();
  EXPECT_EQ(FileModifiedTime(out_ / "a.png"), 1500000000);

  // The custom time is a local date and time, as the settings hold every date.
  gSettings.Advanced.FileTimestamp = 2;
  gSettings.Advanced.CustomTimestamp = 1600000000;
  ResetProgress();
  ConversionWorker();
  EXPECT_EQ(FileModifiedTime(out_ / "a.png"), LocalSecondsToTime(1600000000));

  gSettings.Advanced.FileTimestamp = 0;
  ResetProgress();
  const int64_t before = std::time(nullptr);
  ConversionWorker();
  EXPECT_GE(FileModifiedTime(out_ / "a.png"), before);
}

}  // namespace
