// "map": the field map of a model file's rectangular or sector grid (one component of its stored
// field) as a PNG or SVG picture, as the desktop's "磁界マップ" window draws it.
#include <cstdio>
#include <optional>
#include <string>

#include "commands.h"
#include "picture_session.h"

#ifdef TAVRINE_HAVE_QTGUI
#include "display/field_map.h"
#include "ui/views_picture.h"
#endif

namespace tavrine::batch {

namespace {

struct MapArgs {
  PictureArgs common;
  int component = 0;  // MapComponent: |H|, Hx, Hy, Hz
  bool sector = false;
  int width = 900, height = 700;
};

constexpr const char* kMapUsage =
    "tavrine-batch map MODEL.csv -o MAP.png|MAP.svg [--set rect|sector] [--component abs|hx|hy|hz] "
    "[--size WxH]（tavrine-batch map --help を参照）";

constexpr const char* kMapHelp =
    "使い方: tavrine-batch map MODEL.csv -o MAP.png [--set rect|sector]\n"
    "                          [--component abs|hx|hy|hz] [--size WxH]\n"
    "\n"
    "形状データファイル MODEL.csv の四角型または扇型計算点の計算結果を、磁界マップ\n"
    "（色分け図、Oe 単位のカラーバー、mm 単位の目盛り、磁石の外形）として画像に描画します。\n"
    "扇型計算点は、扇型磁石の座標の x–y 面に扇型の升目で描きます。\n"
    "先に tavrine-batch run で計算したファイルを渡してください。\n"
    "\n"
    "  -o FILE, --output FILE  出力する画像。拡張子 .png なら PNG、.svg なら SVG です。\n"
    "  --set S                 描く計算点: rect（四角型分布、既定）、sector（扇型分布）。\n"
    "  --component C           描く成分: abs（|H|、既定）、hx、hy、hz。\n"
    "  --size WxH              画像の大きさ（画素、既定 900x700、各 200〜8000）。\n"
    "  -h, --help              この説明を表示します。\n"
    "\n"
    "終了コード: 0 成功、1 入力ファイルを読めない、計算点が格子をなさない、または画像を\n"
    "書けない、2 使い方の誤り。\n";

std::optional<int> ComponentOf(const std::string& word) {
  const char* names[] = {"abs", "hx", "hy", "hz"};
  for (int k = 0; k < 4; ++k) {
    if (word == names[k]) {
      return k;
    }
  }
  return std::nullopt;
}

bool ReadSize(const std::string& word, MapArgs& parsed) {
  int w = 0, h = 0;
  char tail = 0;
  if (std::sscanf(word.c_str(), "%dx%d%c", &w, &h, &tail) != 2) {
    return false;
  }
  if (w < 200 || h < 200 || w > 8000 || h > 8000) {
    return false;
  }
  parsed.width = w;
  parsed.height = h;
  return true;
}

std::optional<MapArgs> ParseMapArgs(const std::vector<std::string>& args) {
  MapArgs parsed;
  const auto option = [&parsed](const std::vector<std::string>& words, size_t& k) {
    const std::string& word = words[k];
    if (k + 1 >= words.size()) {
      return false;
    }
    if (word == "--component") {
      const std::optional<int> component = ComponentOf(words[++k]);
      parsed.component = component.value_or(-1);
      return component.has_value();
    }
    if (word == "--set") {
      const std::string& set = words[++k];
      parsed.sector = set == "sector";
      return set == "rect" || set == "sector";
    }
    return word == "--size" && ReadSize(words[++k], parsed);
  };
  if (!ReadPictureArgs(args, parsed.common, option)) {
    return std::nullopt;
  }
  return parsed;
}

#ifdef TAVRINE_HAVE_QTGUI

int Map(const MapArgs& args) {
  EnsureGuiSession();
  std::unique_ptr<ElementModel> model = ReadPictureModel(args.common.model_path);
  if (!model) {
    return 1;
  }
  const bool has_grid =
      args.sector ? SectorFieldMapGrid(*model).has_value() : RectFieldMapGrid(*model).has_value();
  if (!has_grid) {
    std::fprintf(stderr, "tavrine-batch: %s: %s計算点が格子になっていません\n",
                 args.common.model_path.c_str(), args.sector ? "扇型" : "四角型");
    return 1;
  }
  if (!WriteFieldMapPicture(*model, static_cast<MapComponent>(args.component),
                            QSize(args.width, args.height),
                            QString::fromStdString(args.common.picture_path),
                            args.sector ? MapSet::kSector : MapSet::kRect)) {
    return PictureWriteFailure(args.common.picture_path);
  }
  return 0;
}

#endif

}  // namespace

int MapCommand(const std::vector<std::string>& args) {
  const auto parsed = ParseMapArgs(args);
  if (const std::optional<int> done = HelpOrUsage(
          parsed ? &parsed->common : nullptr, kMapHelp,
          "tavrine-batch map MODEL.csv -o MAP.png|MAP.svg [--set rect|sector] [--component "
          "abs|hx|hy|hz] [--size WxH]（tavrine-batch map --help を参照）")) {
    return *done;
  }
#ifdef TAVRINE_HAVE_QTGUI
  return Map(*parsed);
#else
  return WithoutGui("map");
#endif
}

}  // namespace tavrine::batch
