// Shared set-up of the QtTest programs: offscreen platform, a Japanese font, lookup by name.
#pragma once

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>

#include "ui/ui_fonts.h"

namespace tavrine::ui_testing {

inline void UseJapaneseFont() {
  QApplication::setFont(QFont(kUiFontFamily));
}

template <typename T>
T* Named(QObject* root, const char* name) {
  T* found = root->findChild<T*>(QString::fromUtf8(name));
  if (found == nullptr)
    qFatal("no %s named %s", T::staticMetaObject.className(), name);
  return found;
}

// The caption without the "(&F)" access-key suffix of the top-level menus.
inline QString Caption(const QAction* action) {
  QString text = action->text();
  static const QRegularExpression kAccessKey(QStringLiteral("\\(&[A-Z]\\)$"));
  if (!text.contains(QStringLiteral("(&X)")))
    text.remove(kAccessKey);
  return text;
}

}  // namespace tavrine::ui_testing
