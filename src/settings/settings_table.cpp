// The table of every setting, in the order the configuration file writes them.
#include "settings_table.h"

#include "keyword_ids.h"

namespace {

using K = SettingKind;
using O = OptionKind;

#define FIELD(path) [](Settings& s) -> FieldPtr { return &s.path; }

// Chains the optional parts of a row onto it.
struct Row : SettingDef {
  Row(const char* g, const char* k, SettingKind how, FieldAccess f, double def) {
    group = g, key = k, kind = how, field = f, number = def;
  }
  Row(const char* g, const char* k, SettingKind how, FieldAccess f, const char* def) {
    group = g, key = k, kind = how, field = f, text = def;
  }
  Row& Rule(DefaultRule r) { return rule = r, *this; }
  Row& Format(const char* ext) { return format = ext, *this; }
  Row& Missing(int32_t value) { return hasMissingValue = true, missingValue = value, *this; }
  Row& Opt(const char* name, OptionKind how, int table = -1) {
    return option = name, optionKind = how, keywordTable = table, *this;
  }
  Row& FlagOpt(const char* name, int8_t value = 1) {
    return option = name, optionKind = O::Flag, flagValue = value, *this;
  }
  Row& Also(FieldAccess flag, int8_t value = 1) {
    return sideFlag = flag, sideValue = value, *this;
  }
  Row& Profile(const char* name) { return profileOption = name, *this; }
};

constexpr const char* kColorList = "000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF";

// The BPP row of one output format: key "EXT BPP", option "--EXT-BPP".
Row Bpp(const char* ext, const char* key, const char* option, FieldAccess field) {
  return Row("Output", key, K::Int32, field, 0.0).Format(ext).Opt(option, O::Integer);
}

std::vector<SettingDef> BuildTable() {
  std::vector<Row> rows = {
      Row("General", "CFG", K::Int32, FIELD(General.CFG), ConfigVersion).Missing(0),
      Row("General", "Language", K::Text, FIELD(General.Language), "en"),
      Row("General", "Update Range", K::IntEnum, FIELD(General.UpdateRange), 2.0),
      Row("General", "Update Date", K::Date, FIELD(General.UpdateDate), 0.0).Rule(DefaultRule::Now),
      Row("General", "Save Window Position", K::Flag, FIELD(General.SaveWindowPosition), 1.0),

      Row("Window", "IsMaximized", K::Flag, FIELD(Window.IsMaximized), 0.0),
      Row("Window", "Width", K::Int32, FIELD(Window.Width), 510.0),
      Row("Window", "Height", K::Int32, FIELD(Window.Height), 330.0),
      Row("Window", "X", K::Int32, FIELD(Window.X), 0.0).Rule(DefaultRule::CentredX).Missing(100),
      Row("Window", "Y", K::Int32, FIELD(Window.Y), 0.0).Rule(DefaultRule::CentredY).Missing(100),

      Row("Interface", "UI Theme", K::Text, FIELD(Interface.UITheme), "handdrawn"),
      Row("Interface", "UI Size", K::IntEnum, FIELD(Interface.UISize), 2.0),

      Row("Input", "Format", K::Text, FIELD(Input.Format), "").Rule(DefaultRule::FirstInputFormat),
      Row("Input", "DDS Load As", K::IntEnum, FIELD(Input.DDSLoadAs), 0.0)
          .Format("dds")
          .Opt("--DDS-LOAD-AS", O::Keyword, KwDdsLoad),
      Row("Input", "GIF Frame Loading", K::IntEnum, FIELD(Input.GIFFrameLoading), 0.0)
          .Format("gif")
          .Opt("--GIF-FRAME-LOADING", O::Keyword, KwFrameChoice),
      Row("Input", "ICO Frame Loading", K::IntEnum, FIELD(Input.ICOFrameLoading), 0.0)
          .Format("ico")
          .Opt("--ICO-FRAME-LOADING", O::Keyword, KwFrameChoice),
      Row("Input", "PSD Color Mode", K::IntEnum, FIELD(Input.PSDColorMode), 0.0)
          .Format("psd")
          .Opt("--PSD-COLOR-MODE", O::Keyword, KwColorMode),
      Row("Input", "RAW Load As", K::IntEnum, FIELD(Input.RAWLoadAs), 0.0)
          .Format("raw")
          .Opt("--RAW-LOAD-AS", O::Keyword, KwRawLoad),
      Row("Input", "RAW Header Size", K::Int32, FIELD(Input.RAWHeaderSize), 0.0)
          .Format("raw")
          .Opt("--RAW-HEADER-SIZE", O::Integer),
      Row("Input", "RAW Image Width", K::Int32, FIELD(Input.RAWImageWidth), 0.0)
          .Format("raw")
          .Opt("--RAW-WIDTH", O::Integer),
      Row("Input", "RAW Image Height", K::Int32, FIELD(Input.RAWImageHeight), 0.0)
          .Format("raw")
          .Opt("--RAW-HEIGHT", O::Integer),
      Row("Input", "RAW Tone Mapping", K::IntEnum, FIELD(Input.RAWToneMapping), 2.0)
          .Format("raw")
          .Opt("--RAW-TONE-MAPPING", O::Keyword, KwToneMapping),
      Row("Input", "TIFF Frame Loading", K::IntEnum, FIELD(Input.TIFFFrameLoading), 0.0)
          .Format("tiff")
          .Opt("--TIFF-FRAME-LOADING", O::Keyword, KwFrameChoice),

      Row("Output", "Format", K::Text, FIELD(Output.Format), "")
          .Rule(DefaultRule::FirstOutputFormat),
      Bpp("bmp", "BMP BPP", "--BMP-BPP", FIELD(Output.BMPBPP)),
      Row("Output", "BMP Compression", K::IntEnum, FIELD(Output.BMPCompression), 0.0)
          .Format("bmp")
          .Opt("--BMP-COMPRESSION", O::Keyword, KwCompression),
      Row("Output", "BMP Color Table", K::IntEnum, FIELD(Output.BMPColorTable), 0.0)
          .Format("bmp")
          .Opt("--BMP-COLOR-TABLE", O::Keyword, KwColorTable),
      Bpp("dds", "DDS BPP", "--DDS-BPP", FIELD(Output.DDSBPP)),
      Bpp("exr", "EXR BPP", "--EXR-BPP", FIELD(Output.EXRBPP)),
      Row("Output", "EXR Compression", K::IntEnum, FIELD(Output.EXRCompression), 0.0)
          .Format("exr")
          .Opt("--EXR-COMPRESSION", O::Keyword, KwCompression),
      Bpp("gif", "GIF BPP", "--GIF-BPP", FIELD(Output.GIFBPP)),
      Bpp("hdr", "HDR BPP", "--HDR-BPP", FIELD(Output.HDRBPP)),
      Bpp("ico", "ICO BPP", "--ICO-BPP", FIELD(Output.ICOBPP)),
      Bpp("j2k", "J2K BPP", "--J2K-BPP", FIELD(Output.J2KBPP)),
      Bpp("jng", "JNG BPP", "--JNG-BPP", FIELD(Output.JNGBPP)),
      Bpp("jp2", "JP2 BPP", "--JP2-BPP", FIELD(Output.JP2BPP)),
      Bpp("jpg", "JPG BPP", "--JPG-BPP", FIELD(Output.JPGBPP)),
      Row("Output", "JPG Quality", K::Int32, FIELD(Output.JPGQuality), 95.0)
          .Format("jpg")
          .Opt("--JPG-QUALITY", O::Integer),
      Row("Output", "JPG Chroma", K::IntEnum, FIELD(Output.JPGChroma), 0.0)
          .Format("jpg")
          .Opt("--JPG-CHROMA", O::Keyword, KwChroma),
      Row("Output", "JPG Save As", K::IntEnum, FIELD(Output.JPGSaveAs), 0.0)
          .Format("jpg")
          .Opt("--JPG-SAVE-AS", O::Keyword, KwJpegSave),
      Bpp("jxr", "JXR BPP", "--JXR-BPP", FIELD(Output.JXRBPP)),
      Bpp("pbm", "PBM BPP", "--PBM-BPP", FIELD(Output.PBMBPP)),
      Bpp("pcx", "PCX BPP", "--PCX-BPP", FIELD(Output.PCXBPP)),
      Bpp("pfm", "PFM BPP", "--PFM-BPP", FIELD(Output.PFMBPP)),
      Bpp("pgm", "PGM BPP", "--PGM-BPP", FIELD(Output.PGMBPP)),
      Bpp("png", "PNG BPP", "--PNG-BPP", FIELD(Output.PNGBPP)),
      Row("Output", "PNG Compression", K::IntEnum, FIELD(Output.PNGCompression), 0.0)
          .Format("png")
          .Opt("--PNG-COMPRESSION", O::Keyword, KwCompression),
      Row("Output", "PNG Interlaced", K::Flag, FIELD(Output.PNGInterlaced), 0.0)
          .Format("png")
          .FlagOpt("--PNG-INTERLACED"),
      Bpp("ppm", "PPM BPP", "--PPM-BPP", FIELD(Output.PPMBPP)),
      Bpp("psd", "PSD BPP", "--PSD-BPP", FIELD(Output.PSDBPP)),
      Bpp("tga", "TGA BPP", "--TGA-BPP", FIELD(Output.TGABPP)),
      Row("Output", "TGA Compression", K::IntEnum, FIELD(Output.TGACompression), 0.0)
          .Format("tga")
          .Opt("--TGA-COMPRESSION", O::Keyword, KwCompression),
      Bpp("tiff", "TIFF BPP", "--TIFF-BPP", FIELD(Output.TIFFBPP)),
      Row("Output", "TIFF Compression", K::IntEnum, FIELD(Output.TIFFCompression), 0.0)
          .Format("tiff")
          .Opt("--TIFF-COMPRESSION", O::Keyword, KwCompression),
      Row("Output", "TIFF Color Mode", K::IntEnum, FIELD(Output.TIFFColorMode), 0.0)
          .Format("tiff")
          .Opt("--TIFF-COLOR-MODE", O::Keyword, KwColorMode),
      Bpp("wbmp", "WBMP BPP", "--WBMP-BPP", FIELD(Output.WBMPBPP)),
      Bpp("webp", "WEBP BPP", "--WEBP-BPP", FIELD(Output.WEBPBPP)),
      Row("Output", "WEBP Quality", K::Int32, FIELD(Output.WEBPQuality), 100.0)
          .Format("webp")
          .Opt("--WEBP-QUALITY", O::Integer),
      Bpp("xpm", "XPM BPP", "--XPM-BPP", FIELD(Output.XPMBPP)),

      Row("Transform", "Do Image Rotation", K::Flag, FIELD(Transform.DoImageRotation), 0.0),
      Row("Transform", "Image Rotation Type", K::ByteEnum, FIELD(Transform.ImageRotationType), 0.0)
          .Opt("--ROTATION-TYPE", O::Keyword, KwRotationType),
      Row("Transform", "Image Rotation", K::Int32, FIELD(Transform.ImageRotation), 0.0)
          .Opt("--ROTATION", O::Integer)
          .Also(FIELD(Transform.DoImageRotation)),
      Row("Transform", "Image Rotation Back Color", K::Color,
          FIELD(Transform.ImageRotationBackColor), "000000")
          .Opt("--ROTATION-BACK-COLOR", O::Text),
      Row("Transform", "Do Image Resize", K::Flag, FIELD(Transform.DoImageResize), 0.0),
      Row("Transform", "Image Width", K::Int32, FIELD(Transform.ImageWidth), 0.0)
          .Opt("--WIDTH", O::Integer)
          .Also(FIELD(Transform.DoImageResize)),
      Row("Transform", "Image Width Unit", K::ByteEnum, FIELD(Transform.ImageWidthUnit), 0.0)
          .Opt("--WIDTH-UNIT", O::Keyword, KwSizeUnit),
      Row("Transform", "Image Height", K::Int32, FIELD(Transform.ImageHeight), 0.0)
          .Opt("--HEIGHT", O::Integer)
          .Also(FIELD(Transform.DoImageResize)),
      Row("Transform", "Image Height Unit", K::ByteEnum, FIELD(Transform.ImageHeightUnit), 0.0)
          .Opt("--HEIGHT-UNIT", O::Keyword, KwSizeUnit),
      Row("Transform", "Keep Aspect Ratio", K::Flag, FIELD(Transform.KeepAspectRatio), 0.0)
          .Rule(DefaultRule::KeepAspectRatio)
          .FlagOpt("--KEEP-ASPECT-RATIO"),
      Row("Transform", "Image Resize Type", K::ByteEnum, FIELD(Transform.ImageResizeType), 0.0)
          .Opt("--RESIZE-TYPE", O::Keyword, KwResizeType),
      Row("Transform", "Image Resize Algorithm", K::ByteEnum, FIELD(Transform.ImageResizeAlgorithm),
          3.0)
          .Opt("--RESIZE-ALGORITHM", O::Keyword, KwResizeFilter),
      Row("Transform", "Do Image Flip Horizontal", K::Flag, FIELD(Transform.DoImageFlipHorizontal),
          0.0)
          .FlagOpt("--FLIP-HORIZONTAL"),
      Row("Transform", "Do Image Flip Vertical", K::Flag, FIELD(Transform.DoImageFlipVertical), 0.0)
          .FlagOpt("--FLIP-VERTICAL"),

      Row("Adjustment", "Do Image Color Correction", K::Flag,
          FIELD(Adjustment.DoImageColorCorrection), 0.0),
      Row("Adjustment", "Image Brightness", K::Int32, FIELD(Adjustment.ImageBrightness), 0.0)
          .Opt("--BRIGHTNESS", O::Integer)
          .Also(FIELD(Adjustment.DoImageColorCorrection)),
      Row("Adjustment", "Image Contrast", K::Int32, FIELD(Adjustment.ImageContrast), 0.0)
          .Opt("--CONTRAST", O::Integer)
          .Also(FIELD(Adjustment.DoImageColorCorrection)),
      Row("Adjustment", "Image Gamma", K::Float, FIELD(Adjustment.ImageGamma), 1.0)
          .Opt("--GAMMA", O::Real)
          .Also(FIELD(Adjustment.DoImageColorCorrection)),
      Row("Adjustment", "Image Invert", K::Flag, FIELD(Adjustment.ImageInvert), 0.0)
          .FlagOpt("--INVERT")
          .Also(FIELD(Adjustment.DoImageColorCorrection)),
      Row("Adjustment", "Do Image Greyscale", K::Flag, FIELD(Adjustment.DoImageGreyscale), 0.0)
          .FlagOpt("--GREYSCALE"),
      Row("Adjustment", "Do Image Threshold", K::Flag, FIELD(Adjustment.DoImageThreshold), 0.0),
      Row("Adjustment", "Image Threshold", K::Int32, FIELD(Adjustment.ImageThreshold), 0.0)
          .Opt("--THRESHOLD", O::Integer)
          .Also(FIELD(Adjustment.DoImageThreshold)),
      Row("Adjustment", "Do Image Dither", K::Flag, FIELD(Adjustment.DoImageDither), 0.0),
      Row("Adjustment", "Image Dither Algorithm", K::ByteEnum,
          FIELD(Adjustment.ImageDitherAlgorithm), 0.0)
          .Opt("--DITHER", O::Keyword, KwDither)
          .Also(FIELD(Adjustment.DoImageDither)),

      Row("Frame", "Do Frame", K::ByteEnum, FIELD(Frame.DoFrame), 0.0),
      Row("Frame", "Solid Left", K::Int32, FIELD(Frame.SolidLeft), 0.0)
          .Opt("--FR-SOLID-LEFT", O::Integer)
          .Also(FIELD(Frame.DoFrame)),
      Row("Frame", "Solid Right", K::Int32, FIELD(Frame.SolidRight), 0.0)
          .Opt("--FR-SOLID-RIGHT", O::Integer)
          .Also(FIELD(Frame.DoFrame)),
      Row("Frame", "Solid Top", K::Int32, FIELD(Frame.SolidTop), 0.0)
          .Opt("--FR-SOLID-TOP", O::Integer)
          .Also(FIELD(Frame.DoFrame)),
      Row("Frame", "Solid Bottom", K::Int32, FIELD(Frame.SolidBottom), 0.0)
          .Opt("--FR-SOLID-BOTTOM", O::Integer)
          .Also(FIELD(Frame.DoFrame)),
      Row("Frame", "Solid Left Color", K::Color, FIELD(Frame.SolidLeftColor), "000000")
          .Opt("--FR-SOLID-LEFT-COLOR", O::Text),
      Row("Frame", "Solid Right Color", K::Color, FIELD(Frame.SolidRightColor), "000000")
          .Opt("--FR-SOLID-RIGHT-COLOR", O::Text),
      Row("Frame", "Solid Top Color", K::Color, FIELD(Frame.SolidTopColor), "000000")
          .Opt("--FR-SOLID-TOP-COLOR", O::Text),
      Row("Frame", "Solid Bottom Color", K::Color, FIELD(Frame.SolidBottomColor), "000000")
          .Opt("--FR-SOLID-BOTTOM-COLOR", O::Text),
      Row("Frame", "Solid Opacity", K::Int32, FIELD(Frame.SolidOpacity), 255.0)
          .Opt("--FR-SOLID-OPACITY", O::Integer)
          .Profile("--WM-SOLID-OPACITY"),

      Row("Watermark", "Do Watermark", K::ByteEnum, FIELD(Watermark.DoWatermark), 0.0),
      Row("Watermark", "Text", K::Text, FIELD(Watermark.Text), "Made with Brivanta HDR to IMAGE")
          .Opt("--WM-TEXT", O::Text)
          .Also(FIELD(Watermark.DoWatermark), 1),
      Row("Watermark", "Fonts", K::Text, FIELD(Watermark.Fonts), "Arial,Tahoma,Verdana"),
      Row("Watermark", "Font", K::Text, FIELD(Watermark.Font), "Arial").Opt("--WM-FONT", O::Text),
      Row("Watermark", "Font Size", K::Int32, FIELD(Watermark.FontSize), 14.0)
          .Opt("--WM-FONT-SIZE", O::Integer),
      Row("Watermark", "Font Leading", K::Int32, FIELD(Watermark.FontLeading), 0.0)
          .Opt("--WM-FONT-LEADING", O::Integer),
      Row("Watermark", "Font Colors", K::Text, FIELD(Watermark.FontColors), kColorList),
      Row("Watermark", "Font Color", K::Color, FIELD(Watermark.FontColor), "FFFFFF")
          .Opt("--WM-FONT-COLOR", O::Text),
      Row("Watermark", "Font Style", K::ByteEnum, FIELD(Watermark.FontStyle), 0.0)
          .Opt("--WM-FONT-STYLE", O::Keyword, KwFontStyle),
      Row("Watermark", "Font Effect", K::ByteEnum, FIELD(Watermark.FontEffect), 0.0)
          .Opt("--WM-FONT-EFFECT", O::Keyword, KwFontEffect),
      Row("Watermark", "Text Antialiasing", K::Flag, FIELD(Watermark.TextAntialiasing), 0.0)
          .FlagOpt("--WM-TEXT-ANTIALIASING"),
      Row("Watermark", "Text Alignment", K::ByteEnum, FIELD(Watermark.TextAlignment), 0.0)
          .Opt("--WM-TEXT-ALIGNMENT", O::Keyword, KwAlignment),
      Row("Watermark", "Text Padding", K::Int32, FIELD(Watermark.TextPadding), 0.0)
          .Opt("--WM-TEXT-PADDING", O::Integer),
      Row("Watermark", "Text Opacity", K::Int32, FIELD(Watermark.TextOpacity), 255.0)
          .Opt("--WM-TEXT-OPACITY", O::Integer),
      Row("Watermark", "Back Colors", K::Text, FIELD(Watermark.BackColors), kColorList),
      Row("Watermark", "Back Color", K::Color, FIELD(Watermark.BackColor), "000000")
          .Opt("--WM-BACK-COLOR", O::Text),
      Row("Watermark", "Back Opacity", K::Int32, FIELD(Watermark.BackOpacity), 1.0)
          .Opt("--WM-BACK-OPACITY", O::Integer),
      Row("Watermark", "Text Boundary", K::ByteEnum, FIELD(Watermark.TextBoundary), 0.0)
          .Opt("--WM-TEXT-BOUNDARY", O::Keyword, KwBoundary),
      Row("Watermark", "Text Position", K::ByteEnum, FIELD(Watermark.TextPosition), 8.0)
          .Opt("--WM-TEXT-POSITION", O::Keyword, KwPosition),
      Row("Watermark", "Text X Offset", K::Int32, FIELD(Watermark.TextXOffset), 10.0)
          .Opt("--WM-TEXT-X-OFFSET", O::Integer),
      Row("Watermark", "Text Y Offset", K::Int32, FIELD(Watermark.TextYOffset), 10.0)
          .Opt("--WM-TEXT-Y-OFFSET", O::Integer),
      Row("Watermark", "Text Rotation", K::Int32, FIELD(Watermark.TextRotation), 0.0)
          .Opt("--WM-TEXT-ROTATION", O::Integer),
      Row("Watermark", "Text Size", K::ByteEnum, FIELD(Watermark.TextSize), 0.0)
          .Opt("--WM-TEXT-SIZE", O::Keyword, KwSizeMode),
      Row("Watermark", "Text Scale", K::Int32, FIELD(Watermark.TextScale), 10.0),
      Row("Watermark", "Image", K::Text, FIELD(Watermark.Image), "")
          .Opt("--WM-IMAGE", O::Text)
          .Also(FIELD(Watermark.DoWatermark), 2),
      Row("Watermark", "Image Greyscale", K::Flag, FIELD(Watermark.ImageGreyscale), 0.0)
          .FlagOpt("--WM-IMAGE-GREYSCALE"),
      Row("Watermark", "Image Opacity", K::Int32, FIELD(Watermark.ImageOpacity), 255.0)
          .Opt("--WM-IMAGE-OPACITY", O::Integer),
      Row("Watermark", "Image Boundary", K::ByteEnum, FIELD(Watermark.ImageBoundary), 0.0)
          .Opt("--WM-IMAGE-BOUNDARY", O::Keyword, KwBoundary),
      Row("Watermark", "Image Position", K::ByteEnum, FIELD(Watermark.ImagePosition), 8.0)
          .Opt("--WM-IMAGE-POSITION", O::Keyword, KwPosition),
      Row("Watermark", "Image X Offset", K::Int32, FIELD(Watermark.ImageXOffset), 10.0)
          .Opt("--WM-IMAGE-X-OFFSET", O::Integer),
      Row("Watermark", "Image Y Offset", K::Int32, FIELD(Watermark.ImageYOffset), 10.0)
          .Opt("--WM-IMAGE-Y-OFFSET", O::Integer),
      Row("Watermark", "Image Rotation", K::Int32, FIELD(Watermark.ImageRotation), 0.0)
          .Opt("--WM-IMAGE-ROTATION", O::Integer),
      Row("Watermark", "Image Size", K::ByteEnum, FIELD(Watermark.ImageSize), 0.0)
          .Opt("--WM-IMAGE-SIZE", O::Keyword, KwSizeMode),
      Row("Watermark", "Image Scale", K::Int32, FIELD(Watermark.ImageScale), 10.0),

      Row("Advanced", "Filename Mask", K::Text, FIELD(Advanced.FilenameMask), "%filename%.%ext%")
          .Opt("--FILENAME-MASK", O::Text),
      Row("Advanced", "File Timestamp", K::ByteEnum, FIELD(Advanced.FileTimestamp), 0.0)
          .Opt("--FILE-TIMESTAMP", O::Keyword, KwFileTimestamp),
      Row("Advanced", "Custom Timestamp", K::Date, FIELD(Advanced.CustomTimestamp), 0.0)
          .Rule(DefaultRule::Now)
          .Opt("--FILE-TIMESTAMP-CUSTOM", O::Integer),
      Row("Advanced", "Out Folders History", K::ByteEnum, FIELD(Advanced.OutFoldersHistory), 1.0),
      Row("Advanced", "Out Folders Number", K::Int32, FIELD(Advanced.OutFoldersNumber), 5.0),
      Row("Advanced", "Keep Subfolders", K::Flag, FIELD(Advanced.KeepSubfolders), 1.0)
          .FlagOpt("--NO-SUBFOLDERS", 0),

      Row("File", "Recent Out Folders", K::Text, FIELD(File.RecentOutFolders), ""),
      Row("File", "Recent Files", K::Text, FIELD(File.RecentFiles), ""),

      Row("Privacy", "Clean Recent Files", K::Flag, FIELD(Privacy.CleanRecentFiles), 0.0),
  };
  return std::vector<SettingDef>(rows.begin(), rows.end());
}

#undef FIELD

}  // namespace

const std::vector<SettingDef>& SettingsTable() {
  static const std::vector<SettingDef> table = BuildTable();
  return table;
}

const SettingDef* FindSetting(const std::string& group, const std::string& key) {
  for (const SettingDef& def : SettingsTable())
    if (group == def.group && key == def.key) return &def;
  return nullptr;
}
