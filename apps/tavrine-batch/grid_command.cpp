// "grid": lay a rectangular or sector calculation grid on a model file's magnet with the grid
// dialogs' settings, their defaults and their refusals, and write the model file.
#include <array>
#include <cstdio>
#include <memory>

#include "batch/sweep_keys.h"
#include "files/model_file.h"
#include "sweep_commands.h"

namespace tavrine::batch {

namespace {

using sweep::GridKind;

struct GridOption {
  std::string_view name;
  int field;
};

constexpr std::array<GridOption, 8> kRectOptions = {{{"--magnet", sweep::kRectMagN},
                                                     {"--xl", sweep::kRectXL},
                                                     {"--divx", sweep::kRectDivX},
                                                     {"--yl", sweep::kRectYL},
                                                     {"--divy", sweep::kRectDivY},
                                                     {"--disz", sweep::kRectDisZ},
                                                     {"--half-x", sweep::kRectHalfX},
                                                     {"--half-y", sweep::kRectHalfY}}};
constexpr std::array<GridOption, 8> kSectOptions = {{{"--magnet", sweep::kSectMagN},
                                                     {"--divr", sweep::kSectDivR},
                                                     {"--ri", sweep::kSectRi},
                                                     {"--ro", sweep::kSectRo},
                                                     {"--divt", sweep::kSectDivT},
                                                     {"--start", sweep::kSectTStart},
                                                     {"--sweep", sweep::kSectTSweep},
                                                     {"--disz", sweep::kSectDisZ}}};

struct GridArgs {
  GridKind grid = GridKind::kNone;
  std::string input, output;
  sweep::GridTexts texts;
  bool help = false;
};

int GridUsage(const std::string& message) {
  std::fprintf(stderr, "tavrine-batch: %s（tavrine-batch grid --help を参照）\n", message.c_str());
  return 2;
}

void PrintGridHelp() {
  std::fputs(
      "使い方: tavrine-batch grid rect MODEL.csv -o OUT.csv [--magnet N] [--xl X] [--yl Y]\n"
      "                           [--divx N] [--divy N] [--disz D] [--half-x 0|1] [--half-y 0|1]\n"
      "        tavrine-batch grid sector MODEL.csv -o OUT.csv [--magnet N] [--divr N] [--ri R]\n"
      "                           [--ro R] [--divt N] [--start DEG] [--sweep DEG] [--disz D]\n"
      "  形状データファイル MODEL.csv の磁石に、四角型分布磁界計算点の作成（rect）または\n"
      "  扇型分布磁界計算点の作成（sector）と同じ設定で計算点を作り、OUT.csv に書き出します。\n"
      "  rect:   --magnet 選択する磁石番号（既定 1）、--xl/--yl X辺倍率・Y辺倍率（既定 1.0）、\n"
      "          --divx/--divy 分割数（既定はファイルの値）、--disz 表面からの距離（mm、既定\n"
      "          0.5）、--half-x/--half-y 1/2 領域（1 で半分、0 で全体。既定はファイルの値）。\n"
      "  sector: --magnet 選択する磁石番号（既定 1）、--divr/--divt 径方向・角度方向の分割数\n"
      "          （既定 10、36）、--ri/--ro Ri・Ro（mm、既定 0、50）、--start 開始角（度、既定\n"
      "          0）、--sweep ｽｲｰﾌﾟ角（度、既定 360）、--disz 表面からの距離（mm、既定 0.5）。\n"
      "  分割数が正しくない、計算点が多すぎるなど、ダイアログが受け付けない設定は、\n"
      "  その警告を表示して終了コード 2 で終わります（ファイルは書きません）。\n"
      "終了コード: 0 成功、1 入力ファイルを読めないまたは出力ファイルを書けない、\n"
      "2 使い方の誤りまたは受け付けられない設定。\n",
      stdout);
}

std::optional<int> ParseGridArgs(const std::vector<std::string>& args, GridArgs& out) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    const bool has_value = i + 1 < args.size();
    if (word == "--help" || word == "-h") {
      out.help = true;
      continue;
    }
    if (i == 0 && (word == "rect" || word == "sector")) {
      out.grid = word == "rect" ? GridKind::kRect : GridKind::kSect;
      continue;
    }
    if (word == "-o" || word == "--output") {
      if (!has_value) {
        return GridUsage(word + " に出力ファイルがありません");
      }
      out.output = args[++i];
      continue;
    }
    const auto& options = out.grid == GridKind::kSect ? kSectOptions : kRectOptions;
    const auto* option = std::find_if(options.begin(), options.end(),
                                      [&](const GridOption& o) { return o.name == word; });
    if (option != options.end() && out.grid != GridKind::kNone) {
      if (!has_value) {
        return GridUsage(word + " に値がありません");
      }
      out.texts[option->field] = args[++i];
    } else if (word.size() > 1 && word[0] == '-') {
      return GridUsage("不明なオプションです: " + word);
    } else if (out.grid != GridKind::kNone && out.input.empty()) {
      out.input = word;
    } else {
      return GridUsage(out.grid == GridKind::kNone
                           ? "rect または sector を指定してください"
                           : "入力ファイルは一つだけ指定してください: " + word);
    }
  }
  if (out.help) {
    return std::nullopt;
  }
  if (out.grid == GridKind::kNone) {
    return GridUsage("rect または sector を指定してください");
  }
  if (out.input.empty() || out.output.empty()) {
    return GridUsage(out.input.empty() ? "入力ファイルがありません"
                                       : "出力ファイルを -o で指定してください");
  }
  return std::nullopt;
}

// The dialogs lay a grid on an empty slot without a word; a terminal user gets a warning.
void WarnOfEmptySlot(const ElementModel& model, GridKind grid) {
  const bool rect = grid == GridKind::kRect;
  const int n = rect ? model.RectCalPointSet.MagN : model.SectCalPointSet.MagN;
  const int count = rect ? model.RecMagCount : SecMagLoopCount(model);
  if (n < 1 || n > count) {
    std::fprintf(stderr,
                 "tavrine-batch: 警告: %s磁石 %d はありません（計算点はその空の番号の位置に"
                 "作りました）\n",
                 rect ? "角柱" : "扇型", n);
  }
}

}  // namespace

int GridCommand(const std::vector<std::string>& args) {
  GridArgs options;
  if (auto code = ParseGridArgs(args, options)) {
    return *code;
  }
  if (options.help) {
    PrintGridHelp();
    return 0;
  }
  ModelReadResult read = ReadModelFileAfterStartUp(options.input);
  if (!read.ok()) {
    std::fprintf(stderr, "tavrine-batch: %s\n",
                 DescribeFileError(options.input, *read.error).c_str());
    return 1;
  }
  if (auto refused = sweep::LayGrid(*read.model, options.grid, options.texts)) {
    std::fprintf(stderr, "tavrine-batch: %s\n", refused->c_str());
    return 2;
  }
  WarnOfEmptySlot(*read.model, options.grid);
  if (auto error = WriteModelFile(*read.model, options.output)) {
    std::fprintf(stderr, "tavrine-batch: %s\n", DescribeFileError(options.output, *error).c_str());
    return 1;
  }
  return 0;
}

}  // namespace tavrine::batch
