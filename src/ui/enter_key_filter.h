// Enter-key cycles of the editing dialogs: Return/Enter in a watched field is taken from the
// dialog (so no default button fires) and handed to the dialog's own handler.
#pragma once

#include <functional>

#include <QObject>
#include <QWidget>

namespace tavrine {

class EnterKeyFilter final : public QObject {
 public:
  // handler(widget): Enter was pressed in the watched widget.
  using Handler = std::function<void(QWidget*)>;

  EnterKeyFilter(Handler handler, QObject* parent);
  void Watch(QWidget* widget);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Handler handler_;
};

}  // namespace tavrine
