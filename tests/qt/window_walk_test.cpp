// The walk through the real window, on the Qt window and its real host: the
// user's hand is mouse and key events; every modal window that opens (message
// boxes, file dialogs, the program's dialogs) is answered from the walk's
// script, and one that nobody expected fails the walk instead of waiting.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>
#include <algorithm>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>

#include "app/main_window.h"
#include "app/menus.h"
#include "app/program_folders.h"
#include "base/open_document.h"
#include "base/paths.h"
#include "base/std_file_system.h"
#include "base/text.h"
#include "platform/qt/control_widgets.h"
#include "platform/qt/main_window_view.h"
#include "platform/qt/qt_host.h"
#include "support/test_app.h"
#include "walk/window_walk.h"

namespace zw {
namespace {

namespace fs = std::filesystem;
using qt::MainWindowView;

using WalkHost = walk::HostWithoutDesktop<qt::QtHost>;

// A message box's buttons and the answers they give.
const std::pair<QMessageBox::StandardButton, Answer> buttons[] = {
    {QMessageBox::Ok, Answer::ok},
    {QMessageBox::Yes, Answer::yes},
    {QMessageBox::No, Answer::no},
    {QMessageBox::Cancel, Answer::cancel}};

// Answers the modal windows as they open, in the order the script expects them.
class Walker : public QObject {
 public:
  using Act = std::function<void(QWidget*)>;
  Walker() {
    connect(&timer_, &QTimer::timeout, this, [this] { look(); });
    timer_.start(2);
  }
  void expect(Act act) { queue_.push_back(std::move(act)); }
  std::vector<std::string> unexpected;
  std::vector<walk::ModalSeen> seen;
  std::size_t waiting() const { return queue_.size(); }

 private:
  void look() {
    QPointer<QWidget> modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) return;
    for (auto* w : handling_)
      if (w == modal) return;
    QWidget* raw = modal.data();
    handling_.push_back(raw);
    // Answered outside this timer's slot: a window opened meanwhile (a message
    // inside a dialog) must find the timer free to run again.
    QTimer::singleShot(0, this, [this, modal, raw] {
      answer(modal);
      handling_.erase(std::find(handling_.begin(), handling_.end(), raw));
    });
  }

  void answer(QPointer<QWidget> modal) {
    if (!modal) return;
    auto* box = qobject_cast<QMessageBox*>(modal.data());
    walk::ModalSeen what{modal->windowTitle().toStdString(), "", Answer::ok, ""};
    if (box) {
      what.text = box->text().toStdString();
      for (auto [button, answer] : buttons)
        if (box->defaultButton() && box->defaultButton() == box->button(button))
          what.default_answer = answer;
    }
    if (auto* files = qobject_cast<QFileDialog*>(modal.data()))
      what.folder = files->directory().absolutePath().toStdString();
    seen.push_back(what);
    if (queue_.empty()) {
      unexpected.push_back((box ? box->text() : modal->objectName()).toStdString());
      modal->close();
      return;
    }
    auto act = std::move(queue_.front());
    queue_.pop_front();
    act(modal);
    // Every answer closes its window; one still open means its button failed.
    if (modal && modal->isVisible()) {
      unexpected.push_back("still open after its answer: " + modal->objectName().toStdString());
      modal->close();
    }
  }

  QTimer timer_;
  std::deque<Act> queue_;
  std::vector<QWidget*> handling_;
};

void mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button = Qt::LeftButton,
           QPointF at = {-1, -1}) {
  ASSERT_TRUE(w);
  if (at.x() < 0) at = QPointF(std::min(6, w->width() / 2), w->height() / 2);
  Qt::MouseButtons held = type == QEvent::MouseButtonRelease || type == QEvent::MouseMove
                              ? Qt::NoButton
                              : Qt::MouseButtons(button);
  QMouseEvent e(type, at, w->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button,
                held, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

void click(QWidget* w, Qt::MouseButton button = Qt::LeftButton) {
  mouse(w, QEvent::MouseButtonPress, button);
  mouse(w, QEvent::MouseButtonRelease, button);
}

void key(QWidget* w, int k, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, text);
  QApplication::sendEvent(w, &press);
}

bool pump_until(const std::function<bool()>& done, int ms = 5000) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  return done();
}

