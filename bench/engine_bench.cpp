// Time ConvertFile takes for a 2048 x 1024 Radiance file next to the bare FreeImage calls it
// makes (load, tone map, depth conversion, save), measured in the same run. Prints the ratio,
// then what the frame and the watermark cost next to the tone mapping.
#include <FreeImage.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "context.h"
#include "encoding.h"
#include "files.h"
#include "image_libraries.h"
#include "pipeline.h"
#include "radiance_writer.h"
#include "settings.h"
#include "stages.h"
#include "temp_folder.h"
#include "watermark.h"

namespace {

double Seconds(const std::function<void()>& work) {
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

FloatImage Scene(int w, int h) {
  FloatImage image(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const float sky = std::pow(10.0f, -3.0f + 6.5f * float(h - y) / float(h));
      const float sun =
          std::exp(-((x - w * 0.7f) * (x - w * 0.7f) + (y - h * 0.3f) * (y - h * 0.3f)) / 900.0f);
      float* p = image.At(x, y);
      p[0] = sky * (0.6f + 0.4f * std::sin(x * 0.01f)) + 4000 * sun;
      p[1] = sky * 0.8f + 3500 * sun;
      p[2] = sky * (1.0f - 0.3f * std::cos(y * 0.02f)) + 3000 * sun;
    }
  return image;
}

// What ConvertFile does for ext with the default settings, as bare FreeImage calls with the
// same save flags.
void BareCalls(const std::string& input, const std::string& output, const std::string& ext,
               int flags) {
  FIBITMAP* loaded = FreeImage_Load(FIF_HDR, input.c_str(), 0);
  FIBITMAP* mapped = FreeImage_TmoFattal02(loaded, 0.5, 0.85);
  FreeImage_Unload(loaded);
  FIBITMAP* converted = ext == "png" ? FreeImage_ConvertToRGB16(mapped) : mapped;
  if (converted != mapped) FreeImage_Unload(mapped);
  FreeImage_Save(ext == "png" ? FIF_PNG : FIF_JPEG, converted, output.c_str(), flags);
  FreeImage_Unload(converted);
}

// A 20-pixel frame and the default text watermark on, with its font loaded; or both off.
void SetDecorations(bool on) {
  auto& frame = gSettings.Frame;
  frame.DoFrame = on;
  frame.SolidLeft = frame.SolidRight = frame.SolidTop = frame.SolidBottom = on ? 20 : 0;
  gSettings.Watermark.DoWatermark = on;
  if (on)
    LoadWatermarkFont();
  else
    ReleaseWatermarkFont();
}

// Seconds a stage takes on a copy of image, median of rounds; the copy is not counted.
double StageSeconds(FIBITMAP* image, int rounds, FIBITMAP* (*stage)(FIBITMAP*, int, int)) {
  const int w = static_cast<int>(FreeImage_GetWidth(image)),
            h = static_cast<int>(FreeImage_GetHeight(image));
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i) {
    FIBITMAP* copy = FreeImage_Clone(image);
    FIBITMAP* result = nullptr;
    times.push_back(Seconds([&] { result = stage(copy, w, h); }));
    if (!result) std::fprintf(stderr, "stage failed\n");
    FreeImage_Unload(result);
  }
  return Median(times);
}

// The frame and the watermark next to the tone mapping they follow, on the same image.
void StageCosts(const std::string& input, int rounds) {
  FIBITMAP* loaded = FreeImage_Load(FIF_HDR, input.c_str(), 0);
  std::vector<double> toneTimes;
  FIBITMAP* mapped = nullptr;
  for (int i = 0; i < rounds; ++i) {
    FreeImage_Unload(mapped);
    toneTimes.push_back(Seconds([&] { mapped = FreeImage_TmoFattal02(loaded, 0.5, 0.85); }));
  }
  FreeImage_Unload(loaded);
  const double tone = Median(toneTimes);

  auto& frame = gSettings.Frame;
  auto& watermark = gSettings.Watermark;
  struct Case {
    const char* name;
    std::function<void()> set;
    FIBITMAP* (*stage)(FIBITMAP*, int, int);
  };
  const Case cases[] = {
      {"frame off", [&] { frame.DoFrame = 0; }, ApplyFrame},
      {"frame 20 px",
       [&] {
         frame.DoFrame = 1;
         frame.SolidLeft = frame.SolidRight = frame.SolidTop = frame.SolidBottom = 20;
       },
       ApplyFrame},
      {"frame, opacity 128", [&] { frame.SolidOpacity = 128; }, ApplyFrame},
      {"watermark off", [&] { watermark.DoWatermark = 0; }, ApplyWatermark},
      {"text watermark", [&] { watermark.DoWatermark = 1; }, ApplyWatermark},
      {"text, antialiased", [&] { watermark.TextAntialiasing = 1; }, ApplyWatermark},
  };
  LoadWatermarkFont();
  std::printf("\nStages on the tone-mapped 2048 x 1024 image, median of %d rounds\n", rounds);
  std::printf("%-20s %12s %14s\n", "stage", "time (ms)", "of tone map");
  std::printf("%-20s %12.2f %14.4f\n", "tone mapping", tone * 1e3, 1.0);
  for (const Case& c : cases) {
    c.set();
    if (c.stage == ApplyWatermark) LoadWatermarkFont();
    const double t = StageSeconds(mapped, rounds, c.stage);
    std::printf("%-20s %12.2f %14.4f\n", c.name, t * 1e3, t / tone);
  }
  ReleaseWatermarkFont();
  FreeImage_Unload(mapped);
  ResetSettings(true);
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  InitialiseImageLibraries();
  ResetSettings(true);
  TempFolder dir;
  const std::string input = dir / "bench.hdr";
  WriteRadiance(input, Scene(2048, 1024));
  gContext.outputFolder = dir / "out/";
  MakeFolder(gContext.outputFolder);

  std::printf("2048 x 1024 Radiance file, median of %d rounds\n", rounds);
  std::printf("%-14s %12s %12s %8s\n", "run", "engine (s)", "bare (s)", "ratio");
  struct Run {
    const char* label;
    std::string ext;
    bool decorated;  // with a frame and a text watermark, which the bare calls do not draw
  };
  for (const Run& run :
       {Run{"png", "png", false}, Run{"jpg", "jpg", false}, Run{"png + frame/wm", "png", true}}) {
    const std::string& ext = run.ext;
    SetDecorations(run.decorated);
    PrepareOutputFormat(ext);
    const int flags = gContext.outputFormat.saveFlags;
    std::vector<double> engine, bare;
    auto runBare = [&] {
      bare.push_back(Seconds([&] { BareCalls(input, dir / ("bare." + ext), ext, flags); }));
    };
    auto runEngine = [&] {
      engine.push_back(Seconds([&] {
        PrepareOutputFormat(ext);
        gContext.inputPath = input;
        if (!ConvertFile()) std::fprintf(stderr, "conversion failed\n");
      }));
    };
    for (int i = 0; i < rounds; ++i) {
      // Take turns at going first, so caches and drift of the machine touch both alike.
      if (i % 2)
        runBare(), runEngine();
      else
        runEngine(), runBare();
    }
    std::printf("%-14s %12.3f %12.3f %8.3f\n", run.label, Median(engine), Median(bare),
                Median(engine) / Median(bare));
  }
  SetDecorations(false);
  StageCosts(input, rounds);
  return 0;
}
