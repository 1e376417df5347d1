// The drawing tables: one JWW drawing in memory. Entity records mirror the
// file's object fields one to one and in file order, so that a drawing can be
// written back with every value that was read.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "drawing/jww_string.h"

namespace jww {

enum EntityKind : std::int32_t {
  kUnknown = 0,
  kLine = 1,
  kArc = 2,
  kPoint = 3,
  kText = 4,
  kDimension = 5,
  kSolid = 6,
  kBlockInsert = 7,
};
inline constexpr int kEntityKindCount = 7;

struct TEntAttr {
  std::uint32_t group = 0;
  std::uint8_t penStyle = 0;
  std::uint16_t penColour = 0;
  std::uint16_t penWidth = 0;
  std::uint16_t layer = 0;
  std::uint16_t layerGroup = 0;
  std::uint16_t flags = 0;
  friend bool operator==(const TEntAttr&, const TEntAttr&) = default;
};

struct TEntSen {
  TEntAttr attr;
  double startX = 0, startY = 0, endX = 0, endY = 0;
  friend bool operator==(const TEntSen&, const TEntSen&) = default;
};

struct TEntEnko {
  TEntAttr attr;
  double centreX = 0, centreY = 0, radius = 0, startAngle = 0, arcAngle = 0, tiltAngle = 0,
         flatness = 0;
  std::uint32_t fullCircle = 0;
  friend bool operator==(const TEntEnko&, const TEntEnko&) = default;
};

inline constexpr std::uint8_t kExtendedPointStyle = 100;

struct TEntTen {
  TEntAttr attr;
  double x = 0, y = 0;
  std::uint32_t temporary = 0;
  std::uint32_t code = 0;  // code, rotation, scale: only with pen style 100
  double rotation = 0, scale = 0;
  friend bool operator==(const TEntTen&, const TEntTen&) = default;
};

struct TEntMoji {
  TEntAttr attr;
  double startX = 0, startY = 0, endX = 0, endY = 0;
  std::uint32_t textType = 0;  // q * 10000 + r; r == 0 marks a free-size text
  double width = 0, height = 0, spacing = 0, angle = 0;
  JwwString fontName;
  JwwString text;
  friend bool operator==(const TEntMoji&, const TEntMoji&) = default;
};

struct TEntSunpo {
  TEntAttr attr;
  TEntSen line;
  TEntMoji valueText;
  std::uint16_t extensionMode = 0;  // extension: version 420 and later
  TEntSen auxLine1, auxLine2;
  TEntTen point1, point2, auxPoint1, auxPoint2;
  friend bool operator==(const TEntSunpo&, const TEntSunpo&) = default;
};

inline constexpr std::uint16_t kSolidRgbColour = 10;

struct TEntSolid {
  TEntAttr attr;
  double startX = 0, startY = 0, endX = 0, endY = 0, point2X = 0, point2Y = 0, point3X = 0,
         point3Y = 0;
  std::uint32_t rgbColour = 0;  // only with pen colour 10
  friend bool operator==(const TEntSolid&, const TEntSolid&) = default;
};

struct TEntBlock {
  TEntAttr attr;
  double originX = 0, originY = 0, scaleX = 0, scaleY = 0, rotation = 0;
  std::uint32_t definitionNumber = 0;
  friend bool operator==(const TEntBlock&, const TEntBlock&) = default;
};

struct TEntRef {
  std::int32_t kind = 0;
  std::int32_t index = 0;
  friend bool operator==(const TEntRef&, const TEntRef&) = default;
};

// The seven per-kind tables of one entity list (top level or a block
// definition) with the order in which the entities stood in the file.
struct EntityTables {
  std::vector<TEntSen> lines;
  std::vector<TEntEnko> arcs;
  std::vector<TEntTen> points;
  std::vector<TEntMoji> texts;
  std::vector<TEntSunpo> dimensions;
  std::vector<TEntSolid> solids;
  std::vector<TEntBlock> blockInserts;
  std::vector<TEntRef> order;