// Clears a text field and types into it, key by key.
void type_into(QWidget* w, const std::string& text) {
  if (auto* combo = qobject_cast<QComboBox*>(w)) {
    combo->setEditText(QString::fromStdString(text));
    return;
  }
  auto* edit = qobject_cast<QLineEdit*>(w);
  ASSERT_TRUE(edit) << "not a text field: " << w->objectName().toStdString();
  edit->clear();
  for (char c : text) key(w, 0, QString(QChar(c)));
}

// Opens a drop-down list with the mouse, checks that it shows every item,
// and chooses one with the keyboard.
void choose_in(QComboBox* box, const std::string& item) {
  ASSERT_TRUE(box);
  // On its arrow: an editable box takes a click elsewhere into its text.
  mouse(box, QEvent::MouseButtonPress, Qt::LeftButton,
        QPointF(box->width() - 6, box->height() / 2));
  ASSERT_TRUE(pump_until([&] { return box->view()->isVisible(); }, 1000))
      << box->objectName().toStdString() << " does not open";
  int shown = 0;
  for (int r = 0; r < box->view()->model()->rowCount(); ++r)
    shown += box->view()->visualRect(box->view()->model()->index(r, 0)).height() > 0 ? 1 : 0;
  EXPECT_EQ(shown, box->count()) << box->objectName().toStdString();
  int at = box->findText(QString::fromStdString(item));
  ASSERT_GE(at, 0) << item << " is not in " << box->objectName().toStdString();
  box->view()->setCurrentIndex(box->view()->model()->index(at, 0));
  key(box->view(), Qt::Key_Return);
  pump_until([&] { return !box->view()->isVisible(); }, 1000);
}

std::string shown_text(QWidget* w) {
  if (auto* label = qobject_cast<QLabel*>(w)) return label->text().toStdString();
  if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text().toStdString();
  if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text().toStdString();
  if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) return edit->toPlainText().toStdString();
  if (auto* combo = qobject_cast<QComboBox*>(w))
    return (combo->currentIndex() < 0 && combo->currentText().isEmpty() ? combo->placeholderText()
                                                                        : combo->currentText())
        .toStdString();
  ADD_FAILURE() << "no text in " << (w ? w->objectName().toStdString() : "nothing");
  return {};
}

template <class W = QWidget>
W* child(QObject& parent, const std::string& name) {
  auto* found = parent.findChild<W*>(QString::fromStdString(name));
  if (!found) ADD_FAILURE() << "no control " << name;
  return found;
}

class QtDialogHand : public walk::DialogHand {
 public:
  explicit QtDialogHand(QDialog& d) : d_(d) {}
  void set_text(const std::string& name, const std::string& text) override {
    type_into(child(d_, name), text);
  }
  void choose(const std::string& list, const std::string& item) override {
    choose_in(child<QComboBox>(d_, list), item);
  }
  void click(const std::string& name) override {
    auto* w = child(d_, name);
    if (auto* button = qobject_cast<QPushButton*>(w))
      button->click();
    else
      zw::click(w);
  }
  void hover(const std::string& name) override { mouse(child(d_, name), QEvent::MouseMove); }
  void double_click_line(const std::string& list, int line) override {
    auto* box = child<QListWidget>(d_, list);
    ASSERT_TRUE(box && line < box->count());
    auto* inside = box->viewport();
    QPoint at = box->visualItemRect(box->item(line)).center();
    for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                      QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease})
      mouse(inside, type, Qt::LeftButton, at);
  }
  std::string text(const std::string& name) override { return shown_text(child(d_, name)); }
  std::vector<std::string> lines(const std::string& list) override {
    std::vector<std::string> all;
    if (auto* box = child<QListWidget>(d_, list))
      for (int i = 0; i < box->count(); ++i) all.push_back(box->item(i)->text().toStdString());
    return all;
  }

 private:
  QDialog& d_;
};

