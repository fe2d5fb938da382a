// The one process-wide record of every option, grouped as the configuration file groups it.
#pragma once

#include <cstdint>
#include <string>

// Field kinds: flags and byte enums are int8_t, int enums, numbers and dates int32_t,
// colours six hexadecimal digits RRGGBB held as text.
struct Settings {
  struct {
    int32_t CFG;
    std::string Language;
    int32_t UpdateRange;
    int32_t UpdateDate;
    int8_t SaveWindowPosition;
  } General;

  struct {
    int8_t IsMaximized;
    int32_t X, Y, Width, Height;
  } Window;

  struct {
    std::string UITheme;
    int32_t UISize;
  } Interface;

  // Besides Format, settings of input formats this program does not read; kept and
  // settable so profiles written for them still load.
  struct {
    std::string Format;
    int32_t DDSLoadAs;
    int32_t GIFFrameLoading, ICOFrameLoading, TIFFFrameLoading;
    int32_t PSDColorMode;
    int32_t RAWLoadAs, RAWHeaderSize, RAWImageWidth, RAWImageHeight, RAWToneMapping;
  } Input;

  struct {
    std::string Format;
    int32_t BMPBPP, BMPCompression, BMPColorTable;
    int32_t DDSBPP;
    int32_t EXRBPP, EXRCompression;
    int32_t GIFBPP, HDRBPP, ICOBPP, J2KBPP, JNGBPP, JP2BPP;
    int32_t JPGBPP, JPGQuality, JPGChroma, JPGSaveAs;
    int32_t JXRBPP, PBMBPP, PCXBPP, PFMBPP, PGMBPP;
    int32_t PNGBPP, PNGCompression;
    int8_t PNGInterlaced;
    int32_t PPMBPP, PSDBPP;
    int32_t TGABPP, TGACompression;
    int32_t TIFFBPP, TIFFCompression, TIFFColorMode;
    int32_t WBMPBPP;
    int32_t WEBPBPP, WEBPQuality;
    int32_t XPMBPP;
  } Output;

  struct {
    int8_t DoImageRotation, ImageRotationType;
    int32_t ImageRotation;
    std::string ImageRotationBackColor;
    int8_t DoImageResize;
    int32_t ImageWidth;
    int8_t ImageWidthUnit;
    int32_t ImageHeight;
    int8_t ImageHeightUnit, KeepAspectRatio, ImageResizeType, ImageResizeAlgorithm;
    int8_t DoImageFlipHorizontal, DoImageFlipVertical;
  } Transform;

  struct {
    int8_t DoImageColorCorrection;
    int32_t ImageBrightness, ImageContrast;
    float ImageGamma;
    int8_t ImageInvert, DoImageGreyscale, DoImageThreshold;
    int32_t ImageThreshold;
    int8_t DoImageDither, ImageDitherAlgorithm;
  } Adjustment;

  struct {
    int8_t DoFrame;
    int32_t SolidLeft, SolidRight, SolidTop, SolidBottom;
    std::string SolidLeftColor, SolidRightColor, SolidTopColor, SolidBottomColor;
    int32_t SolidOpacity;
  } Frame;

  struct {
    int8_t DoWatermark;
    std::string Text, Fonts, Font;
    int32_t FontSize, FontLeading;
    std::string FontColors, FontColor;
    int8_t FontStyle, FontEffect, TextAntialiasing, TextAlignment;
    int32_t TextPadding, TextOpacity;
    std::string BackColors, BackColor;
    int32_t BackOpacity;
    int8_t TextBoundary, TextPosition;
    int32_t TextXOffset, TextYOffset, TextRotation;
    int8_t TextSize;
    int32_t TextScale;
    std::string Image;
    int8_t ImageGreyscale;
    int32_t ImageOpacity;
    int8_t ImageBoundary, ImagePosition;
    int32_t ImageXOffset, ImageYOffset, ImageRotation;
    int8_t ImageSize;
    int32_t ImageScale;
  } Watermark;

  struct {
    std::string FilenameMask;
    int8_t FileTimestamp;
    int32_t CustomTimestamp;
    int8_t OutFoldersHistory, OutFoldersNumber, KeepSubfolders;
  } Advanced;

  struct {
    std::string RecentOutFolders, RecentFiles;
  } File;

  struct {
    int8_t CleanRecentFiles;
  } Privacy;

  // Not settings: set once at start-up, never reset and never stored.
  std::string ConfigPath;
};

extern Settings gSettings;

inline constexpr int32_t ConfigVersion = 19;

// Puts every setting to its default; Keep Aspect Ratio defaults to 0 for the console and 1
// for the desktop. The configuration path is left alone.
void ResetSettings(bool consoleDefaults);

// Size of the primary desktop, for centring the default window; the window face tells it
// before the first reset, and 0 x 0 (unknown) places the window at 100, 100.
void SetDesktopSize(int width, int height);

struct Color {
  uint8_t red = 0, green = 0, blue = 0;
  bool operator==(const Color& other) const {
    return red == other.red && green == other.green && blue == other.blue;
  }
};

// RRGGBB in either letter case; any text that is not six characters long is black.
Color ParseHexColor(const std::string& text);
// Upper-case RRGGBB.
std::string ColorToHex(Color color);

// Entry index of a TAB-separated folder history, without surrounding spaces; empty past the end.
std::string RecentListAt(const std::string& list, int index);
// The history with folder put first, entries equal to it in upper case dropped, and at most
// maxEntries entries kept (just the folder when maxEntries is 0 or less).
std::string AddToRecentList(const std::string& list, const std::string& folder, int maxEntries);
