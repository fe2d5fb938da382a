// Numbers of the option keyword tables (the words that stand for enumerated values).
#pragma once

enum KeywordTableId {
  KwDdsLoad = 0,
  KwRawLoad = 1,
  KwFrameChoice = 2,
  KwToneMapping = 3,
  KwCompression = 4,
  KwColorTable = 5,
  KwColorMode = 6,
  KwChroma = 7,
  KwJpegSave = 8,
  KwRotationType = 9,
  KwSizeUnit = 10,
  KwResizeType = 11,
  KwResizeFilter = 12,
  KwDither = 13,
  KwFrameKind = 14,
  KwWatermarkKind = 15,
  KwFontStyle = 16,
  KwFontEffect = 17,
  KwAlignment = 18,
  KwBoundary = 19,
  KwPosition = 20,
  KwSizeMode = 21,
  KwFileTimestamp = 22,
};
