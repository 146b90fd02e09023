// "render": the four views of a model file, as the main window draws them after reading it,
// painted at their places into one 1500 × 1000 PNG (offscreen QtGui; no display needed).
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "commands.h"

// The model file reader may not be in this build yet; render then says so instead of drawing.
#if defined(TAVRINE_HAVE_QTGUI) && __has_include("files/model_file.h")
#define TAVRINE_RENDER_READY 1
#endif

#ifdef TAVRINE_RENDER_READY
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "display/field_vectors.h"
#include "display/views.h"
#include "files/model_file.h"
#include "model/resets.h"
#include "ui/image_canvas.h"
#endif

namespace tavrine::batch {

namespace {

struct RenderArgs {
  std::string model_path, png_path;
  bool vectors = false;
};

std::optional<RenderArgs> ParseRenderArgs(const std::vector<std::string>& args) {
  RenderArgs parsed;
  for (size_t k = 0; k < args.size(); ++k) {
    if (args[k] == "-o" && k + 1 < args.size()) {
      parsed.png_path = args[++k];
    } else if (args[k] == "--vectors") {
      parsed.vectors = true;
    } else if (parsed.model_path.empty() && !args[k].empty() && args[k][0] != '-') {
      parsed.model_path = args[k];
    } else {
      return std::nullopt;
    }
  }
  if (parsed.model_path.empty() || parsed.png_path.empty()) {
    return std::nullopt;
  }
  return parsed;
}

#ifdef TAVRINE_RENDER_READY

// The initial vector scale box text.
constexpr const char* kInitialVectorScale = "0.005";
const QColor kWindowColour(240, 240, 240);

void EnsureGuiApplication() {
  if (QCoreApplication::instance() != nullptr) {
    return;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  static int argc = 1;
  static char name[] = "tavrine-batch";
  static char* argv[] = {name, nullptr};
  static QGuiApplication app(argc, argv);
}

void PaintField(QPainter& painter, const TextPlace& at, const std::string& text) {
  const QRectF box(at.x, at.y, 58, 18);
  painter.fillRect(box, Qt::white);
  painter.setPen(Qt::black);
  painter.drawText(box.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromStdString(text));
}

// The views at their places on the window grid, with their readout fields over them.
QImage Compose(std::array<std::unique_ptr<ImageCanvas>, kViewCount>& canvases,
               const ViewTexts& texts) {
  QImage window(static_cast<int>(kLayoutWidth), static_cast<int>(kLayoutHeight),
                QImage::Format_RGB32);
  window.fill(kWindowColour);
  QPainter painter(&window);
  painter.setFont(QFont(QStringLiteral("Noto Sans CJK JP"), 8));
  for (int view = 0; view < kViewCount; ++view) {
    const LayoutRect place = ViewLayout(view);
    painter.save();
    painter.translate(place.x, place.y);
    painter.drawImage(0, 0, canvases[static_cast<size_t>(view)]->Image());
    const auto items = ReadoutPlaces(place.width, place.height);
    for (size_t k = 0; k < items.size(); ++k) {
      PaintField(painter, items[k], texts.readouts[static_cast<size_t>(view)][k]);
    }
    if (view == kSideView) {
      const auto angles = AngleReadoutPlaces(place.height);
      for (size_t k = 0; k < angles.size(); ++k) {
        PaintField(painter, angles[k], texts.angles[k]);
      }
    }
    painter.restore();
  }
  return window;
}

int Render(const RenderArgs& args) {
  EnsureGuiApplication();
  auto current = std::make_unique<ElementModel>();
  FullReset(*current);
  ModelReadResult read = ReadModelFile(args.model_path, *current);
  if (!read.ok()) {
    const FileError error = read.error.value_or(FileError{0, "cannot be read"});
    std::fprintf(stderr, "tavrine-batch: %s\n", DescribeFileError(args.model_path, error).c_str());
    return 1;
  }
  ElementModel& model = *read.model;
  std::array<std::unique_ptr<ImageCanvas>, kViewCount> canvases;
  Views views;
  for (int view = 0; view < kViewCount; ++view) {
    const LayoutRect place = ViewLayout(view);
    auto& canvas = canvases[static_cast<size_t>(view)];
    canvas = std::make_unique<ImageCanvas>(static_cast<int>(place.width),
                                           static_cast<int>(place.height));
    views.canvas[static_cast<size_t>(view)] = canvas.get();
  }
  RedrawAll(model, views);
  if (args.vectors) {
    SetVectorScaleFromText(model, kInitialVectorScale);
    DrawAllFieldVectors(model, views, PointSetKind::kRect);
  }
  if (!Compose(canvases, views.texts).save(QString::fromStdString(args.png_path), "PNG")) {
    std::fprintf(stderr, "tavrine-batch: %s: cannot write the picture\n", args.png_path.c_str());
    return 1;
  }
  return 0;
}

#endif

}  // namespace

int RenderCommand(const std::vector<std::string>& args) {
  const std::optional<RenderArgs> parsed = ParseRenderArgs(args);
  if (!parsed) {
    std::fputs("usage: tavrine-batch render MODEL.csv -o VIEWS.png [--vectors]\n", stderr);
    return 2;
  }
#ifdef TAVRINE_RENDER_READY
  return Render(*parsed);
#else
  std::fputs("tavrine-batch: render needs the build with QtGui and the model file reader\n",
             stderr);
  return 2;
#endif
}

}  // namespace tavrine::batch
