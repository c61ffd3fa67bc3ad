#pragma once
#include <QGuiApplication>

namespace zw::test {

// Fonts and painters need one application object; every Qt test shares it.
inline void ensure_qt_app() {
  if (QCoreApplication::instance()) return;
  static int argc = 1;
  static char name[] = "zw_qt_tests";
  static char* argv[] = {name, nullptr};
  static QGuiApplication app(argc, argv);
}

}  // namespace zw::test
