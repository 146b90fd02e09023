// Notice windows: created on first raise, raised again on every later raise, never modal.
#include "ui/notice_windows.h"

#include <algorithm>

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
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
  // A notice informs; the field being typed in keeps the keyboard.
  setAttribute(Qt::WA_ShowWithoutActivating);
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
  qApp->installEventFilter(this);
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
  KeepReachable(window);
  if (!window->isVisible()) {
    window->adjustSize();
    window->move(FreePlace(window));
  }
  // Where the platform activates every window it shows, the window being typed in gets the
  // keyboard back at once.
  const QPointer<QWidget> typing_in = QApplication::activeWindow();
  window->show();
  window->raise();
  if (typing_in && typing_in != window) {
    typing_in->activateWindow();
  }
  emit noticeShown(id);
}

void NoticeWindows::KeepReachable(NoticeWindow* window, const QObject* hiding, QWidget* opening) {
  // A modal box blocks every window but its own children: the notice becomes one of them while
  // the box is up, and goes back when it hides.
  QWidget* modal = opening != nullptr ? opening : QApplication::activeModalWidget();
  if (modal == hiding || qobject_cast<NoticeWindow*>(modal) != nullptr) {
    modal = nullptr;
  }
  QWidget* owner = modal != nullptr ? modal : window_parent_.data();
  if (window->parentWidget() == owner) {
    return;
  }
  const bool was_visible = window->isVisible();
  const QPoint place = window->pos();
  window->setParent(owner, window->windowFlags() | Qt::Window);
  window->move(place);
  if (was_visible) {
    const QPointer<QWidget> typing_in = QApplication::activeWindow();
    window->show();
    if (typing_in && typing_in != window) {
      typing_in->activateWindow();
    }
  }
}

QPoint NoticeWindows::FreePlace(const NoticeWindow* window) const {
  // Centred on the screen, then stepped down past every notice already showing, so that each
  // one's message and button stay in sight; a full column wraps to the top, a little further
  // right.
  const QScreen* screen = window->screen() != nullptr ? window->screen() : qApp->primaryScreen();
  const QRect area = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
  constexpr int kFrameAllowance = 40;  // title bar and borders a window manager may add
  const QSize size = window->size() + QSize(0, kFrameAllowance);
  const int rows = std::max(1, area.height() / size.height());
  const int first_row = std::max(0, (area.height() / 2 - size.height() / 2) / size.height());
  const int left = area.center().x() - size.width() / 2;
  for (int k = 0;; ++k) {
    const int row = (first_row + k) % rows;
    const int column = (first_row + k) / rows;
    const QRect place(QPoint(left + column * kFrameAllowance, area.top() + row * size.height()),
                      size);
    const bool taken = std::any_of(windows_.begin(), windows_.end(), [&](const auto& other) {
      return other && other.data() != window && other->isVisible() &&
             other->frameGeometry().intersects(place);
    });
    if (!taken || k >= kNoticeCount) {
      return place.topLeft();
    }
  }
}

bool NoticeWindows::eventFilter(QObject* watched, QEvent* event) {
  // A modal box opening over open notices takes them along, so that they can still be answered.
  if (event->type() == QEvent::Show && watched->isWidgetType() &&
      qobject_cast<NoticeWindow*>(watched) == nullptr) {
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->isWindow() && widget->windowModality() != Qt::NonModal) {
      for (auto& window : windows_) {
        if (window && window->isVisible()) {
          KeepReachable(window, nullptr, widget);
        }
      }
    }
    return false;
  }
  if (event->type() == QEvent::Hide && watched->isWidgetType()) {
    for (auto& window : windows_) {
      if (window && window->parentWidget() == watched) {
        KeepReachable(window, watched);
      }
    }
  }
  return QObject::eventFilter(watched, event);
}

void NoticeWindows::OnAnswered(NoticeId id, bool yes) {
  board_.Close(id);
  if (yes && id == NoticeId::CautionFileExist && overwrite_) {
    overwrite_();
  }
}

}  // namespace tavrine
