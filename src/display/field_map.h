// The field map of the rectangular calculation grid: one component of the last run's field as
// colour cells over the grid in the chosen magnet's own x–y plane (mm), a colour bar in Oe,
// axis ticks and the magnet's face outline, drawn through a MapCanvas (pixels, y downwards).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "display/views.h"
#include "model/element_model.h"

namespace tavrine {

enum class MapComponent { kMagnitude, kHx, kHy, kHz };
enum class MapSet { kRect, kSector };

// Where the grid's points lie: columns along own x, rows along own y, point row·columns + col.
struct FieldMapGrid {
  std::vector<double> x, y;  // own-frame coordinates of the columns and rows, mm
  std::optional<std::pair<double, double>> face;  // the magnet's a and b, when it exists
  int magnet = 0;
  // False when the points carry global positions only (as read from a file): x and y then run
  // along the grid's columns and rows from point 0.
  bool own_frame = true;
};

// The grid of RectCalPointSet, or nothing when its points do not form (DivX+1) × (DivY+1).
std::optional<FieldMapGrid> RectFieldMapGrid(const ElementModel& model);
double ComponentValue(const RectCalPoint& point, MapComponent component);
double ComponentValue(const SectCalPoint& point, MapComponent component);
std::string_view ComponentName(MapComponent component);

// A sequential scale from low to high for |H|; a diverging one about zero for a signed component.
class ColourScale {
 public:
  ColourScale(double low, double high, bool diverging);
  Rgb At(double value) const;
  double Low() const { return low_; }
  double High() const { return high_; }

 private:
  double low_, high_;
  bool diverging_;
};
ColourScale ScaleFor(const ElementModel& model, MapComponent component);

// Ticks at 1, 2 or 5 × 10^k covering [low, high] with at most about max_count marks.
std::vector<double> NiceTicks(double low, double high, int max_count);
// A tick's text with as many decimals as its step needs, never "-0".
std::string TickText(double value, double step);

class MapCanvas {
 public:
  enum class Align { kLeft, kCentre, kRight };
  virtual ~MapCanvas() = default;
  virtual void FillRect(double x, double y, double width, double height, Rgb colour) = 0;
  virtual void FillPolygon(const std::vector<ScreenPoint>& corners, Rgb colour) = 0;
  virtual void Line(double x1, double y1, double x2, double y2, Rgb colour) = 0;
  // y is the text's vertical middle.
  virtual void Text(double x, double y, std::string_view text, Rgb colour, Align align) = 0;
  virtual double Width() const = 0;
  virtual double Height() const = 0;
};

// Where the plot and the colour bar go in a picture of the given size; one mm is the same
// number of pixels along x and y.
struct FieldMapLayout {
  double plot_x = 0, plot_y = 0, plot_width = 0, plot_height = 0;  // pixels
  double x_low = 0, x_high = 1, y_low = 0, y_high = 1;             // mm shown
  double bar_x = 0, bar_y = 0, bar_width = 0, bar_height = 0;
  ScreenPoint ToPixel(double x_mm, double y_mm) const;
  ScreenPoint ToMm(double px, double py) const;
};
FieldMapLayout LayoutFieldMap(const FieldMapGrid& grid, double width, double height);

// The point whose cell holds the pixel, if any.
std::optional<int> MapPointAt(const FieldMapGrid& grid,
                              const FieldMapLayout& layout,
                              double px,
                              double py);
// What the hover shows for point k: its global position and its field.
std::string MapPointText(const ElementModel& model, int k);

void DrawFieldMap(const ElementModel& model,
                  const FieldMapGrid& grid,
                  MapComponent component,
                  MapCanvas& canvas);

// The sector grid: rows of radii, columns of angles, point row·angles.size() + column, in the
// sector magnet's own frame, drawn as annular-sector cells in its x–y plane.
struct SectorFace {
  double ri = 0, ro = 0, open = 0;  // mm, mm, rad; the magnet spans ±open/2 about own x
};
struct SectorMapGrid {
  std::vector<double> r, theta;  // mm, rad
  std::optional<SectorFace> face;
  int magnet = 0;
};

// The grid of SectCalPointSet, or nothing when its points do not form (RDiv+1) × (AngleDiv+1).
std::optional<SectorMapGrid> SectorFieldMapGrid(const ElementModel& model);
ColourScale SectorScaleFor(const ElementModel& model, MapComponent component);
FieldMapLayout LayoutSectorMap(const SectorMapGrid& grid, double width, double height);
std::optional<int> SectorMapPointAt(const SectorMapGrid& grid,
                                    const FieldMapLayout& layout,
                                    double px,
                                    double py);
std::string SectorMapPointText(const ElementModel& model, int k);
void DrawSectorFieldMap(const ElementModel& model,
                        const SectorMapGrid& grid,
                        MapComponent component,
                        MapCanvas& canvas);

// The chosen set's map; false, with nothing drawn, when its points form no grid.
bool DrawSetFieldMap(const ElementModel& model,
                     MapSet set,
                     MapComponent component,
                     MapCanvas& canvas);

}  // namespace tavrine
