// Colour dialog: three columns of option buttons, one row per palette entry, each with sample
// swatches of the colours it sets.
#include "ui/colour_dialog.h"

#include <array>
#include <string>
#include <string_view>

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "display/palettes.h"
#include "ui/qt_text.h"

namespace tavrine {

namespace {

constexpr int kRows = 10;

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

QRadioButton* AddOption(QGridLayout* grid,
                        int grid_row,
                        std::string_view name,
                        const QString& text) {
  auto* option = new QRadioButton(text, grid->parentWidget());
  option->setObjectName(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
  grid->addWidget(option, grid_row, 0);
  return option;
}

}  // namespace

void ColourDialog::ShowColoursInForce() {
  const ColourRowsInForce rows = RowsInForce(model_);
  const auto check = [this](const QString& name) {
    if (auto* option = findChild<QRadioButton*>(name))
      option->setChecked(true);
  };
  const auto uncheck_group = [this](const char* frame) {
    for (QRadioButton* option : findChild<QWidget*>(frame)->findChildren<QRadioButton*>()) {
      option->setAutoExclusive(false);
      option->setChecked(false);
      option->setAutoExclusive(true);
    }
  };
  uncheck_group("Frame1");
  uncheck_group("Frame2");
  uncheck_group("Frame3");
  if (rows.background > 0)
    check(Utf8(kBackgroundPalette[static_cast<size_t>(rows.background - 1)].option));
  if (rows.axis > 0)
    check(Utf8(kAxisPalette[static_cast<size_t>(rows.axis - 1)].option));
  if (rows.magnet > 0)
    check(Utf8(kMagnetPalette[static_cast<size_t>(rows.magnet - 1)].option));
}

bool ColourDialog::event(QEvent* event) {
  if (event->type() == QEvent::Show || event->type() == QEvent::WindowActivate)
    ShowColoursInForce();
  return QDialog::event(event);
}

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
    const BackgroundRow& row = kBackgroundPalette[static_cast<size_t>(i)];
    QRadioButton* option = AddOption(grid, i, row.option, RowCaption(i + 1));
    grid->addWidget(Swatch(group, row.colour, QString("Picture%1").arg(i + 1)), i, 1);
    connect(option, &QRadioButton::clicked, this, [this, i] {
      if (SetBackgroundRow(model_, i + 1)) {
        emit coloursChanged();
      }
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
    const AxisRow& row = kAxisPalette[static_cast<size_t>(i)];
    QRadioButton* option = AddOption(grid, i, row.option, RowCaption(i + 1));
    grid->addWidget(SwatchRow(group, {row.x, row.y, row.z}), i, 1);
    connect(option, &QRadioButton::clicked, this, [this, i] {
      if (SetAxisRow(model_, i + 1)) {
        emit coloursChanged();
      }
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
    const std::string name = "Option" + std::to_string(21 + i);
    QRadioButton* option = AddOption(grid, i, name, RowCaption(i + 1));
    if (i < static_cast<int>(kMagnetPalette.size())) {
      const MagnetRow& row = kMagnetPalette[static_cast<size_t>(i)];
      grid->addWidget(SwatchRow(group, {row.north, row.south}), i, 1);
    }
    // Rows past the palette do nothing; the setter says so.
    connect(option, &QRadioButton::clicked, this, [this, i] {
      if (SetMagnetRow(model_, i + 1)) {
        emit coloursChanged();
      }
    });
  }
  grid->setRowStretch(kRows, 1);
  return group;
}

}  // namespace tavrine
