// About window: the fixed texts beside a drawn picture of magnets and field lines.
#include "ui/about_window.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSvgRenderer>

#include "ui/dialog_resources.h"

namespace tavrine {

namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const char* text) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setObjectName(name);
  label->setWordWrap(true);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

QPixmap RenderPicture(const QString& path, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QSvgRenderer renderer(path);
  QPainter painter(&pixmap);
  renderer.render(&painter);
  return pixmap;
}

}  // namespace

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent) {
  InitDialogResources();
  setObjectName("frmAbout1");
  setWindowTitle(QString::fromUtf8(kAboutWindowTitle));
  setModal(false);
  setAttribute(Qt::WA_DeleteOnClose);
  setFont(QFont("Noto Sans CJK JP"));
  auto* picture = new QLabel(this);
  picture->setObjectName("picIcon");
  picture->setPixmap(RenderPicture(":/about/about_picture.svg", 96));
  picture->setFixedSize(96, 96);
  auto* title = MakeLabel(this, "lblTitle", kAboutTitle);
  QFont title_font = title->font();
  title_font.setPixelSize(18);
  title_font.setBold(true);
  title->setFont(title_font);
  auto* disclaimer = MakeLabel(this, "lblDisclaimer", kAboutDisclaimer);
  disclaimer->setFrameShape(QFrame::StyledPanel);
  disclaimer->setContentsMargins(6, 6, 6, 6);
  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("cmdOK");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::close);
  auto* layout = new QGridLayout(this);
  layout->addWidget(picture, 0, 0, 3, 1, Qt::AlignTop);
  layout->addWidget(title, 0, 1);
  layout->addWidget(MakeLabel(this, "lblVersion", kAboutVersion), 1, 1);
  layout->addWidget(MakeLabel(this, "lblDescription", kAboutDescription), 2, 1);
  layout->addWidget(disclaimer, 3, 0, 1, 2);
  layout->addWidget(ok, 4, 1, Qt::AlignRight);
  layout->setColumnStretch(1, 1);
  setMinimumWidth(520);
}

}  // namespace tavrine
