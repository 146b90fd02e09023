// Notice windows: created on first raise, raised again on every later raise, never modal.
#include "ui/notice_windows.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "ui/qt_text.h"

namespace tavrine {

namespace {

QStyle::StandardPixmap IconFor(const NoticeText& info) {
  if (info.buttons.size() > 1) {
    return QStyle::SP_MessageBoxQuestion;
  }
  return info.title == "警告" ? QStyle::SP_MessageBoxWarning : QStyle::SP_MessageBoxInformation;
}

const char* ButtonName(std::string_view text) {
  if (text == "はい") {
    return "cmdYes";
  }
  if (text == "いいえ") {
    return "cmdNo";
  }
  return "cmdOK";
}

}  // namespace

NoticeWindow::NoticeWindow(NoticeId id, QWidget* parent)
    : QDialog(parent), id_(id), detail_(new QLabel(this)) {
  const NoticeText& info = NoticeInfo(id);
  setObjectName(Utf8(info.name));
  setWindowTitle(Utf8(info.title));
  setModal(false);
  setFont(QFont("Noto Sans CJK JP"));
  auto* icon = new QLabel(this);
  icon->setObjectName("imgIcon");
  icon->setPixmap(style()->standardIcon(IconFor(info)).pixmap(32, 32));
  auto* message = new QLabel(Utf8(info.message), this);
  message->setObjectName("lblMessage");
  message->setWordWrap(true);
  message->setMinimumWidth(360);
  message->setMaximumWidth(460);
  detail_->setObjectName("lblDetail");
  detail_->setWordWrap(true);
  detail_->setMaximumWidth(460);
  detail_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  detail_->hide();
  auto* texts = new QVBoxLayout;
  texts->addWidget(message);
  texts->addWidget(detail_);
  auto* text_row = new QHBoxLayout;
  text_row->addWidget(icon, 0, Qt::AlignTop);
  text_row->addLayout(texts, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (size_t i = 0; i < info.buttons.size(); ++i) {
    const bool yes = info.buttons[i] == "はい";
    auto* button = new QPushButton(Utf8(info.buttons[i]), this);
    button->setObjectName(ButtonName(info.buttons[i]));
    button->setDefault(i == 0);
    connect(button, &QPushButton::clicked, this, [this, yes] { Answer(yes); });
    buttons->addWidget(button);
  }
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(text_row);
  layout->addLayout(buttons);
}

void NoticeWindow::SetDetail(const QString& detail) {
  detail_->setText(detail);
  detail_->setVisible(!detail.isEmpty());
  adjustSize();
}

void NoticeWindow::Answer(bool yes) {
  hide();
  emit answered(id_, yes);
}

void NoticeWindow::reject() {
  Answer(false);
}

NoticeWindows::NoticeWindows(NoticeBoard& board, QWidget* window_parent)
    : board_(board), window_parent_(window_parent) {
  // The listener runs on the raising thread; only a queued call may touch widgets. The guard
  // is read on the UI thread, so a notice raised while this object goes away is dropped.
  QPointer<NoticeWindows> guard(this);
  board_.SetListener([guard](NoticeId id) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [guard, id] {
          if (guard) {
            guard->Show(id);
          }
        },
        Qt::QueuedConnection);
  });
}

NoticeWindows::~NoticeWindows() {
  board_.SetListener(nullptr);
  for (auto& window : windows_) {
    delete window.data();
  }
}

void NoticeWindows::SetOverwriteCallback(std::function<void()> callback) {
  overwrite_ = std::move(callback);
}

NoticeWindow* NoticeWindows::Window(NoticeId id) const {
  return windows_[static_cast<size_t>(id)].data();
}

void NoticeWindows::Show(NoticeId id) {
  // Answered before this queued call arrived: nothing left to show.
  if (!board_.IsOpen(id)) {
    return;
  }
  QPointer<NoticeWindow>& window = windows_[static_cast<size_t>(id)];
  if (!window) {
    window = new NoticeWindow(id, window_parent_.data());
    // A parent keeps the notice over the main window; the flag keeps it a window of its own.
    window->setWindowFlag(Qt::Window, true);
    connect(window, &NoticeWindow::answered, this, &NoticeWindows::OnAnswered);
  }
  window->setWindowTitle(QString::fromStdString(board_.Title(id)));
  window->SetDetail(QString::fromStdString(board_.Detail(id)));
  window->show();
  window->raise();
  window->activateWindow();
  emit noticeShown(id);
}

void NoticeWindows::OnAnswered(NoticeId id, bool yes) {
  board_.Close(id);
  if (yes && id == NoticeId::CautionFileExist && overwrite_) {
    overwrite_();
  }
}

}  // namespace tavrine
