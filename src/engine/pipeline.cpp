// One Radiance file through the whole pipeline, from load to the saved output file.
#include "pipeline.h"

#include "context.h"
#include "encoding.h"
#include "files.h"
#include "image_ptr.h"
#include "naming.h"
#include "output_writer.h"
#include "radiance_header.h"
#include "settings.h"
#include "stages.h"

namespace {

FIBITMAP* LoadRadiance(const std::string& path) {
  // Some malformed headers crash the decoder; they never reach it.
  if (!CheckRadianceHeader(path)) return nullptr;
  return FreeImage_Load(FIF_HDR, path.c_str(), 0);
}

// Icons hold at most 128 x 128 pixels here: a larger image is scaled to exactly that.
FIBITMAP* ApplyIconLimit(FIBITMAP* image, int& width, int& height) {
  if (!image || gContext.outputFormat.extension != "ico" || (width <= 128 && height <= 128))
    return image;
  width = height = 128;
  ImagePtr source(image);
  return FreeImage_Rescale(source.get(), 128, 128, FILTER_BICUBIC);
}

FIBITMAP* ToStandardType(FIBITMAP* image) {
  if (!image) return nullptr;
  const FREE_IMAGE_COLOR_TYPE type = FreeImage_GetColorType(image);
  if (type != FIC_MINISWHITE && type != FIC_MINISBLACK) return image;
  ImagePtr source(image);
  return FreeImage_ConvertToStandardType(source.get(), TRUE);
}

void ReadSize(FIBITMAP* image, int& width, int& height) {
  width = image ? static_cast<int>(FreeImage_GetWidth(image)) : 0;
  height = image ? static_cast<int>(FreeImage_GetHeight(image)) : 0;
}

// Writes the temporary file, then renames it over the output: an existing output is never
// lost to a failed save, and a failed save leaves no file behind.
bool Save(FIBITMAP* image) {
  const std::string& temporary = gContext.temporaryPath;
  if (WriteOutputFile(image, temporary) && RenameFile(temporary, gContext.outputPath)) return true;
  RemoveFile(temporary);
  return false;
}

}  // namespace

bool ConvertFile() {
  ImagePtr image(LoadRadiance(gContext.inputPath));
  int width = 0, height = 0;
  ReadSize(image.get(), width, height);
  if (width == 0 || height == 0) return false;
  gContext.sourceDepth = static_cast<int32_t>(FreeImage_GetBPP(image.get()));

  image.reset(ApplyRotation(image.release()));
  ReadSize(image.get(), width, height);
  image.reset(ApplyResize(image.release(), width, height));
  ReadSize(image.get(), width, height);
  image.reset(ApplyIconLimit(image.release(), width, height));
  image.reset(ToStandardType(image.release()));
  image.reset(ApplyToneMapping(image.release()));
  if (image) ApplyFlip(image.get());
  image.reset(ApplyColorAdjustments(image.release()));
  image.reset(ApplyGreyscale(image.release()));
  image.reset(ApplyThreshold(image.release()));
  image.reset(ApplyDither(image.release()));
  image.reset(ApplyFrame(image.release(), width, height));
  gContext.namingWidth = width;
  gContext.namingHeight = height;
  gContext.frameNumber = 1;
  image.reset(ApplyWatermark(image.release(), width, height));
  image.reset(ConvertToOutputDepth(image.release()));

  gContext.outputPath = BuildOutputPath();
  gContext.temporaryPath = BuildTemporaryPath();
  return image && Save(image.get());
}

void EnsureOutputFolder() {
  const std::string& relative = gContext.relativeFolder;
  std::string path = gContext.outputFolder;
  if (IsFolder(path + relative)) return;
  for (size_t start = 0, slash; (slash = relative.find('/', start)) != std::string::npos;
       start = slash + 1) {
    path += relative.substr(start, slash - start + 1);
    if (!IsFolder(path)) MakeFolder(path);
  }
}
