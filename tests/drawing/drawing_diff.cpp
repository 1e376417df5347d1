#include "tests/drawing/drawing_diff.h"

#include <cstdio>
#include <cstring>
#include <type_traits>

namespace drawing_test {

namespace {

using namespace jww;

// A field's place, built on the stack and spelled out only when it differs.
struct Path {
  const Path* parent = nullptr;
  const char* name = nullptr;
  std::size_t index = 0;

  std::string Str() const {
    std::string s = parent ? parent->Str() : std::string();
    if (name) return s.empty() ? name : s + "." + name;
    return s + "[" + std::to_string(index) + "]";
  }
};

class Differ {
 public:
  bool done() const { return !result_.empty(); }
  void Report(const Path& p, const std::string& a, const std::string& b) {
    if (!done()) result_ = p.Str() + ": " + a + " vs " + b;
  }
  const std::string& result() const { return result_; }

 private:
  std::string result_;
};

std::string Show(const JwwString& s) {
  std::string out = s.wide ? "u\"" : "\"";
  for (std::size_t i = 0; i < s.units() && i < 40; ++i) {
    const std::uint16_t u = s.unit(i);
    if (u >= 0x20 && u < 0x7F) {
      out.push_back(static_cast<char>(u));
    } else {
      char hex[12];
      std::snprintf(hex, sizeof hex, "\\x%X", u);
      out += hex;
    }
  }
  if (s.units() > 40) out += "...";
  return out + "\" (" + std::to_string(s.units()) + " units)";
}

void Cmp(Differ& d, const Path& p, double a, double b) {
  if (std::memcmp(&a, &b, sizeof a) == 0) return;
  char text[80];
  std::snprintf(text, sizeof text, "%.17g", a);
  std::string sa = text;
  std::snprintf(text, sizeof text, "%.17g", b);
  d.Report(p, sa, text);
}

template <class T>
requires std::is_integral_v<T>
void Cmp(Differ& d, const Path& p, T a, T b) {
  if (a != b) d.Report(p, std::to_string(a), std::to_string(b));
}

void Cmp(Differ& d, const Path& p, const JwwString& a, const JwwString& b) {
  if (a != b) d.Report(p, Show(a), Show(b));
}

void Cmp(Differ& d, const Path& p, const std::string& a, const std::string& b) {
  if (a != b) d.Report(p, "\"" + a + "\"", "\"" + b + "\"");
}

template <class T, std::size_t N>
void Cmp(Differ& d, const Path& p, const std::array<T, N>& a, const std::array<T, N>& b) {
  for (std::size_t i = 0; i < N && !d.done(); ++i) Cmp(d, Path{&p, nullptr, i}, a[i], b[i]);
}

template <class T>
void Cmp(Differ& d, const Path& p, const std::vector<T>& a, const std::vector<T>& b) {
  if (a.size() != b.size()) {
    d.Report(Path{&p, "size"}, std::to_string(a.size()), std::to_string(b.size()));
    return;
  }
  for (std::size_t i = 0; i < a.size() && !d.done(); ++i) Cmp(d, Path{&p, nullptr, i}, a[i], b[i]);
}

#define FIELD(x) Cmp(d, Path{&p, #x}, a.x, b.x)

void Cmp(Differ& d, const Path& p, const TEntAttr& a, const TEntAttr& b) {
  FIELD(group);
  FIELD(penStyle);
  FIELD(penColour);
  FIELD(penWidth);
  FIELD(layer);
  FIELD(layerGroup);
  FIELD(flags);
}

void Cmp(Differ& d, const Path& p, const TEntSen& a, const TEntSen& b) {
  FIELD(attr);
  FIELD(startX);
  FIELD(startY);
  FIELD(endX);
  FIELD(endY);
}

void Cmp(Differ& d, const Path& p, const TEntEnko& a, const TEntEnko& b) {
  FIELD(attr);
  FIELD(centreX);
  FIELD(centreY);
  FIELD(radius);
  FIELD(startAngle);
  FIELD(arcAngle);
  FIELD(tiltAngle);
  FIELD(flatness);
  FIELD(fullCircle);
}

void Cmp(Differ& d, const Path& p, const TEntTen& a, const TEntTen& b) {
  FIELD(attr);
  FIELD(x);
  FIELD(y);
  FIELD(temporary);
  FIELD(code);
  FIELD(rotation);
  FIELD(scale);
}

void Cmp(Differ& d, const Path& p, const TEntMoji& a, const TEntMoji& b) {
  FIELD(attr);
  FIELD(startX);
  FIELD(startY);
  FIELD(endX);
  FIELD(endY);
  FIELD(textType);
  FIELD(width);
  FIELD(height);
  FIELD(spacing);
  FIELD(angle);
  FIELD(fontName);
  FIELD(text);
}

void Cmp(Differ& d, const Path& p, const TEntSunpo& a, const TEntSunpo& b) {
  FIELD(attr);
  FIELD(line);
  FIELD(valueText);
  FIELD(extensionMode);
  FIELD(auxLine1);
  FIELD(auxLine2);
  FIELD(point1);
  FIELD(point2);
  FIELD(auxPoint1);
  FIELD(auxPoint2);
}

void Cmp(Differ& d, const Path& p, const TEntSolid& a, const TEntSolid& b) {
  FIELD(attr);
  FIELD(startX);
  FIELD(startY);
  FIELD(endX);
  FIELD(endY);
  FIELD(point2X);
  FIELD(point2Y);
  FIELD(point3X);
  FIELD(point3Y);
  FIELD(rgbColour);
}

void Cmp(Differ& d, const Path& p, const TEntBlock& a, const TEntBlock& b) {
  FIELD(attr);
  FIELD(originX);
  FIELD(originY);
  FIELD(scaleX);
  FIELD(scaleY);
  FIELD(rotation);
  FIELD(definitionNumber);
}

void Cmp(Differ& d, const Path& p, const TEntRef& a, const TEntRef& b) {
  FIELD(kind);
  FIELD(index);
}

void Cmp(Differ& d, const Path& p, const EntityTables& a, const EntityTables& b) {
  FIELD(order);
  FIELD(lines);
  FIELD(arcs);
  FIELD(points);
  FIELD(texts);
  FIELD(dimensions);
  FIELD(solids);
  FIELD(blockInserts);
}

void Cmp(Differ& d, const Path& p, const TEntBlockDef& a, const TEntBlockDef& b) {
  FIELD(attr);
  FIELD(number);
  FIELD(referenced);
  FIELD(time);
  FIELD(extendedTime);
  FIELD(name);
  FIELD(entityCount);
  FIELD(entities);
}

void Cmp(Differ& d, const Path& p, const TLayerGroup& a, const TLayerGroup& b) {
  FIELD(state);
  FIELD(writeLayer);
  FIELD(scale);
  FIELD(protect);
  FIELD(name);
}

void Cmp(Differ& d, const Path& p, const TLayer& a, const TLayer& b) {
  FIELD(state);
  FIELD(protect);
  FIELD(name);
}

void Cmp(Differ& d, const Path& p, const TPen& a, const TPen& b) {
  FIELD(screenColour);
  FIELD(screenWidth);
  FIELD(printerColour);
  FIELD(printerWidth);
  FIELD(printerPointRadius);
}

void Cmp(Differ& d, const Path& p, const TLineType& a, const TLineType& b) {
  FIELD(pattern);
  FIELD(unitDots);
  FIELD(pitch);
  FIELD(printerPitch);
}

void Cmp(Differ& d, const Path& p, const TRandomLineType& a, const TRandomLineType& b) {
  FIELD(pattern);
  FIELD(amplitude);
  FIELD(pitch);
  FIELD(printerAmplitude);
  FIELD(printerPitch);
}

void Cmp(Differ& d, const Path& p, const TColorExNo& a, const TColorExNo& b) {
  FIELD(colour);
  FIELD(width);
  FIELD(name);
  FIELD(printerColour);
  FIELD(printerWidth);
  FIELD(printerPointRadius);
}

void Cmp(Differ& d, const Path& p, const TLineTypeExNo& a, const TLineTypeExNo& b) {
  FIELD(pattern);
  FIELD(unitDots);
  FIELD(pitch);
  FIELD(printerPitch);
  FIELD(name);
  FIELD(segmentCount);
  FIELD(segments);
}

void Cmp(Differ& d, const Path& p, const TTextType& a, const TTextType& b) {
  FIELD(width);
  FIELD(height);
  FIELD(spacing);
  FIELD(colour);
}

void Cmp(Differ& d, const Path& p, const TZoomJump& a, const TZoomJump& b) {
  FIELD(scale);
  FIELD(originX);
  FIELD(originY);
  FIELD(layerGroup);
}

void Cmp(Differ& d, const Path& p, const TReservedZoom& a, const TReservedZoom& b) {
  FIELD(values);
  FIELD(word);
}

void Cmp(Differ& d, const Path& p, const TBindImageType& a, const TBindImageType& b) {
  FIELD(name);
  FIELD(size);
}

void Cmp(Differ& d, const Path& p, const THeader& a, const THeader& b) {
  FIELD(signature);
  FIELD(version);
  FIELD(memo);
  FIELD(paperSize);
  FIELD(writeLayerGroup);
  FIELD(reservedWords);
  FIELD(dimensionSettings);
  FIELD(reservedWord);
  FIELD(maxDrawWidth);
  FIELD(wideLineMode);
  FIELD(wideLineLevel);
  FIELD(printerOriginX);
  FIELD(printerOriginY);
  FIELD(printerScale);
  FIELD(printerSettings);
  FIELD(scaleMarkMode);
  FIELD(scaleMarkMinSpacing);
  FIELD(scaleMarkXSpacing);
  FIELD(scaleMarkYSpacing);
  FIELD(scaleMarkOriginX);
  FIELD(scaleMarkOriginY);
  FIELD(shadowLevel);
  FIELD(shadowLatitude);
  FIELD(shadowHoursFlag);
  FIELD(wallShadowLevel);
  FIELD(skyMapLevel);
  FIELD(skyMapRadius);
  FIELD(unit25D);
  FIELD(viewScale);
  FIELD(viewOriginX);
  FIELD(viewOriginY);
  FIELD(rangeScale);
  FIELD(rangeOriginX);
  FIELD(rangeOriginY);
  FIELD(zoomJumps);
  FIELD(reservedZooms);
  FIELD(multiLineSpacings);
  FIELD(bothSideMultiLineGap);
  FIELD(displayFlags);
  FIELD(flag11Units);
  FIELD(flag11Tens);
  FIELD(drawingTime);
  FIELD(eyeSet25D);
  FIELD(eyeAngles25D);
  FIELD(eyeValues25D);
  FIELD(lastLineLength);
  FIELD(lastBoxWidth);
  FIELD(lastBoxHeight);
  FIELD(lastCircleRadius);
  FIELD(solidColourMode);
  FIELD(solidColour);
  FIELD(currentTextWidth);
  FIELD(currentTextHeight);
  FIELD(currentTextSpacing);
  FIELD(currentTextColour);
  FIELD(currentTextType);
  FIELD(textArrangeLineSpacing);
  FIELD(textArrangeCount);
  FIELD(textAnchorShiftOn);
  FIELD(textAnchorShiftX);
  FIELD(textAnchorShiftY);
  FIELD(entityCount);
  FIELD(blockDefinitionCount);
  FIELD(layerGroups);
  FIELD(layers);
  FIELD(pens);
  FIELD(lineTypes);
  FIELD(randomLines);
  FIELD(doubleLines);
  FIELD(extendedColours);
  FIELD(extendedLineTypes);
  FIELD(textTypes);
}

#undef FIELD

}  // namespace

std::string FirstDifference(const Drawing& a, const Drawing& b) {
  Differ d;
  Cmp(d, Path{nullptr, "header"}, a.header, b.header);
  Cmp(d, Path{nullptr, "top"}, a.top, b.top);
  Cmp(d, Path{nullptr, "blockDefs"}, a.blockDefs, b.blockDefs);
  Cmp(d, Path{nullptr, "images"}, a.images, b.images);
  return d.result();
}

}  // namespace drawing_test
