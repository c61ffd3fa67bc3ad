#include "platform/qt/raster_app.h"

#include <QGuiApplication>
#include <cstdio>

namespace zw::qt {

void ensure_app() {
  if (QCoreApplication::instance()) return;
  // Standard error carries the program's messages; Qt's own notes about the
  // environment (no runtime directory and the like) would only clutter it.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
      std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
  });
  // The arguments must outlive the application.
  static int argc = 3;
  static char name[] = "zoomwright-cli";
  static char platform_flag[] = "-platform";
  static char platform[] = "offscreen";
  static char* argv[] = {name, platform_flag, platform, nullptr};
  static QGuiApplication app(argc, argv);
}

}  // namespace zw::qt
