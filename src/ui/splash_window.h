// The splash window shown over the main window at start: program name, version and a timer
// after which the start-up opens the world-frame dialog.
#pragma once

#include <QLabel>
#include <QTimer>
#include <QWidget>

namespace tavrine {

inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 1;
inline constexpr int kVersionRevision = 0;
inline constexpr int kSplashIntervalMs = 3000;

// "ﾊﾞｰｼﾞｮﾝ 1.1.0" for major 1, minor 1, revision 0.
QString VersionText(int major, int minor, int revision);

class SplashWindow : public QWidget {
  Q_OBJECT

 public:
  // The interval is shortened only by tests.
  explicit SplashWindow(QWidget* parent = nullptr, int interval_ms = kSplashIntervalMs);

  bool TimerActive() const { return timer_.isActive(); }

 signals:
  // The timer ran out; the window has stopped its timer and closed itself.
  void timerFinished();
  // A key or a click closed the window before the timer ran out; the timer never fires.
  void closedEarly();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void OnTimeout();
  void CloseEarly();

  QTimer timer_;
  bool started_ = false;
};

}  // namespace tavrine
