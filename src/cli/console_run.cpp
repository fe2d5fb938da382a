// The console conversion run: checks, debug echo of the settings, import, conversion.
#include "console_run.h"

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <thread>

#include "console.h"
#include "context.h"
#include "encoding.h"
#include "files.h"
#include "folder_scan.h"
#include "formats.h"
#include "identity.h"
#include "input_table.h"
#include "keyword_ids.h"
#include "keywords.h"
#include "progress.h"
#include "settings.h"
#include "settings_table.h"
#include "text_table.h"
#include "unicode.h"
#include "watermark.h"
#include "worker.h"

namespace {

constexpr int kAllConverted = 0, kNothingDone = 1, kSomeFailed = 2;

struct Run {
  bool quiet;
  bool debug = gContext.consoleMessageMode == "DEBUG";

  void Progress(const std::string& line) const {
    if (!quiet) ConsoleLine(line);
  }
  void Debug(const std::string& line) const {
    if (debug) ConsoleLine(line);
  }
  // Prints an error line; the run ends with it.
  static bool Fail(const std::string& line) {
    ConsoleErrorLine(line);
    return false;
  }
};

std::string Number(int64_t value) {
  return std::to_string(value);
}
std::string Keyword(int table, int value) {
  return KeywordName(table, value);
}

std::string CurrentFolder() {
  char buffer[PATH_MAX];
  return getcwd(buffer, sizeof buffer) ? WithTrailingSlash(buffer) : std::string("./");
}

// A folder as the run uses it: absolute, ending in "/". Relative folders are taken from the
// current folder, as the shell that typed them means them. False for one that starts "..".
bool ResolveFolder(std::string& folder) {
  if (folder.rfind("..", 0) == 0) return false;
  if (folder.empty() || folder[0] != '/') {
    if (folder.rfind("./", 0) == 0) folder.erase(0, 2);
    folder = CurrentFolder() + folder;
  }
  folder = WithTrailingSlash(folder);
  return true;
}

bool CheckInput(const Run& run) {
  const std::string text = gInput.InputRoot;
  run.Debug("Input: " + text);
  if (!ExtensionOf(text).empty()) {
    gInput.InputPath = text;
    gInput.InputRoot.clear();
    return FileSize(text) > 0 || Run::Fail("Error: Invalid input file");
  }
  if (!ResolveFolder(gInput.InputRoot)) return Run::Fail("Error: Incorrect input folder");
  return IsFolder(gInput.InputRoot) || Run::Fail("Error: Invalid input folder");
}

bool CheckOutput(const Run& run) {
  std::string& output = gInput.OutputFolder;
  if (output.empty())
    output = gInput.InputRoot.empty() ? FolderOf(gInput.InputPath) : gInput.InputRoot;
  run.Debug("Output: " + output);
  if (!ResolveFolder(output)) return Run::Fail("Error: Incorrect output folder");
  return IsFolder(output) || Run::Fail("Error: Invalid output folder");
}

// The format's own debug lines, then its depth and quality checks.
bool CheckFormat(const Run& run, const std::string& ext) {
  const auto& out = gSettings.Output;
  const std::string upper = AsciiUpper(ext);
  const FieldPtr bppField = FindSetting("Output", upper + " BPP")->field(gSettings);
  const int32_t bpp = *std::get<int32_t*>(bppField);
  run.Debug(upper + " BPP: " + Number(bpp));
  int32_t quality = 50;
  if (ext == "bmp") {
    run.Debug("BMP Compression: " + Keyword(KwCompression, out.BMPCompression));
    run.Debug("BMP Color Table: " + Keyword(KwColorTable, out.BMPColorTable));
  } else if (ext == "exr") {
    run.Debug("EXR Compression: " + Keyword(KwCompression, out.EXRCompression));
  } else if (ext == "jpg") {
    run.Debug("JPG Quality: " + Number(out.JPGQuality));
    run.Debug("JPG Chroma Subsampling: " + Keyword(KwChroma, out.JPGChroma));
    run.Debug("JPG Save As: " + Keyword(KwJpegSave, out.JPGSaveAs));
    quality = out.JPGQuality;
  } else if (ext == "png") {
    run.Debug("PNG Compression: " + Keyword(KwCompression, out.PNGCompression));
    run.Debug("PNG Interlaced: " + Number(out.PNGInterlaced));
  } else if (ext == "tga") {
    run.Debug("TGA Compression: " + Keyword(KwCompression, out.TGACompression));
  } else if (ext == "tiff") {
    run.Debug("TIFF Compression: " + Keyword(KwCompression, out.TIFFCompression));
    run.Debug("TIFF Color Mode: " + Keyword(KwColorMode, out.TIFFColorMode));
  } else if (ext == "webp") {
    run.Debug("WEBP Quality: " + Number(out.WEBPQuality));
    quality = out.WEBPQuality;
  }
  if (!IsAllowedDepth(ext, bpp)) return Run::Fail("Error: Invalid " + ext + "-bpp value");
  if (quality < 1 || quality > 100) return Run::Fail("Error: Invalid " + ext + "-quality value");
  return true;
}

bool CheckTransform(const Run& run) {
  const auto& t = gSettings.Transform;
  if (t.DoImageRotation) {
    run.Debug("Image Rotation Type: " + Keyword(KwRotationType, t.ImageRotationType));
    run.Debug("Image Rotation: " + Number(t.ImageRotation));
    run.Debug("Image Rotation Back Color: " + t.ImageRotationBackColor);
  }
  if (t.DoImageResize) {
    run.Debug("Width: " + Number(t.ImageWidth) + " " + Keyword(KwSizeUnit, t.ImageWidthUnit));
    if (t.ImageWidth == 0) return Run::Fail("Error: Invalid width value");
    run.Debug("Height: " + Number(t.ImageHeight) + " " + Keyword(KwSizeUnit, t.ImageHeightUnit));
    if (t.ImageHeight == 0) return Run::Fail("Error: Invalid height value");
    run.Debug("Keep Aspect Ratio: " + Number(t.KeepAspectRatio));
    run.Debug("Image Resize Type: " + Keyword(KwResizeType, t.ImageResizeType));
    run.Debug("Image Resize Algorithm: " + Keyword(KwResizeFilter, t.ImageResizeAlgorithm));
  }
  run.Debug("Flip Horizontal: " + Number(t.DoImageFlipHorizontal));
  run.Debug("Flip Vertical: " + Number(t.DoImageFlipVertical));
  return true;
}

bool CheckAdjustment(const Run& run) {
  const auto& a = gSettings.Adjustment;
  if (a.DoImageColorCorrection) {
    run.Debug("Brightness: " + Number(a.ImageBrightness));
    if (a.ImageBrightness < -100 || a.ImageBrightness > 100)
      return Run::Fail("Error: Invalid brightness value");
    run.Debug("Contrast: " + Number(a.ImageContrast));
    if (a.ImageContrast < -100 || a.ImageContrast > 100)
      return Run::Fail("Error: Invalid contrast value");
    char gamma[64];
    std::snprintf(gamma, sizeof gamma, "%.2f", static_cast<double>(a.ImageGamma));
    run.Debug(std::string("Gamma: ") + gamma);
    if (!(a.ImageGamma >= 0.01f && a.ImageGamma <= 9.99f))
      return Run::Fail("Error: Invalid gamma value");
    run.Debug("Invert: " + Number(a.ImageInvert));
  }
  run.Debug("Greyscale: " + Number(a.DoImageGreyscale));
  if (a.DoImageThreshold) run.Debug("Image Threshold: " + Number(a.ImageThreshold));
  if (a.DoImageDither)
    run.Debug("Image Dithering Algorithm: " + Keyword(KwDither, a.ImageDitherAlgorithm));
  return true;
}

void EchoFrame(const Run& run) {
  const auto& f = gSettings.Frame;
  run.Debug("Frame: " + Keyword(KwFrameKind, f.DoFrame));
  if (f.DoFrame != 1) return;
  run.Debug("Frame left: " + Number(f.SolidLeft));
  run.Debug("Frame right: " + Number(f.SolidRight));
  run.Debug("Frame top: " + Number(f.SolidTop));
  run.Debug("Frame bottom: " + Number(f.SolidBottom));
  run.Debug("Frame left color: " + f.SolidLeftColor);
  run.Debug("Frame right color: " + f.SolidRightColor);
  run.Debug("Frame top color: " + f.SolidTopColor);
  run.Debug("Frame bottom color: " + f.SolidBottomColor);
  run.Debug("Frame opacity: " + Number(f.SolidOpacity));
}

bool CheckWatermark(const Run& run) {
  const auto& w = gSettings.Watermark;
  run.Debug("Watermark: " + Keyword(KwWatermarkKind, w.DoWatermark));
  if (w.DoWatermark == 1) {
    run.Debug("Watermark text: " + w.Text);
    run.Debug("Watermark font: " + w.Font);
    run.Debug("Watermark font size: " + Number(w.FontSize));
    run.Debug("Watermark font leading: " + Number(w.FontLeading));
    run.Debug("Watermark font color: " + w.FontColor);
    run.Debug("Watermark font style: " + Keyword(KwFontStyle, w.FontStyle));
    run.Debug("Watermark font effect: " + Keyword(KwFontEffect, w.FontEffect));
    run.Debug("Watermark text antialiasing: " + Number(w.TextAntialiasing));
    run.Debug("Watermark text alignment: " + Keyword(KwAlignment, w.TextAlignment));
    run.Debug("Watermark text padding: " + Number(w.TextPadding));
    run.Debug("Watermark text opacity: " + Number(w.TextOpacity));
    run.Debug("Watermark background color: " + w.BackColor);
    run.Debug("Watermark background opacity: " + Number(w.BackOpacity));
    run.Debug("Watermark boundary: " + Keyword(KwBoundary, w.TextBoundary));
    run.Debug("Watermark position: " + Keyword(KwPosition, w.TextPosition));
    run.Debug("Watermark offset (x/y): " + Number(w.TextXOffset) + "/" + Number(w.TextYOffset));
    run.Debug("Watermark rotation: " + Number(w.TextRotation));
    run.Debug("Watermark size/mode: " + Keyword(KwSizeMode, w.TextSize));
    if (!LoadWatermarkFont()) return Run::Fail("Error: Invalid watermark font");
  } else if (w.DoWatermark == 2) {
    run.Debug("Watermark image: " + w.Image);
    run.Debug("Watermark greyscale: " + Number(w.ImageGreyscale));
    run.Debug("Watermark opacity: " + Number(w.ImageOpacity));
    run.Debug("Watermark boundary: " + Keyword(KwBoundary, w.ImageBoundary));
    run.Debug("Watermark position: " + Keyword(KwPosition, w.ImagePosition));
    run.Debug("Watermark offset (x/y): " + Number(w.ImageXOffset) + "/" + Number(w.ImageYOffset));
    run.Debug("Watermark rotation: " + Number(w.ImageRotation));
    run.Debug("Watermark size/mode: " + Keyword(KwSizeMode, w.ImageSize));
    if (FileSize(w.Image) <= 0) return Run::Fail("Error: Invalid watermark image");
  }
  return true;
}

void EchoAdvanced(const Run& run) {
  const auto& a = gSettings.Advanced;
  run.Debug("Filename Mask: " + a.FilenameMask);
  run.Debug("File Timestamp: " + Keyword(KwFileTimestamp, a.FileTimestamp));
  if (a.FileTimestamp == 2) run.Debug("Custom Timestamp: " + Number(a.CustomTimestamp));
  run.Debug("Keep Subfolders: " + Number(a.KeepSubfolders));
}

// Runs job on a thread of its own and waits for it, as the window face does behind a dialog.
int32_t RunJob(void (*job)()) {
  ResetProgress();
  gProgress.resultCount = 0;
  std::thread worker(job);
  worker.join();
  std::lock_guard<std::mutex> guard(gProgress.mutex);
  return gProgress.resultCount;
}

int32_t Import() {
  if (!gInput.InputRoot.empty()) return RunJob(ImportFolderWorker);
  const std::string ext = ExtensionOf(gInput.InputPath);
  if (ext == "txt" || ext == "lst") return RunJob(ImportListWorker);
  return AddInputFile(gInput.InputPath) ? 1 : 0;
}

}  // namespace

