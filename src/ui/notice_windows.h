// The Qt side of the notice board: one non-modal window per open notice, shown on the UI
// thread whatever thread raised it.
#pragma once

#include <array>
#include <functional>

#include <QDialog>
#include <QLabel>
#include <QPointer>

#include "model/notices.h"

namespace tavrine {

// One notice: icon, message and its one or two buttons. Closing it by any means closes the
// notice on the board; for CautionFileExist only "はい" writes.
class NoticeWindow : public QDialog {
  Q_OBJECT

 public:
  explicit NoticeWindow(NoticeId id, QWidget* parent = nullptr);
  // The line under the fixed message (a file error's file, line and reason); hidden if empty.
  void SetDetail(const QString& detail);

 signals:
  // The user answered; yes is true only for "はい".
  void answered(NoticeId id, bool yes);

 protected:
  // The close box and Escape answer like "OK", or "いいえ" (no writing).
  void reject() override;

 private:
  void Answer(bool yes);

  NoticeId id_;
  QLabel* detail_;
};

class NoticeWindows : public QObject {
  Q_OBJECT

 public:
  // Listens to the board for as long as this object lives. Windows get `window_parent` as
  // their owner (they stay top-level windows).
  explicit NoticeWindows(NoticeBoard& board, QWidget* window_parent = nullptr);
  ~NoticeWindows() override;

  // "はい" on CautionFileExist: writes the model file to the path already chosen.
  void SetOverwriteCallback(std::function<void()> callback);
  // The window of an open notice, or null.
  NoticeWindow* Window(NoticeId id) const;

 signals:
  void noticeShown(NoticeId id);

 private:
  void Show(NoticeId id);
  void OnAnswered(NoticeId id, bool yes);
  // Owned by the modal box that is up or `opening`, if any (other than `hiding`), else by the
  // usual parent.
  void KeepReachable(NoticeWindow* window,
                     const QObject* hiding = nullptr,
                     QWidget* opening = nullptr);
  // Where a notice about to show covers no other open notice.
  QPoint FreePlace(const NoticeWindow* window) const;
  bool eventFilter(QObject* watched, QEvent* event) override;

  NoticeBoard& board_;
  QPointer<QWidget> window_parent_;
  std::array<QPointer<NoticeWindow>, kNoticeCount> windows_{};
  std::function<void()> overwrite_;
};

}  // namespace tavrine