  // Empties every table; one that could hold more than `keep` entries gives
  // its memory back.
  void clear(std::size_t keep = SIZE_MAX);
  std::size_t entityCount() const {
    return lines.size() + arcs.size() + points.size() + texts.size() + dimensions.size() +
           solids.size() + blockInserts.size();
  }
  friend bool operator==(const EntityTables&, const EntityTables&) = default;
};

// A block definition time at or above this value is followed in the file by
// eight more bytes (a 64-bit time stamp).
inline constexpr std::uint32_t kExtendedTimeFlag = 0x80000000u;

struct TEntBlockDef {
  TEntAttr attr;
  std::uint32_t number = 0;
  std::uint32_t referenced = 0;
  std::uint32_t time = 0;                      // as stored
  std::array<std::uint8_t, 8> extendedTime{};  // the 8 bytes after an extended time
  JwwString name;
  std::int32_t entityCount = 0;  // as stored in the file
  EntityTables entities;
  friend bool operator==(const TEntBlockDef&, const TEntBlockDef&) = default;
};

struct TLayerGroup {
  std::uint32_t state = 0, writeLayer = 0;
  double scale = 0;
  std::uint32_t protect = 0;
  JwwString name;
  friend bool operator==(const TLayerGroup&, const TLayerGroup&) = default;
};

struct TLayer {
  std::uint32_t state = 0, protect = 0;
  JwwString name;
  friend bool operator==(const TLayer&, const TLayer&) = default;
};

struct TPen {
  std::uint32_t screenColour = 0, screenWidth = 0, printerColour = 0, printerWidth = 0;
  double printerPointRadius = 0;
  friend bool operator==(const TPen&, const TPen&) = default;
};

struct TLineType {
  std::uint32_t pattern = 0, unitDots = 0, pitch = 0, printerPitch = 0;
  friend bool operator==(const TLineType&, const TLineType&) = default;
};

struct TRandomLineType {
  std::uint32_t pattern = 0, amplitude = 0, pitch = 0, printerAmplitude = 0, printerPitch = 0;
  friend bool operator==(const TRandomLineType&, const TRandomLineType&) = default;
};

struct TColorExNo {
  std::uint32_t colour = 0, width = 0;
  JwwString name;
  std::uint32_t printerColour = 0, printerWidth = 0;
  double printerPointRadius = 0;
  friend bool operator==(const TColorExNo&, const TColorExNo&) = default;
};

struct TLineTypeExNo {
  std::uint32_t pattern = 0, unitDots = 0, pitch = 0, printerPitch = 0;
  JwwString name;
  std::uint32_t segmentCount = 0;
  std::array<double, 10> segments{};
  friend bool operator==(const TLineTypeExNo&, const TLineTypeExNo&) = default;
};

struct TTextType {
  double width = 0, height = 0, spacing = 0;
  std::uint32_t colour = 0;
  friend bool operator==(const TTextType&, const TTextType&) = default;
};

struct TZoomJump {
  double scale = 1.0, originX = 0, originY = 0;
  std::int32_t layerGroup = -1;
  friend bool operator==(const TZoomJump&, const TZoomJump&) = default;
};

struct TReservedZoom {
  std::array<double, 3> values{};
  std::uint32_t word = 0;
  friend bool operator==(const TReservedZoom&, const TReservedZoom&) = default;
};

inline constexpr int kLayerGroupCount = 16;
inline constexpr int kLayerCount = 256;
inline constexpr int kPenCount = 10;
inline constexpr int kLineTypeCount = 8;
inline constexpr int kRandomLineCount = 5;
inline constexpr int kDoubleLineCount = 4;
inline constexpr int kExtendedColourCount = 257;
inline constexpr int kExtendedLineTypeCount = 33;
inline constexpr int kTextTypeCount = 10;

struct THeader {
  std::string signature;  // up to 8 characters
  std::int32_t version = 0;
  JwwString memo;
  std::uint32_t paperSize = 0;
  std::uint32_t writeLayerGroup = 0;
  std::array<std::uint32_t, 14> reservedWords{};
  std::array<std::uint32_t, 5> dimensionSettings{};
  std::uint32_t reservedWord = 0;
  std::int32_t maxDrawWidth = 0;
  bool wideLineMode = false;       // derived from maxDrawWidth
  std::int32_t wideLineLevel = 0;  // derived from maxDrawWidth
  double printerOriginX = 0, printerOriginY = 0;
  double printerScale = 1.0;
  std::uint32_t printerSettings = 0;
  std::uint32_t scaleMarkMode = 0;
  double scaleMarkMinSpacing = 1.0;
  double scaleMarkXSpacing = 1.0, scaleMarkYSpacing = 1.0;
  double scaleMarkOriginX = 0, scaleMarkOriginY = 0;
  double shadowLevel = 0, shadowLatitude = 0;
  std::uint32_t shadowHoursFlag = 0;
  double wallShadowLevel = 0;
  double skyMapLevel = 0, skyMapRadius = 0;
  std::uint32_t unit25D = 0;
  double viewScale = 1.0;
  double viewOriginX = 0, viewOriginY = 0;
  double rangeScale = 1.0;
  double rangeOriginX = 0, rangeOriginY = 0;
  std::array<TZoomJump, 8> zoomJumps{};
  std::array<TReservedZoom, 2> reservedZooms{};
  std::array<double, 10> multiLineSpacings{};
  double bothSideMultiLineGap = 0;
  std::array<std::uint32_t, 10> displayFlags{};
  std::int32_t flag11Units = 0, flag11Tens = 0;  // display flag 11, split
  std::uint32_t drawingTime = 0;
  std::uint32_t eyeSet25D = 0;
  std::array<std::int32_t, 3> eyeAngles25D{};
  std::array<double, 5> eyeValues25D{};
  double lastLineLength = 0, lastBoxWidth = 0, lastBoxHeight = 0, lastCircleRadius = 0;
  std::uint32_t solidColourMode = 0, solidColour = 0;
  double currentTextWidth = 0, currentTextHeight = 0, currentTextSpacing = 0;
  std::uint32_t currentTextColour = 0, currentTextType = 0;
  double textArrangeLineSpacing = 0, textArrangeCount = 0;
  std::uint32_t textAnchorShiftOn = 0;
  std::array<double, 3> textAnchorShiftX{}, textAnchorShiftY{};
  std::int32_t entityCount = 0;
  std::int32_t blockDefinitionCount = 0;