class QtDriver : public walk::WindowDriver {
 public:
  ~QtDriver() override { view_.reset(); }

  void start(const std::string& app_dir, const std::string& command_line,
             const std::function<void(AppState&)>& folders) override {
    view_.reset();
    s_ = std::make_unique<AppState>();
    s_->app_dir = app_dir;
    if (folders) folders(*s_);
    s_->command_line = command_line;
    view_ = std::make_unique<MainWindowView>(*s_, host_, 15);
    host_.set_window(view_.get());
    Form_Load(*s_, host_);
    view_->sync();
    view_->show();
    ASSERT_TRUE(pump_until([&] { return !s_->f1.Combo1.items.empty(); })) << "no activation";
  }
  void close() override { view_->close(); }
  bool shown() override { return view_ && view_->isVisible(); }
  AppState& state() override { return *s_; }
  FileSystem& fs() override { return host_.fs(); }
  const std::vector<std::string>& opened() override { return host_.opened; }
  std::string native(const std::string& path) override { return path; }

  void click(const std::string& name) override {
    auto* target = w(name);
    if (auto* box = qobject_cast<QCheckBox*>(target))
      zw::click(box);
    else if (auto* button = qobject_cast<QPushButton*>(target))
      button->click();
    else
      zw::click(target);
  }
  void right_click(const std::string& name) override { zw::click(w(name), Qt::RightButton); }
  void double_click(const std::string& name, int x, int y) override {
    auto* target = w(name);
    mouse(target, QEvent::MouseButtonPress, Qt::LeftButton, QPointF(x, y));
    mouse(target, QEvent::MouseButtonRelease, Qt::LeftButton, QPointF(x, y));
    mouse(target, QEvent::MouseButtonDblClick, Qt::LeftButton, QPointF(x, y));
  }
  void hover(const std::string& name) override { mouse(w(name), QEvent::MouseMove); }
  void choose(const std::string& list, const std::string& item) override {
    choose_in(w<QComboBox>(list), item);
  }
  void type(const std::string& name, const std::string& text) override { type_into(w(name), text); }
  void press_enter(const std::string& name) override { key(w(name), Qt::Key_Return, "\r"); }
  void menu(const MenuItem& item) override {
    for (std::size_t i = 0; i < view_->controls().table().size(); ++i) {
      const auto& c = view_->controls().table()[i];
      if (auto* m = std::get_if<MenuItem*>(&c.model); m && *m == &item) {
        auto* action = view_->findChild<QAction*>(QString::fromStdString(c.name));
        ASSERT_TRUE(action) << c.name;
        ASSERT_TRUE(action->isEnabled()) << c.name;
        action->trigger();
        return;
      }
    }
    ADD_FAILURE() << "no menu item " << item.caption;
  }
  void ctrl_r() override {
    auto* ctrl_r = view_->findChild<QShortcut*>();
    ASSERT_TRUE(ctrl_r && ctrl_r->key() == QKeySequence(Qt::CTRL | Qt::Key_R));
    emit ctrl_r->activated();
  }
  void wheel_notch_down(const std::string& name) override {
    auto* target = w(name);
    QWheelEvent wheel(QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
  }
  void scroll_line_down() override {
    w<QScrollBar>("vs")->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  }
  void scroll_to_top() override {
    w<QScrollBar>("vs")->triggerAction(QAbstractSlider::SliderToMinimum);
  }
  void resize(int width, int height) override {
    view_->resize(width, height);
    EXPECT_TRUE(w<QTimer>("tm1")->isActive()) << "no layout after a resize";
    EXPECT_TRUE(pump_until([&] { return !w<QTimer>("tm1")->isActive(); }, 3000));
  }

  std::string text(const std::string& name) override {
    return name == "f1" ? view_->windowTitle().toStdString() : shown_text(w(name));
  }
  bool ticked(const std::string& name) override {
    auto* box = w<QCheckBox>(name);
    return box && box->isChecked();
  }
  bool enabled(const std::string& name) override { return w(name)->isEnabled(); }
  int items(const std::string& list) override { return w<QComboBox>(list)->count(); }
  bool inside_window(const std::string& name) override {
    return w("f1")->rect().contains(w(name)->geometry());
  }
  int width(const std::string& name) override {
    return name == "f1" ? view_->width() : w(name)->width();
  }
  Image canvas() override { return static_cast<qt::PictureView*>(w("p1"))->surface().image(); }
  std::string chart_font() override {
    auto font = static_cast<qt::PictureView*>(w("p1"))->surface().font();
    return font.family().toStdString() + " " + std::to_string(font.pixelSize());
  }
  bool busy_cursor() override { return QApplication::overrideCursor() != nullptr; }
  std::vector<std::string> tab_stops() override {
    std::vector<std::string> order;
    for (const auto& c : view_->controls().table()) {
      auto* widget = view_->findChild<QWidget*>(QString::fromStdString(c.name));
      if (widget && widget->isVisible() && widget->isEnabled() &&
          (widget->focusPolicy() & Qt::TabFocus))
        order.push_back(c.name);
    }
    return order;
  }
  std::vector<std::string> tab_round(const std::string& first, std::size_t presses) override {
    view_->activateWindow();
    EXPECT_TRUE(pump_until([&] { return QApplication::activeWindow() == view_.get(); }));
    w(first)->setFocus();
    std::vector<std::string> visited;
    for (std::size_t i = 0; i < presses; ++i) {
      auto* focus = QApplication::focusWidget();
      if (!focus) break;  // the focus was lost
      visited.push_back(focus->objectName().toStdString());
      key(focus, Qt::Key_Tab);
    }
    return visited;
  }
  void focus_and_press_enter(const std::string& name) override {
    w(name)->setFocus();
    key(w(name), Qt::Key_Return, "\r");
  }
  bool read_only(const std::string& name) override {
    auto* box = w<QPlainTextEdit>(name);
    return box && box->isReadOnly();
  }
  bool bold(const std::string& name) override { return w(name)->font().bold(); }
  bool caption_fits(const std::string& name) override {
    auto* label = w<QLabel>(name);
    return label->fontMetrics().horizontalAdvance(label->text()) <= label->contentsRect().width();
  }
  // Qt paints the whole window from its backing store at once: no label is
  // ever shown half redrawn.
  bool painted(const std::string&) override { return true; }
  bool within_work_area_when_asked_for(int width, int height) override {
    QSize area = view_->screen()->availableGeometry().size();
    s_->f1.width = width, s_->f1.height = height;
    view_->sync();
    return view_->frameGeometry().width() <= area.width() &&
           view_->frameGeometry().height() <= area.height();
  }
  bool reachable_on_a_small_screen(const std::string& name) override {
    // The window as small as it goes; what it cannot show scrolls.
    view_->resize(320, 240);
    auto* scroller = view_->findChild<QScrollArea*>();
    if (!scroller) return false;
    auto* target = w(name);
    scroller->ensureWidgetVisible(target);
    QRect at(target->mapTo(scroller->viewport(), QPoint(0, 0)), target->size());
    return scroller->viewport()->rect().intersects(at);
  }
  bool wait_until(const std::function<bool()>& done) override { return pump_until(done); }
  std::vector<std::pair<const Control*, int>> events_reached() override {
    std::vector<std::pair<const Control*, int>> all;
    const auto& set = view_->controls();
    for (std::size_t i = 0; i < set.table().size(); ++i)
      all.emplace_back(&set.table()[i], set.events_handled()[i]);
    return all;
  }

  void expect_message(const std::string& text, Answer answer) override {
    walker_.expect([=](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      ASSERT_TRUE(box) << "expected the message " << text << ", got "
                       << w->objectName().toStdString();
      EXPECT_EQ(box->text().toStdString(), text);
      press(*box, answer);
    });
  }
  void expect_any_message(Answer answer) override {
    walker_.expect([=](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      ASSERT_TRUE(box) << "expected a message, got " << w->objectName().toStdString();
      press(*box, answer);
    });
  }
  void expect_file(const std::string& path) override {
    walker_.expect([=](QWidget* w) {
      auto* dialog = qobject_cast<QFileDialog*>(w);
      ASSERT_TRUE(dialog) << "expected a file dialog for " << path;
      // Typed into the name field, as a user does.
      auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
      ASSERT_TRUE(name) << "the file dialog has no name field";
      name->setText(QString::fromStdString(path));
      static_cast<QDialog*>(dialog)->accept();  // as the dialog's own button does
    });
  }
  void expect_dialog(const std::string& name,
                     std::function<void(walk::DialogHand&)> acts) override {
    walker_.expect([=](QWidget* w) {
      auto* dialog = qobject_cast<QDialog*>(w);
      ASSERT_TRUE(dialog && dialog->objectName().toStdString() == name)
          << "expected the dialog " << name;
      QtDialogHand hand(*dialog);
      acts(hand);
    });
  }
  std::size_t waiting() override { return walker_.waiting(); }
  std::vector<std::string> unexpected() override { return walker_.unexpected; }
  const std::vector<walk::ModalSeen>& seen() override { return walker_.seen; }

  MainWindowView& view() { return *view_; }

 private:
  static void press(QMessageBox& box, Answer answer) {
    QAbstractButton* button = nullptr;
    for (auto [b, a] : buttons)
      if (a == answer) button = box.button(b);
    ASSERT_TRUE(button) << box.text().toStdString();
    button->click();
  }
  template <class W = QWidget>
  W* w(const std::string& name) {
    return child<W>(*view_, name);
  }

  WalkHost host_;
  Walker walker_;
  std::unique_ptr<AppState> s_;
  std::unique_ptr<MainWindowView> view_;
};

TEST(QtWindow, AUserWalksThroughTheWindowAndARestartRestoresTheSettings) {
  test::TempDir dir;
  QtDriver driver;
  walk::walk_the_window(driver, dir);
}

// An installed program keeps its settings in the user's folder and finds its
// help in share/ (without that folder, ProgramFolders shows it runs on defaults).
TEST(QtWindow, AnInstalledProgramKeepsItsSettingsInTheUsersFolder) {
  test::TempDir dir;
  QtDriver driver;
  walk::WindowDriver& d = driver;
  dir.copy(test::example_style(), "styles/example");
  fs::create_directories(to_fs_path(dir.at("prog")));
  dir.write("usr/bin/.keep", "");
  dir.write("usr/share/zoomwright/help/index.html", "help");
  const auto installed_files = dir.tree("usr");
  auto installed = [&](AppState& st) {
    find_program_folders(st, d.fs(), dir.at("usr/bin"), {dir.at("cfg"), "", ""});
  };
  auto settings = [&](const char* file) { return dir.at(std::string("cfg/zoomwright/") + file); };

  d.expect_message("Compiling Fonts");
  d.start(dir.at("prog"), dir.at("styles"), installed);
  EXPECT_TRUE(fs::exists(to_fs_path(settings("system/lines.res"))));
  EXPECT_TRUE(fs::exists(to_fs_path(settings("fonts.dat"))));
  d.expect_message(
      cannot_open_message("the help page", dir.at("usr/share/zoomwright/help/index.html")));
  d.menu(d.state().f1.mhl);
  d.close();
  EXPECT_TRUE(text::contains(dir.read("cfg/zoomwright/levels.dat"), dir.at("styles")));
  d.start(dir.at("prog"), "", installed);
  EXPECT_EQ(d.state().style_root, dir.at("styles")) << "not restored";
  d.close();
  EXPECT_EQ(dir.tree("usr"), installed_files);
  EXPECT_TRUE(dir.tree("prog").empty());

  EXPECT_EQ(d.waiting(), 0u);
  EXPECT_EQ(d.unexpected(), std::vector<std::string>{});
}

}  // namespace
}  // namespace zw