int RunConsoleConversion(bool quiet) {
  const Run run{quiet};
  run.Progress(GetText("General", "Preparing"));
  if (!CheckInput(run) || !CheckOutput(run)) return kNothingDone;

  std::string& ext = gContext.outputFormat.extension;
  if (ext.empty()) ext = OutputExtensions().front();
  run.Debug("Conversion: " + ext);
  if (OutputExtensionIndex(ext) < 0)
    return Run::Fail("Error: Invalid conversion type"), kNothingDone;
  if (!CheckFormat(run, ext) || !CheckTransform(run) || !CheckAdjustment(run)) return kNothingDone;
  EchoFrame(run);
  // The font the watermark check loads is kept for the run and released however it ends.
  struct FontRelease {
    ~FontRelease() { ReleaseWatermarkFont(); }
  } fontRelease;
  if (!CheckWatermark(run)) return kNothingDone;
  EchoAdvanced(run);

  PrepareOutputFormat(ext);
  gContext.outputFolder = gInput.OutputFolder;
  run.Progress(GetText("General", "Importing"));
  const int32_t imported = Import();
  run.Progress(FormatText(GetText("Msg", "Import complete"), Number(imported)));
  if (imported == 0) {
    ConsoleErrorLine(GetText("Msg", "Conversion is not complete"));
    ConsoleErrorLine(GetText("Msg", "Empty input files"));
    return kNothingDone;
  }

  run.Progress(GetText("General", "Converting"));
  const int32_t converted = RunJob(ConversionWorker);
  if (converted == 0) {
    ConsoleErrorLine(GetText("Msg", "Conversion is not complete"));
    return kSomeFailed;
  }
  run.Progress(GetText("Msg", "Conversion complete"));
  run.Progress(FormatText(GetText("Msg", "Files converted"), Number(converted), Number(imported)));
  return converted == imported ? kAllConverted : kSomeFailed;
}
