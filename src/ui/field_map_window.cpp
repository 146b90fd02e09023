// The field map window: a component choice, the map drawn by the display's field map, the
// point readout under it and the picture commands.
#include "ui/field_map_window.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/file_dialogs.h"
#include "ui/painter_canvases.h"
#include "ui/qt_text.h"
#include "ui/ui_fonts.h"
#include "ui/views_picture.h"

namespace tavrine {

class FieldMapWindow::MapArea final : public QWidget {
 public:
  explicit MapArea(FieldMapWindow& window) : QWidget(&window), window_(window) {
    setObjectName("MapArea");
    setMouseTracking(true);
    setMinimumSize(360, 260);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    window_.Paint(painter, size());
  }
  void mouseMoveEvent(QMouseEvent* event) override { window_.ShowPointAt(event->position()); }

 private:
  FieldMapWindow& window_;
};

FieldMapWindow::FieldMapWindow(ElementModel& model, QWidget* parent)
    : QWidget(parent, Qt::Window), model_(model) {
  setObjectName("FieldMap");
  setWindowTitle(QStringLiteral("磁界マップ"));
  setFont(QFont(kUiFontFamily));
  auto* column = new QVBoxLayout(this);
  auto* controls = new QHBoxLayout;
  controls->addWidget(new QLabel(QStringLiteral("計算点"), this));
  set_ = new QComboBox(this);
  set_->setObjectName("MapSet");
  set_->addItems({QStringLiteral("四角型分布"), QStringLiteral("扇型分布")});
  controls->addWidget(set_);
  controls->addWidget(new QLabel(QStringLiteral("成分"), this));
  component_ = new QComboBox(this);
  component_->setObjectName("MapComponent");
  component_->addItems(
      {QStringLiteral("|H|"), QStringLiteral("Hx"), QStringLiteral("Hy"), QStringLiteral("Hz")});
  controls->addWidget(component_);
  controls->addStretch(1);
  auto* save = new QPushButton(QStringLiteral("画像の保存"), this);
  save->setObjectName("MapSave");
  auto* close_button = new QPushButton(QStringLiteral("閉じる"), this);
  close_button->setObjectName("MapClose");
  controls->addWidget(save);
  controls->addWidget(close_button);
  column->addLayout(controls);
  area_ = new MapArea(*this);
  column->addWidget(area_, 1);
  readout_ =
      new QLabel(QStringLiteral("計算点の上にポインタを置くと、位置と磁界を表示します"), this);
  readout_->setObjectName("MapReadout");
  readout_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  column->addWidget(readout_);
  connect(component_, &QComboBox::currentIndexChanged, area_, qOverload<>(&QWidget::update));
  connect(set_, &QComboBox::currentIndexChanged, area_, qOverload<>(&QWidget::update));
  connect(save, &QPushButton::clicked, this, &FieldMapWindow::SaveWithDialog);
  connect(close_button, &QPushButton::clicked, this, &QWidget::close);
  choose_ = [this] {
    QFileDialog dialog(this, QStringLiteral("磁界マップの保存"));
    UseProgramFileDialog(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({QStringLiteral("PNG 画像 (*.png)"), QStringLiteral("SVG 画像 (*.svg)")});
    dialog.setDefaultSuffix(QStringLiteral("png"));
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
      dialog.setDefaultSuffix(filter.contains(QStringLiteral("svg")) ? QStringLiteral("svg")
                                                                     : QStringLiteral("png"));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
      return QString();
    return dialog.selectedFiles().constFirst();
  };
  resize(820, 640);
  Refresh();
}

void FieldMapWindow::Refresh() {
  grid_ = RectFieldMapGrid(model_);
  sector_grid_ = SectorFieldMapGrid(model_);
  area_->update();
}

MapSet FieldMapWindow::Set() const {
  return set_->currentIndex() == 1 ? MapSet::kSector : MapSet::kRect;
}

void FieldMapWindow::ShowSet(MapSet set) {
  set_->setCurrentIndex(set == MapSet::kSector ? 1 : 0);
}

MapComponent FieldMapWindow::Component() const {
  return static_cast<MapComponent>(component_->currentIndex());
}

void FieldMapWindow::Paint(QPainter& painter, QSize size) const {
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setFont(QFont(kUiFontFamily, 9));
  PainterMapCanvas canvas(painter, size.width(), size.height());
  if (Set() == MapSet::kSector && sector_grid_) {
    DrawSectorFieldMap(model_, *sector_grid_, Component(), canvas);
  } else if (Set() == MapSet::kRect && grid_) {
    DrawFieldMap(model_, *grid_, Component(), canvas);
  } else {
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter,
                     Set() == MapSet::kSector ? QStringLiteral("扇型分布の計算点がありません")
                                              : QStringLiteral("四角型分布の計算点がありません"));
  }
}

QWidget* FieldMapWindow::Area() const {
  return area_;
}

QImage FieldMapWindow::Picture() const {
  QImage image(area_->size(), QImage::Format_RGB32);
  QPainter painter(&image);
  Paint(painter, image.size());
  return image;
}

void FieldMapWindow::ShowPointAt(QPointF at) {
  std::optional<std::string> text;
  if (Set() == MapSet::kSector && sector_grid_) {
    const FieldMapLayout layout = LayoutSectorMap(*sector_grid_, area_->width(), area_->height());
    if (const std::optional<int> k = SectorMapPointAt(*sector_grid_, layout, at.x(), at.y()))
      text = SectorMapPointText(model_, *k);
  } else if (Set() == MapSet::kRect && grid_) {
    const FieldMapLayout layout = LayoutFieldMap(*grid_, area_->width(), area_->height());
    if (const std::optional<int> k = MapPointAt(*grid_, layout, at.x(), at.y()))
      text = MapPointText(model_, *k);
  }
  if (text)
    readout_->setText(Utf8(*text));
}

bool FieldMapWindow::SavePicture(const QString& path) const {
  return WriteFieldMapPicture(model_, Component(), area_->size(), path, Set());
}

void FieldMapWindow::SaveWithDialog() {
  const QString path = choose_();
  if (path.isEmpty())
    return;
  if (!SavePicture(path)) {
    QMessageBox box(QMessageBox::Warning, windowTitle(),
                    QStringLiteral("画像を書き込めませんでした"), QMessageBox::NoButton, this);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
  }
}

}  // namespace tavrine
