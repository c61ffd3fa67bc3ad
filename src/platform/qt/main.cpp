// zoomwright: the window program.
#include <QApplication>
#include <QStringList>

#include "app/main_window.h"
#include "app/state.h"
#include "platform/qt/main_window_view.h"
#include "platform/qt/qt_host.h"
#include "platform/qt/raster_text.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(zw::qt::program_title);

  zw::AppState s;
  s.app_dir = zw::qt::from_qstring(QCoreApplication::applicationDirPath());
  // The whole argument text is the style root.
  s.command_line = zw::qt::from_qstring(QCoreApplication::arguments().mid(1).join(' '));

  zw::qt::QtHost host;
  zw::qt::MainWindowView window(s, host, host.twips_per_pixel());
  host.set_window(&window);
  zw::Form_Load(s, host);
  window.sync();
  window.show();

  return app.exec();
}
