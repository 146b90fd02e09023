// Colour dialog: three columns of option buttons, one row per palette entry, each with sample
// swatches of the colours it sets.
#include "ui/colour_dialog.h"

#include <array>
#include <optional>

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace tavrine {

namespace {

constexpr int kRows = 10;

struct BackgroundRow {
  const char* option;
  Rgb colour;
};
struct AxisRow {
  const char* option;
  Rgb x, y, z;
};
struct MagnetRow {
  const char* option;
  std::optional<std::array<Rgb, 2>> colours;  // N, S; empty: the row does nothing
};

constexpr std::array<BackgroundRow, kRows> kBackgroundRows{{
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

constexpr std::array<AxisRow, kRows> kAxisRows{{
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

const std::array<MagnetRow, kRows>& MagnetRows() {
  static const std::array<MagnetRow, kRows> kRowsTable{{
      {"Option21", std::array<Rgb, 2>{Rgb{255, 0, 0}, Rgb{0, 0, 255}}},
      {"Option22", std::array<Rgb, 2>{Rgb{255, 20, 147}, Rgb{0, 191, 255}}},
      {"Option23", std::array<Rgb, 2>{Rgb{255, 99, 71}, Rgb{102, 205, 170}}},
      {"Option24", std::array<Rgb, 2>{Rgb{255, 160, 122}, Rgb{0, 128, 128}}},
      {"Option25", std::nullopt},
      {"Option26", std::nullopt},
      {"Option27", std::nullopt},
      {"Option28", std::nullopt},
      {"Option29", std::nullopt},
      {"Option30", std::nullopt},
  }};
  return kRowsTable;
}

QString RowCaption(int row) {
  return QString("ｵﾌﾟｼｮﾝ%1").arg(row);
}

QLabel* Swatch(QWidget* parent, const Rgb& colour, const QString& name) {
  auto* swatch = new QLabel(parent);
  swatch->setObjectName(name);
  swatch->setFixedSize(36, 16);
  swatch->setAutoFillBackground(true);
  QPalette palette = swatch->palette();
  palette.setColor(QPalette::Window, QColor(colour.r, colour.g, colour.b));
  swatch->setPalette(palette);
  swatch->setFrameShape(QFrame::Box);
  return swatch;
}

QWidget* SwatchRow(QWidget* parent, std::initializer_list<Rgb> colours) {
  auto* row = new QWidget(parent);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  for (const Rgb& colour : colours) {
    auto* swatch = Swatch(row, colour, QString());
    swatch->setFixedSize(16, 16);
    layout->addWidget(swatch);
  }
  layout->addStretch(1);
  return row;
}

QRadioButton* AddOption(QGridLayout* grid, int grid_row, const char* name, const QString& text) {
  auto* option = new QRadioButton(text, grid->parentWidget());
  option->setObjectName(name);
  grid->addWidget(option, grid_row, 0);
  return option;
}

}  // namespace

ColourDialog::ColourDialog(ElementModel& model, QWidget* parent) : QDialog(parent), model_(model) {
  setObjectName("ColorOption");
  setWindowTitle("色の選択");
  setModal(false);
  setFont(QFont("Noto Sans CJK JP"));
  auto* groups = new QHBoxLayout;
  groups->addWidget(BuildBackgroundGroup());
  groups->addWidget(BuildAxisGroup());
  groups->addWidget(BuildMagnetGroup());
  auto* close_button = new QPushButton("閉じる", this);
  close_button->setObjectName("Command1");
  connect(close_button, &QPushButton::clicked, this, &QDialog::close);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(groups);
  layout->addWidget(close_button, 0, Qt::AlignRight);
}

QWidget* ColourDialog::BuildBackgroundGroup() {
  auto* group = new QGroupBox("バックカラー", this);
  group->setObjectName("Frame1");
  auto* grid = new QGridLayout(group);
  for (int i = 0; i < kRows; ++i) {
    const BackgroundRow& row = kBackgroundRows[static_cast<size_t>(i)];
    QRadioButton* option = AddOption(grid, i, row.option, RowCaption(i + 1));
    grid->addWidget(Swatch(group, row.colour, QString("Picture%1").arg(i + 1)), i, 1);
    connect(option, &QRadioButton::clicked, this, [this, colour = row.colour] {
      model_.View.BackgroundColour = colour;
      emit coloursChanged();
    });
  }
  AddOption(grid, kRows, "Option1", RowCaption(0));
  grid->addWidget(new QLabel("変更なし", group), kRows, 1);
  return group;
}

QWidget* ColourDialog::BuildAxisGroup() {
  auto* group = new QGroupBox("XYZ軸", this);
  group->setObjectName("Frame2");
  auto* grid = new QGridLayout(group);
  for (int i = 0; i < kRows; ++i) {
    const AxisRow& row = kAxisRows[static_cast<size_t>(i)];
    QRadioButton* option = AddOption(grid, i, row.option, RowCaption(i + 1));
    grid->addWidget(SwatchRow(group, {row.x, row.y, row.z}), i, 1);
    connect(option, &QRadioButton::clicked, this, [this, row] {
      model_.View.AxisColourX = row.x;
      model_.View.AxisColourY = row.y;
      model_.View.AxisColourZ = row.z;
      emit coloursChanged();
    });
  }
  grid->setRowStretch(kRows, 1);
  return group;
}

QWidget* ColourDialog::BuildMagnetGroup() {
  auto* group = new QGroupBox("磁石", this);
  group->setObjectName("Frame3");
  auto* grid = new QGridLayout(group);
  for (int i = 0; i < kRows; ++i) {
    const MagnetRow& row = MagnetRows()[static_cast<size_t>(i)];
    QRadioButton* option = AddOption(grid, i, row.option, RowCaption(i + 1));
    if (!row.colours) {
      continue;
    }
    const auto [north, south] = *row.colours;
    grid->addWidget(SwatchRow(group, {north, south}), i, 1);
    connect(option, &QRadioButton::clicked, this, [this, north, south] {
      model_.View.MagnetColourN = north;
      model_.View.MagnetColourS = south;
      emit coloursChanged();
    });
  }
  grid->setRowStretch(kRows, 1);
  return group;
}

}  // namespace tavrine
