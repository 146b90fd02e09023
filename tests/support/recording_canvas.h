// A Canvas that records every call, for tests of the display.
#pragma once

#include <string>
#include <vector>

#include "display/canvas.h"

namespace tavrine::testing {

struct CanvasCall {
  enum Kind { kFill, kLine, kDot, kText } kind;
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  Rgb colour;
  std::string text;
};

class RecordingCanvas : public Canvas {
 public:
  explicit RecordingCanvas(double width = 700, double height = 450)
      : width_(width), height_(height) {}
  void Fill(Rgb colour) override { calls.push_back({CanvasCall::kFill, 0, 0, 0, 0, colour, {}}); }
  void Line(double x1, double y1, double x2, double y2, Rgb colour) override {
    calls.push_back({CanvasCall::kLine, x1, y1, x2, y2, colour, {}});
  }
  void Dot(double x, double y, Rgb colour) override {
    calls.push_back({CanvasCall::kDot, x, y, x, y, colour, {}});
  }
  void Text(double x, double y, std::string_view text, Rgb colour) override {
    calls.push_back({CanvasCall::kText, x, y, x, y, colour, std::string(text)});
  }
  double Width() const override { return width_; }
  double Height() const override { return height_; }

  std::vector<CanvasCall> Lines() const { return Of(CanvasCall::kLine); }
  std::vector<CanvasCall> Texts() const { return Of(CanvasCall::kText); }
  std::vector<CanvasCall> Of(CanvasCall::Kind kind) const {
    std::vector<CanvasCall> out;
    for (const CanvasCall& call : calls) {
      if (call.kind == kind) {
        out.push_back(call);
      }
    }
    return out;
  }
  void Clear() { calls.clear(); }

  std::vector<CanvasCall> calls;

 private:
  double width_, height_;
};

}  // namespace tavrine::testing
