// zoomwright: the window program.
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QStringList>
#include <csignal>

#include "app/main_window.h"
#include "app/program_folders.h"
#include "model/state.h"
#include "platform/qt/main_window_view.h"
#include "platform/qt/qt_host.h"
#include "platform/qt/raster_text.h"

namespace {

int end_pipe[2] = {-1, -1};

void on_end_signal(int) {
  char c = 1;
  (void)!::write(end_pipe[1], &c, 1);
}

// The end of the session (SIGTERM), of the terminal (SIGHUP) or Ctrl+C closes
// the window as its close box does, so that the settings are kept. The signal
// only writes to a pipe; the window closes in the event loop.
void catch_end_signals() {
  if (::pipe2(end_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  struct sigaction action {};
  action.sa_handler = on_end_signal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(sig, &action, nullptr);
}

int run_window(QApplication& app, zw::AppState& s, zw::qt::QtHost& host);

}  // namespace

int main(int argc, char** argv) {
  catch_end_signals();
  QApplication app(argc, argv);
  QApplication::setApplicationName(zw::qt::program_title);

  zw::AppState s;
  // The whole argument text is the style root.
  s.command_line = zw::qt::from_qstring(QCoreApplication::arguments().mid(1).join(' '));

  zw::qt::QtHost host;
  zw::find_program_folders(s, host.fs(),
                           zw::qt::from_qstring(QCoreApplication::applicationDirPath()));
  // A window that cannot be made is said so, not left to an abort.
  try {
    return run_window(app, s, host);
  } catch (const std::exception& e) {
    QMessageBox::critical(nullptr, zw::qt::program_title,
                          zw::qt::to_qstring(zw::window_failed_message(e.what())));
    return 1;
  }
}

namespace {

int run_window(QApplication& app, zw::AppState& s, zw::qt::QtHost& host) {
  zw::qt::MainWindowView window(s, host, host.twips_per_pixel());
  host.set_window(&window);

  QSocketNotifier ended(end_pipe[0], QSocketNotifier::Read);
  ended.setEnabled(end_pipe[0] >= 0);
  QObject::connect(&ended, &QSocketNotifier::activated, [&] {
    ended.setEnabled(false);
    window.close();
    // Also ends a message box that waits for an answer.
    QCoreApplication::quit();
  });

  zw::Form_Load(s, host);
  window.sync();
  window.show();

  return app.exec();
}
}  // namespace
