// "render": the four views of a model file as the main window shows them, into one PNG or SVG
// picture (offscreen QtGui; no display needed).
#include <cstdio>
#include <optional>
#include <string>

#include "commands.h"
#include "picture_session.h"

#ifdef TAVRINE_HAVE_QTGUI
#include "display/field_vectors.h"
#include "ui/views_picture.h"
#endif

namespace tavrine::batch {

namespace {

struct RenderArgs {
  PictureArgs common;
  bool vectors = false;
  bool antialiased = true;
};

constexpr const char* kRenderUsage =
    "tavrine-batch render MODEL.csv -o VIEWS.png|VIEWS.svg [--vectors]（tavrine-batch render "
    "--help を参照）";

constexpr const char* kRenderHelp =
    "使い方: tavrine-batch render MODEL.csv -o VIEWS.png [--vectors] [--no-antialias]\n"
    "\n"
    "形状データファイル MODEL.csv を読み込み、メイン画面と同じ四面図（上面図、側面図、正面図、\n"
    "自由視点図）を一枚の画像に描画します。縮尺は全体表示のとおりです。\n"
    "\n"
    "  -o FILE, --output FILE  出力する画像。拡張子 .png なら PNG、.svg なら SVG です。\n"
    "  --vectors               四角型計算点の磁界ベクトルと最大値の表示を加えます。\n"
    "  --no-antialias          線を滑らかにせずに描きます。\n"
    "  -h, --help              この説明を表示します。\n"
    "\n"
    "終了コード: 0 成功、1 入力ファイルを読めない、または画像を書けない、2 使い方の誤り。\n";

std::optional<RenderArgs> ParseRenderArgs(const std::vector<std::string>& args) {
  RenderArgs parsed;
  const auto option = [&parsed](const std::vector<std::string>& words, size_t& k) {
    if (words[k] == "--vectors") {
      parsed.vectors = true;
      return true;
    }
    if (words[k] == "--no-antialias") {
      parsed.antialiased = false;
      return true;
    }
    return false;
  };
  if (!ReadPictureArgs(args, parsed.common, option)) {
    return std::nullopt;
  }
  return parsed;
}

#ifdef TAVRINE_HAVE_QTGUI

int Render(const RenderArgs& args) {
  EnsureGuiSession();
  std::unique_ptr<ElementModel> model = ReadPictureModel(args.common.model_path);
  if (!model) {
    return 1;
  }
  ViewsPictureOptions options;
  options.antialiased = args.antialiased;
  if (args.vectors) {
    // As the main window shows a finished rectangular run.
    SetVectorScaleFromText(*model, "0.005");
    options.vectors = PointSetKind::kRect;
    Views views;
    ShowExtremesReadout(*model, views, PointSetKind::kRect,
                        FindFieldExtremes(*model, PointSetKind::kRect));
    options.texts = views.texts;
  }
  if (!WriteViewsPicture(*model, options, QString::fromStdString(args.common.picture_path))) {
    return PictureWriteFailure(args.common.picture_path);
  }
  return 0;
}

#endif

}  // namespace

int RenderCommand(const std::vector<std::string>& args) {
  const auto parsed = ParseRenderArgs(args);
  if (const std::optional<int> done =
          HelpOrUsage(parsed ? &parsed->common : nullptr, kRenderHelp,
                      "tavrine-batch render MODEL.csv -o VIEWS.png|VIEWS.svg "
                      "[--vectors]（tavrine-batch render --help を参照）")) {
    return *done;
  }
#ifdef TAVRINE_HAVE_QTGUI
  return Render(*parsed);
#else
  return WithoutGui("render");
#endif
}

}  // namespace tavrine::batch