  // Header tables (sized by the loader, empty after reset).
  std::vector<TLayerGroup> layerGroups;
  std::vector<TLayer> layers;  // index group * 16 + layer
  std::vector<TPen> pens;
  std::vector<TLineType> lineTypes;
  std::vector<TRandomLineType> randomLines;
  std::vector<TLineType> doubleLines;
  std::vector<TColorExNo> extendedColours;
  std::vector<TLineTypeExNo> extendedLineTypes;
  std::vector<TTextType> textTypes;  // text types 1..10 at indices 0..9

  friend bool operator==(const THeader&, const THeader&) = default;
};

struct TBindImageType {
  JwwString name;  // the image's file name as stored in the drawing
  std::uint32_t size = 0;
  std::uint8_t inUse = 0;
  // Where the loader put the bytes; empty when none were extracted. Temp files
  // carry names of our own, so a stored name can never reach outside the
  // temp folder.
  std::filesystem::path tempFile;
  // The stored fields; the mark and the temp file belong to one load.
  friend bool operator==(const TBindImageType& a, const TBindImageType& b) {
    return a.name == b.name && a.size == b.size;
  }
};

// Hands the header tables' memory from one header to another, both left
// with empty tables.
void MoveHeaderTables(THeader& from, THeader& to);
// Sizes the header tables that groups 1 to 15 hold, zero-filled: as far as
// the memo probe reads.
void SizeHeaderTablesThroughGroup15(THeader& header);
// Derives wide-line mode and level from a stored max draw width.
void DeriveWideLine(THeader& header);
// Splits a stored display flag 11 into tens and units (truncating division).
void SplitDisplayFlag11(THeader& header, std::uint32_t stored);

struct ImageOptions {
  bool readSection = true;  // read the image section at all
  bool extract = true;      // write each embedded image into the temp folder
  std::filesystem::path tempFolder;
};

// One drawing: the header, the top-level tables, the block definitions and
// the images that were embedded in the file.
class Drawing {
 public:
  THeader header;
  EntityTables top;
  std::vector<TEntBlockDef> blockDefs;
  std::vector<TBindImageType> images;
  ImageOptions imageOptions;

  // Header defaults, every table empty. Small tables keep their memory for
  // the next load; large ones give it back.
  void Reset();
  void Free();  // the same as Reset
  void ClearImageList();
  void DeleteImageFiles();  // failures ignored

  // Sizes the header tables, zero-filled, as the loader does before reading.
  void SizeHeaderTables();

  // Empty tables of block definitions emptied earlier, for the loader's next
  // definitions (an empty set of tables when there are none).
  EntityTables TakeSpareTables();

 private:
  std::vector<EntityTables> spareTables_;
};

}  // namespace jww
