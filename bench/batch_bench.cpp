// A batch of 20 Radiance files of 2048 x 1024 through the console binary, next to the sum of
// ConvertFile's times for the same files measured in this process; and the binary's peak
// memory next to two float images of that size plus 50 MB.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <FreeImage.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "context.h"
#include "encoding.h"
#include "files.h"
#include "image_libraries.h"
#include "pipeline.h"
#include "radiance_writer.h"
#include "settings.h"
#include "temp_folder.h"

namespace {

constexpr int kFiles = 20, kWidth = 2048, kHeight = 1024;

double Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

FloatImage Scene(int seed) {
  FloatImage image(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      float* p = image.At(x, y);
      const float level = std::pow(10.0f, -3.0f + 6.5f * float(kHeight - y) / kHeight);
      p[0] = level * (0.6f + 0.4f * std::sin(x * 0.01f + seed));
      p[1] = level * 0.8f;
      p[2] = level * (1.0f - 0.3f * std::cos(y * 0.02f + seed));
    }
  return image;
}

// Peak memory (MB) of a child process that makes FreeImage's own calls for one file: load,
// tone map, depth conversion, save.
double BarePeakMb(const std::string& input, const std::string& output) {
  pid_t child = fork();
  if (child == 0) {
    FIBITMAP* loaded = FreeImage_Load(FIF_HDR, input.c_str(), 0);
    FIBITMAP* mapped = FreeImage_TmoFattal02(loaded, 0.5, 0.85);
    FreeImage_Unload(loaded);
    FIBITMAP* deep = FreeImage_ConvertToRGB16(mapped);
    FreeImage_Unload(mapped);
    const bool saved = FreeImage_Save(FIF_PNG, deep, output.c_str(), PNG_Z_NO_COMPRESSION);
    FreeImage_Unload(deep);
    _exit(saved ? 0 : 1);
  }
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  return usage.ru_maxrss / 1024.0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s PATH-OF-LUMAPORT\n", argv[0]);
    return 2;
  }
  InitialiseImageLibraries();
  ResetSettings(true);
  TempFolder dir;
  MakeFolder(dir / "in");
  MakeFolder(dir / "engine");
  MakeFolder(dir / "batch");
  for (int i = 0; i < kFiles; ++i)
    WriteRadiance(dir / ("in/f" + std::to_string(i) + ".hdr"), Scene(i));

  // Rounds take turns, so the machine's drift touches both measurements alike.
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  std::vector<double> engineTimes, batchTimes;
  rusage usage{};
  int status = 0;
  gContext.outputFolder = dir / "engine/";
  for (int round = 0; round < rounds; ++round) {
    double engine = 0;
    PrepareOutputFormat("png");
    for (int i = 0; i < kFiles; ++i) {
      gContext.inputPath = dir / ("in/f" + std::to_string(i) + ".hdr");
      const double start = Now();
      if (!ConvertFile()) std::fprintf(stderr, "conversion failed\n");
      engine += Now() - start;
    }
    engineTimes.push_back(engine);

    const double start = Now();
    pid_t child = fork();
    if (child == 0) {
      execl(argv[1], argv[1], "-i", (dir / "in").c_str(), "-o", (dir / "batch").c_str(), "-c",
            "png", "-q", static_cast<char*>(nullptr));
      _exit(127);
    }
    wait4(child, &status, 0, &usage);
    batchTimes.push_back(Now() - start);
  }
  std::sort(engineTimes.begin(), engineTimes.end());
  std::sort(batchTimes.begin(), batchTimes.end());
  const double engine = engineTimes[engineTimes.size() / 2],
               batch = batchTimes[batchTimes.size() / 2];

  const double peakMb = usage.ru_maxrss / 1024.0;
  const double budgetMb = 2.0 * kWidth * kHeight * 12 / (1024.0 * 1024.0) + 50;
  const double bareMb = BarePeakMb(dir / "in/f0.hdr", dir / "bare.png");
  std::printf("%d files of %d x %d to png, median of %d rounds\n", kFiles, kWidth, kHeight, rounds);
  std::printf("batch wall time   %8.2f s\nsum of ConvertFile %7.2f s\nratio             %8.3f\n",
              batch, engine, batch / engine);
  std::printf("peak memory       %8.1f MB (budget %.1f MB: two float images + 50 MB)\n", peakMb,
              budgetMb);
  std::printf("FreeImage alone   %8.1f MB for one file (its tone mapper's working set)\n", bareMb);
  std::printf("batch over that   %8.1f MB\n", peakMb - bareMb);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
}
