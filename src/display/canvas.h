// One drawing area of a view: immediate drawing in drawing units, nothing retained.
#pragma once

#include <string_view>

#include "model/element_model.h"

namespace tavrine {

class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual void Fill(Rgb colour) = 0;
  virtual void Line(double x1, double y1, double x2, double y2, Rgb colour) = 0;
  virtual void Dot(double x, double y, Rgb colour) = 0;
  virtual void Text(double x, double y, std::string_view text, Rgb colour) = 0;
  // Size of the drawing area in drawing units.
  virtual double Width() const = 0;
  virtual double Height() const = 0;
  // Consecutive polyline segments shorter than this (drawing units) may be joined into one
  // line in the colour of the last, since the screen cannot tell them apart; 0 keeps every
  // segment.
  virtual double MergeLength() const { return 0; }
  // True when the canvas may be drawn from a thread other than its maker's while no other
  // thread uses it: a redraw then draws the views side by side.
  virtual bool DrawsFromAnyThread() const { return false; }
};

}  // namespace tavrine
