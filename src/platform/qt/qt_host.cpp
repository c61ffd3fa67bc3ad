#include "platform/qt/qt_host.h"

#include "platform/qt/dialogs.h"

#include <QApplication>
#include <algorithm>
#include <QDate>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLocale>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QTime>
#include <QUrl>

#include "platform/qt/main_window_view.h"
#include "platform/qt/raster_text.h"
#include "platform/qt/twips.h"

namespace zw::qt {

QWidget* QtHost::owner() const {
  return window_;
}

Answer QtHost::message(const std::string& text, Buttons buttons) {
  QMessageBox box(owner());
  box.setWindowTitle(program_title);
  box.setText(to_qstring(text));
  switch (buttons) {
    case Buttons::ok:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case Buttons::yes_no:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      break;
    case Buttons::no_yes:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setDefaultButton(QMessageBox::No);
      break;
    case Buttons::yes_no_cancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
  }
  // A message must be readable even while the busy cursor is up.
  bool was_busy = busy_;
  if (was_busy) QApplication::restoreOverrideCursor();
  int pressed = box.exec();
  if (was_busy) QApplication::setOverrideCursor(Qt::WaitCursor);
  switch (pressed) {
    case QMessageBox::Yes:
      return Answer::yes;
    case QMessageBox::No:
      return Answer::no;
    case QMessageBox::Cancel:
      return Answer::cancel;
    default:
      // Closing the box without a button means Cancel where there is one.
      if (buttons == Buttons::yes_no_cancel) return Answer::cancel;
      if (buttons == Buttons::yes_no || buttons == Buttons::no_yes) return Answer::no;
      return Answer::ok;
  }
}

void QtHost::set_busy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

void QtHost::do_events() {
  QCoreApplication::processEvents();
  if (window_) window_->sync_if_due();
}

std::unique_ptr<QFileDialog> make_file_dialog(QWidget* owner, bool save,
                                              const std::string& initial_dir,
                                              const std::string& default_name) {
  auto dialog = std::make_unique<QFileDialog>(owner, save ? "Save File" : "Open File",
                                              to_qstring(initial_dir));
  dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  // The program asks about replacing a file itself.
  dialog->setOption(QFileDialog::DontConfirmOverwrite);
  QString name = to_qstring(default_name);
  // A preset name such as "*.txt" is a pattern that filters the listing.
  if (name.contains('*') || name.contains('?')) dialog->setNameFilter(name);
  if (!name.isEmpty()) dialog->selectFile(name);
  return dialog;
}

std::string QtHost::file_dialog(bool save, const std::string& initial_dir,
                                const std::string& default_name) {
  auto dialog = make_file_dialog(owner(), save, initial_dir, default_name);
  if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return {};
  return from_qstring(QDir::toNativeSeparators(dialog->selectedFiles().front()));
}

std::string QtHost::choose_folder(const std::string& title) {
  QString chosen = QFileDialog::getExistingDirectory(owner(), to_qstring(title), QString());
  return chosen.isEmpty() ? std::string() : from_qstring(QDir::toNativeSeparators(chosen));
}

bool QtHost::shell_open(const std::string& target) {
  QString t = to_qstring(target);
  QUrl url = t.contains("://") ? QUrl(t) : QUrl::fromLocalFile(t);
  return QDesktopServices::openUrl(url);
}

bool QtHost::edit_text_file(const std::string& path, int line) {
#ifdef _WIN32
  (void)line;  // Notepad takes no line
  return QProcess::startDetached("NOTEPAD.EXE", {to_qstring(path)});
#else
  // The user's own editor takes "+LINE" (vi, Emacs, nano, gedit, Kate alike).
  auto visual = qEnvironmentVariable("VISUAL");
  if (line > 0 && !visual.isEmpty() &&
      QProcess::startDetached(visual, {"+" + QString::number(line), to_qstring(path)}))
    return true;
  // No Notepad here: the desktop's own editor for text files.
  return QDesktopServices::openUrl(QUrl::fromLocalFile(to_qstring(path)));
#endif
}

std::vector<std::string> QtHost::screen_fonts() {
  std::vector<std::string> names;
  for (const auto& family : QFontDatabase::families()) names.push_back(from_qstring(family));
  return names;
}

double QtHost::timer_seconds() {
  return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

std::string QtHost::today() {
  return from_qstring(QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
}

double QtHost::twips_per_pixel() {
  auto* screen = QGuiApplication::primaryScreen();
  return twips_per_pixel_at(screen ? screen->logicalDotsPerInchX() : 96.0);
}

int QtHost::sizing_border_pixels() {
  if (!window_ || !window_->isVisible()) return 0;
  return std::max(0, (window_->frameGeometry().width() - window_->geometry().width()) / 2);
}

void QtHost::show_dialog(Dialog which) {
  if (!window_) return;
  run_dialog(window_->state(), *this, which, window_);
  // The main window becomes active again: its activation steps run.
  window_->activate();
}

void QtHost::close_main_window() {
  if (window_) window_->close();
}

}  // namespace zw::qt
