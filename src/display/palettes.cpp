// The colour palettes and their setters.
#include "display/palettes.h"

namespace tavrine {

const std::array<BackgroundRow, 10> kBackgroundPalette = {{
    {"Option31", {255, 255, 255}},
    {"Option2", {255, 240, 245}},
    {"Option4", {255, 218, 185}},
    {"Option3", {175, 238, 238}},
    {"Option5", {189, 183, 107}},
    {"Option6", {0, 250, 154}},
    {"Option7", {100, 149, 237}},
    {"Option8", {192, 192, 192}},
    {"Option9", {119, 136, 153}},
    {"Option10", {105, 105, 105}},
}};

const std::array<AxisRow, 10> kAxisPalette = {{
    {"Option11", {255, 0, 0}, {0, 255, 0}, {0, 0, 255}},
    {"Option12", {255, 255, 0}, {0, 255, 0}, {255, 192, 200}},
    {"Option13", {128, 0, 0}, {0, 139, 139}, {0, 191, 255}},
    {"Option14", {255, 0, 255}, {255, 102, 102}, {255, 255, 0}},
    {"Option15", {102, 0, 255}, {102, 102, 102}, {102, 255, 0}},
    {"Option16", {0, 255, 255}, {102, 255, 102}, {255, 204, 0}},
    {"Option17", {0, 102, 255}, {102, 102, 102}, {255, 102, 0}},
    {"Option18", {0, 255, 255}, {102, 102, 255}, {255, 0, 255}},
    {"Option19", {0, 255, 102}, {153, 102, 102}, {255, 0, 102}},
    {"Option20", {0, 255, 255}, {102, 255, 102}, {255, 204, 0}},
}};

const std::array<MagnetRow, 4> kMagnetPalette = {{
    {"Option21", {255, 0, 0}, {0, 0, 255}},
    {"Option22", {255, 20, 147}, {0, 191, 255}},
    {"Option23", {255, 99, 71}, {102, 205, 170}},
    {"Option24", {255, 160, 122}, {0, 128, 128}},
}};

bool SetBackgroundRow(ElementModel& model, int row) {
  if (row < 1 || row > static_cast<int>(kBackgroundPalette.size())) {
    return false;
  }
  model.View.BackgroundColour = kBackgroundPalette[static_cast<size_t>(row - 1)].colour;
  return true;
}

bool SetAxisRow(ElementModel& model, int row) {
  if (row < 1 || row > static_cast<int>(kAxisPalette.size())) {
    return false;
  }
  const AxisRow& entry = kAxisPalette[static_cast<size_t>(row - 1)];
  model.View.AxisColourX = entry.x;
  model.View.AxisColourY = entry.y;
  model.View.AxisColourZ = entry.z;
  return true;
}

bool SetMagnetRow(ElementModel& model, int row) {
  if (row < 1 || row > static_cast<int>(kMagnetPalette.size())) {
    return false;
  }
  const MagnetRow& entry = kMagnetPalette[static_cast<size_t>(row - 1)];
  model.View.MagnetColourN = entry.north;
  model.View.MagnetColourS = entry.south;
  return true;
}

}  // namespace tavrine

namespace tavrine {

namespace {

template <class Row, class Matches>
int RowInForce(const Row& palette, Matches matches) {
  for (size_t k = 0; k < palette.size(); ++k) {
    if (matches(palette[k])) {
      return static_cast<int>(k) + 1;
    }
  }
  return 0;
}

}  // namespace

ColourRowsInForce RowsInForce(const ElementModel& model) {
  const ViewSettings& v = model.View;
  return {RowInForce(kBackgroundPalette,
                     [&v](const BackgroundRow& r) { return r.colour == v.BackgroundColour; }),
          RowInForce(kAxisPalette,
                     [&v](const AxisRow& r) {
                       return r.x == v.AxisColourX && r.y == v.AxisColourY && r.z == v.AxisColourZ;
                     }),
          RowInForce(kMagnetPalette, [&v](const MagnetRow& r) {
            return r.north == v.MagnetColourN && r.south == v.MagnetColourS;
          })};
}

}  // namespace tavrine
