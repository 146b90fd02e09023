// A Canvas over a QImage, with only QtGui. Its drawing units reach the pixels through a
// Viewport (one unit per pixel unless one is set); one painter stays open between drawing
// calls, since opening one per line costs more than the line.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <vector>

#include <QFont>
#include <QImage>
#include <QLineF>
#include <QPainter>

#include "display/canvas.h"
#include "display/viewport.h"

namespace tavrine {

class ImageCanvas final : public Canvas {
 public:
  ImageCanvas(int width, int height);
  ~ImageCanvas() override;

  void Fill(Rgb colour) override;
  void Line(double x1, double y1, double x2, double y2, Rgb colour) override;
  void Dot(double x, double y, Rgb colour) override;
  void Text(double x, double y, std::string_view text, Rgb colour) override;
  double Width() const override;
  double Height() const override;
  // Half a pixel: shorter segments of a polyline are not seen apart.
  double MergeLength() const override { return 0.5 / viewport_.Scale(); }
  // A painter on a picture of its own works in any thread.
  bool DrawsFromAnyThread() const override { return true; }

  void SetFont(const QFont& font) { font_ = font; }
  // Drawing units of the given size shown on the picture by the viewport; takes effect with
  // the next drawing call.
  void SetView(double drawing_width, double drawing_height, const ScreenPoint& pan);
  const Viewport& View() const { return viewport_; }
  void SetAntialiased(bool on);
  bool Antialiased() const { return antialiased_; }
  // A new picture of the given pixel size, filled grey; whatever was drawn is gone.
  void ResizeImage(int width, int height);
  // Ends the drawing in progress and gives the picture.
  const QImage& Image();

 private:
  QPainter& Painter();
  void UsePen(Rgb colour);
  // Draws the lines and dots gathered so far, colour by colour. Texts and fills draw them first,
  // so only lines and dots drawn close together can change places, where they overlap.
  void Flush();
  void EndPainting();

  QImage image_;
  QFont font_;
  double drawing_width_, drawing_height_;
  ScreenPoint pan_;
  Viewport viewport_;
  double device_scale_ = 1;  // the viewport's, kept at hand for every line
  ScreenPoint device_origin_;
  bool antialiased_ = false;
  std::unique_ptr<QPainter> painter_;  // open between drawing calls, ended by Image()
  std::optional<Rgb> pen_colour_;
  struct Batch {
    Rgb colour;
    std::vector<QLineF> lines;
    std::vector<QPointF> dots;
  };
  Batch& BatchOf(Rgb colour);
  // The search when the hash table's slot holds another colour; the slot then holds this one.
  Batch& FindBatch(Rgb colour, uint32_t& slot);
  QPointF ToDevice(double x, double y) const;
  std::vector<Batch> batches_;                  // by colour, in the order the colours came
  std::array<uint32_t, 4096> batch_of_hash_{};  // a batch index by colour hash, checked on use
  size_t pending_ = 0;                          // lines and dots waiting in the batches
};

}  // namespace tavrine
