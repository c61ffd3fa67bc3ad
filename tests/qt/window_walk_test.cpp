// A walk through the real window as a user takes it: the Qt window and its real
// host, driven by mouse and key events; every modal window that opens (message
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
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>
#include <algorithm>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>

#include "base/std_file_system.h"
#include "app/main_window.h"
#include "app/menus.h"
#include "base/paths.h"
#include "app/program_folders.h"
#include "base/open_document.h"
#include "base/text.h"
#include "platform/qt/control_widgets.h"
#include "platform/qt/main_window_view.h"
#include "platform/qt/qt_host.h"
#include "support/test_app.h"

namespace zw {
namespace {

namespace fs = std::filesystem;
using qt::MainWindowView;

// The window program's host; only the browser and the editor are missing, as
// on a machine without a desktop.
class WalkHost : public qt::QtHost {
 public:
  bool shell_open(const std::string& target) override {
    opened.push_back(target);
    return false;
  }
  bool edit_text_file(const std::string& path, int line) override {
    return shell_open(line > 0 ? path + ":" + std::to_string(line) : path);
  }
  std::vector<std::string> opened;
};

// Answers the modal windows as they open, in the order the script expects them.
class Walker : public QObject {
 public:
  using Act = std::function<void(QWidget*)>;
  Walker() {
    connect(&timer_, &QTimer::timeout, this, [this] { look(); });
    timer_.start(2);
  }
  void expect(Act act) { queue_.push_back(std::move(act)); }
  // Messages that may come any number of times meanwhile (a conversion's progress).
  std::vector<QString> chatter;
  std::vector<std::string> unexpected;
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
    bool chat = false;
    for (const auto& prefix : chatter) chat = chat || (box && box->text().startsWith(prefix));
    if (chat) {
      box->button(QMessageBox::Ok)->click();
    } else if (queue_.empty()) {
      unexpected.push_back((box ? box->text() : modal->objectName()).toStdString());
      modal->close();
    } else {
      auto act = std::move(queue_.front());
      queue_.pop_front();
      act(modal);
      // Every answer closes its window; one still open means its button failed.
      if (modal && modal->isVisible()) {
        unexpected.push_back("still open after its answer: " + modal->objectName().toStdString());
        modal->close();
      }
    }
  }

  QTimer timer_;
  std::deque<Act> queue_;
  std::vector<QWidget*> handling_;
};

// A message box with this text, answered with this button.
Walker::Act say(const std::string& text, QMessageBox::StandardButton answer = QMessageBox::Ok) {
  return [=](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_TRUE(box) << "expected the message " << text << ", got "
                     << w->objectName().toStdString();
    EXPECT_EQ(box->text().toStdString(), text);
    ASSERT_TRUE(box->button(answer)) << text;
    box->button(answer)->click();
  };
}

// A file or folder dialog, in which the user chooses this path.
Walker::Act pick(const std::string& path, std::function<void(QFileDialog&)> check = {}) {
  return [=](QWidget* w) {
    auto* dialog = qobject_cast<QFileDialog*>(w);
    ASSERT_TRUE(dialog) << "expected a file dialog for " << path;
    if (check) check(*dialog);
    // Typed into the name field, as a user does.
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_TRUE(name) << "the file dialog has no name field";
    name->setText(QString::fromStdString(path));
    static_cast<QDialog*>(dialog)->accept();  // as the dialog's own button does
  };
}

// One of the program's dialogs, by its name, in which the user does this.
Walker::Act in(const char* name, std::function<void(QDialog&)> act) {
  return [=](QWidget* w) {
    auto* dialog = qobject_cast<QDialog*>(w);
    ASSERT_TRUE(dialog && dialog->objectName() == name) << "expected the dialog " << name;
    act(*dialog);
  };
}

void mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button = Qt::LeftButton) {
  ASSERT_TRUE(w);
  QPointF at(std::min(6, w->width() / 2), w->height() / 2);
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

void type(QWidget* w, const std::string& text) {
  for (char c : text) key(w, 0, QString(QChar(c)));
}

bool pump_until(const std::function<bool()>& done, int ms = 5000) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  return done();
}

struct WindowWalk : ::testing::Test {
  test::TempDir dir;
  WalkHost host;
  Walker walker;
  std::unique_ptr<AppState> s;
  std::unique_ptr<MainWindowView> view;

  std::string prog() const { return dir.at("prog"); }
  std::string typ() const { return std::string(ZW_SOURCE_DIR) + "/examples/typ/example.txt"; }

  void SetUp() override {
    dir.copy(test::example_style(), "styles/example");
    for (const char* name : {"alpha", "beta"}) {
      std::string style = std::string("more/") + name + "/";
      dir.write(style + "options", "levels = 0:24, 1:21\n");
      for (const char* kind : {"polygons", "lines", "points"})
        dir.write(style + kind, "natural=water [0x3c resolution 21]\n");
    }
    fs::create_directories(to_fs_path(prog()));
  }

  void TearDown() override {
    view.reset();
    EXPECT_TRUE(walker.unexpected.empty()) << walker.unexpected.front();
  }

  // Starts the program as its main() does, until the first activation is done;
  // its folders are found by `folders`, or are prog().
  void start(const std::string& command_line, const std::function<void(AppState&)>& folders = {}) {
    view.reset();
    s = std::make_unique<AppState>();
    s->app_dir = prog();
    if (folders) folders(*s);
    s->command_line = command_line;
    view = std::make_unique<MainWindowView>(*s, host, 15);
    host.set_window(view.get());
    Form_Load(*s, host);
    view->sync();
    view->show();
    ASSERT_TRUE(pump_until([&] { return !s->f1.Combo1.items.empty(); })) << "no activation";
  }

  template <class W = QWidget>
  W* w(const std::string& name) {
    auto* found = view->findChild<W*>(QString::fromStdString(name));
    if (!found) ADD_FAILURE() << "no control " << name;
    return found;
  }
  QString text(const std::string& label) { return w<QLabel>(label)->text(); }
  QAction* menu(const char* name) { return view->findChild<QAction*>(name); }
  const QImage& canvas() { return static_cast<qt::PictureView*>(w("p1"))->surface().qimage(); }
  // Pixels of a colour in rows top to bottom (all rows when bottom is 0) of an image.
  static int count(const QImage& image, QColor c, int top = 0, int bottom = 0) {
    int n = 0;
    for (int y = top; y < (bottom ? bottom : image.height()); ++y)
      for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y) == c ? 1 : 0;
    return n;
  }
  int on_canvas(QColor c) { return count(canvas(), c); }
  int rows() { return text("label1").toInt(); }

  void tick(const std::string& name, bool on = true) {
    auto* box = w<QCheckBox>(name);
    if (box && box->isChecked() != on) click(box);
  }
  void check() { click(w("command2")); }

  // Opens a drop-down list with the mouse, checks that it shows every item,
  // and chooses one with the keyboard.
  void choose(const std::string& list, const QString& item) {
    auto* box = w<QComboBox>(list);
    ASSERT_TRUE(box);
    mouse(box, QEvent::MouseButtonPress);
    ASSERT_TRUE(pump_until([&] { return box->view()->isVisible(); }, 1000))
        << list << " does not open";
    int shown = 0;
    for (int r = 0; r < box->view()->model()->rowCount(); ++r)
      shown += box->view()->visualRect(box->view()->model()->index(r, 0)).height() > 0 ? 1 : 0;
    EXPECT_EQ(shown, box->count()) << list;
    int at = box->findText(item);
    ASSERT_GE(at, 0) << item.toStdString() << " is not in " << list;
    box->view()->setCurrentIndex(box->view()->model()->index(at, 0));
    key(box->view(), Qt::Key_Return);
    pump_until([&] { return !box->view()->isVisible(); }, 1000);
  }

  void open_typ() {
    walker.expect(pick(typ(), [](QFileDialog& d) {
      EXPECT_EQ(d.windowTitle(), "Open File");
      EXPECT_EQ(d.nameFilters(), QStringList{"*.txt"});
    }));
    menu("mf(6)")->trigger();
  }

  // Every control's handlers were reached; a control array counts as one.
  void expect_every_handler_reached() {
    std::map<std::string, int> reached;
    const auto& set = view->controls();
    for (std::size_t i = 0; i < set.table().size(); ++i) {
      const auto& c = set.table()[i];
      bool handled = !c.on.empty();
      if (auto* item = std::get_if<MenuItem*>(&c.model))
        handled = handled && (*item)->enabled && (*item)->caption != "-";
      if (!handled) continue;
      auto name = c.name.substr(0, c.name.find('('));
      reached[name] += set.events_handled()[i];
    }
    for (const auto& [name, count] : reached) EXPECT_GT(count, 0) << name << " was never reached";
  }
};

TEST_F(WindowWalk, AUserTakesTheWindowThroughEverythingItDoes) {
  auto styles = dir.at("styles");
  struct Step {
    const char* what;
    std::function<void()> act;
  };
  const Step steps[] = {
      {"first start in an empty program folder, no style root",
       [&] {
         walker.expect(say("Compiling Fonts"));
         start("");
         EXPECT_EQ(w<QComboBox>("Combo2")->placeholderText(), "No Styles");
         EXPECT_TRUE(fs::exists(to_fs_path(paths::join(prog(), "fonts.dat"))));
         walker.expect(say("Please select style.\r\nClick >> button"));
         check();
         view->close();
       }},
      {"a start with a style root selects its first style, and reports nothing",
       [&] {
         start(styles);
         auto* list = w<QComboBox>("Combo2");
         EXPECT_EQ(list->count(), 1);
         EXPECT_EQ(list->currentText(), "example");
         EXPECT_EQ(view->windowTitle(), "Zoomwright 2.51 example");
         EXPECT_TRUE(text("Label4").startsWith("Levels:0:24")) << text("Label4").toStdString();
       }},
      {"choosing the style shows its levels",
       [&] {
         choose("Combo2", "example");
         EXPECT_TRUE(text("Label4").startsWith("Levels:0:24")) << text("Label4").toStdString();
         EXPECT_EQ(view->windowTitle(), "Zoomwright 2.51 example");
       }},
      {"each kind with All and with a category",
       [&] {
         for (const char* kind : {"Check3(0)", "Check3(2)", "Check3(1)"}) {
           click(w(kind));
           tick("Check1(0)");
           check();
           int all = rows();
           EXPECT_GT(all, 0) << kind;
           EXPECT_EQ(view->windowTitle(), "Zoomwright 2.51 example");
           EXPECT_GT(on_canvas(QColor(220, 220, 220)), 0) << kind << ": no grid";
           tick("Check1(1)");  // a category unticks All
           EXPECT_FALSE(w<QCheckBox>("Check1(0)")->isChecked());
           check();
           EXPECT_LT(rows(), all) << kind;
           tick("Check1(1)", false);
           tick("Check1(0)");
         }
       }},
      {"Sort, Inc, Show Text and Overview Only redraw the chart",
       [&] {
         check();
         int plain = rows();
         tick("Check2");
         tick("inc");
         EXPECT_GT(rows(), plain);
         EXPECT_NE(text("Label6"), "0");  // included files
         auto before = canvas().copy();
         tick("shtxt");
         EXPECT_NE(canvas(), before) << "Show Text changed nothing";
         before = canvas().copy();
         tick("ovw");
         EXPECT_NE(canvas(), before) << "Overview Only changed nothing";
         tick("ovw", false);
       }},
      {"a click on a scale label narrows the chart to its resolution",
       [&] {
         int all = rows();
         auto* label = w<QLabel>("Label3(22)");
         ASSERT_TRUE(label->isVisible());
         click(label);
         EXPECT_LT(rows(), all);
         EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(255, 0, 0));
       }},
      {"a filter text with Enter",
       [&] {
         tick("Check4");
         auto* filter = w<QLineEdit>("Text2");
         EXPECT_TRUE(filter->isEnabled());
         type(filter, "primary");
         EXPECT_EQ(s->f1.Text2.text, "primary");
         key(filter, Qt::Key_Return, "\r");
         EXPECT_GT(rows(), 0);
         filter->clear();
         tick("Check4", false);
       }},
      {"a TYP file opened before the chart and after it, for each kind, lists what it lacks",
       [&] {
         for (const char* kind : {"Check3(1)", "Check3(0)", "Check3(2)"}) {
           click(w(kind));
           tick("Check1(0)", false);
           open_typ();
           tick("Check1(0)");
           check();
           EXPECT_GT(rows(), 0) << kind;
           EXPECT_FALSE(w<QPlainTextEdit>("Text3")->toPlainText().isEmpty()) << kind;
           open_typ();
           EXPECT_TRUE(w<QCheckBox>("label2")->isChecked());
           auto shown = w<QPlainTextEdit>("Text3")->toPlainText();
           auto listed = QString::fromStdString(s->f1.Text3.text).replace("\r\n", "\n");
           EXPECT_FALSE(shown.isEmpty()) << kind;
           EXPECT_EQ(shown, listed) << kind;
           auto keys = shown.split('\n', Qt::SkipEmptyParts);
           EXPECT_EQ(keys.size(), QSet<QString>(keys.begin(), keys.end()).size()) << "listed twice";
           click(w("Text3"));  // clicking into the box keeps what it lists
           EXPECT_EQ(w<QPlainTextEdit>("Text3")->toPlainText(), shown);
         }
         EXPECT_TRUE(w<QPlainTextEdit>("Text3")->toPlainText().contains("00b00"));
       }},
      {"the TYP box charts without swatches and with them again",
       [&] {
         tick("label2", false);
         EXPECT_TRUE(w<QPlainTextEdit>("Text3")->toPlainText().isEmpty());
         tick("label2");
         EXPECT_FALSE(w<QPlainTextEdit>("Text3")->toPlainText().isEmpty());
       }},
      {"Tools > Check against TYP lists the findings, marks their rows and opens a rule at its "
       "line",
       [&] {
         click(w("Check3(1)"));
         tick("Check1(0)");
         check();
         // The marks sit left of the swatches, grey for a note.
         auto marked = [&] {
           return count(canvas().copy(0, 0, 3, canvas().height()), QColor(150, 150, 150));
         };
         EXPECT_EQ(marked(), 0);
         std::string lines = paths::join(dir.at("styles/example"), "lines");
         walker.expect(in("typcheck", [&](QDialog& d) {
           EXPECT_TRUE(d.findChild<QLabel*>("Label1")->text().startsWith(
               "0 warnings, 9 notes: example against "));
           auto* list = d.findChild<QListWidget*>("List1");
           ASSERT_EQ(list->count(), 9);
           EXPECT_EQ(list->item(1)->text().toStdString(),
                     "note   lines   0x11   lines:13   missing-type   line type not in the TYP "
                     "file (level 0): "
                     "the device draws it in its own default look");
           auto* item = list->viewport();
           QPoint at = list->visualItemRect(list->item(1)).center();
           for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                             QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
             QMouseEvent e(type, at, item->mapToGlobal(at), Qt::LeftButton,
                           type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                           Qt::NoModifier);
             QApplication::sendEvent(item, &e);
           }
           click(d.findChild<QPushButton*>("Command1"));
         }));
         // This host has no editor.
         walker.expect(say(cannot_open_message("the rule file", lines)));
         ASSERT_TRUE(menu("mtls(2)")->isEnabled());
         menu("mtls(2)")->trigger();
         EXPECT_EQ(host.opened.back(), lines + ":13");
         EXPECT_GT(marked(), 0);
       }},
      {"the wheel and the scroll bar scroll the chart",
       [&] {
         click(w("Check3(1)"));
         tick("Check1(0)");
         check();
         auto* chart = w("p1");
         auto* bar = w<QScrollBar>("vs");
         ASSERT_GT(bar->maximum(), 0);
         QWheelEvent wheel(QPointF(5, 5), chart->mapToGlobal(QPointF(5, 5)), QPoint(),
                           QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
         QApplication::sendEvent(chart, &wheel);
         EXPECT_GT(bar->value(), 0);
         EXPECT_LT(chart->y(), 0);
         // One notch: three rows, as the platforms scroll text (Qt moves a page at most).
         const auto& f = s->f1;
         double row = static_cast<int>(f.p1.draw().text_height("X")) * 2.5;
         double page = f.vs.large_change * (f.p1.height() - f.p2.height()) / double(f.vs.max);
         EXPECT_NEAR(-f.p1.top, std::min(3 * row, page), row / 2);
         bar->triggerAction(QAbstractSlider::SliderToMinimum);
         EXPECT_EQ(chart->y(), 0);
       }},
      {"a data file counts what each row's rule catches; a double-click lists its examples",
       [&] {
         const std::string monaco = std::string(ZW_SOURCE_DIR) + "/../shared/osm/monaco.osm.pbf";
         walker.expect(pick(monaco));
         menu("mf(4)")->trigger();
         EXPECT_TRUE(s->data.data_file.ends_with("monaco.osm.pbf")) << s->data.data_file;
         walker.expect([](QWidget* w) {
           auto* box = qobject_cast<QMessageBox*>(w);
           ASSERT_TRUE(box);
           EXPECT_TRUE(box->text().startsWith("The rule at ")) << box->text().toStdString();
           box->button(QMessageBox::Ok)->click();
         });
         auto* chart = w("p1");
         QPointF at(6, 20);
         QMouseEvent twice(QEvent::MouseButtonDblClick, at, chart->mapToGlobal(at), Qt::LeftButton,
                           Qt::LeftButton, Qt::NoModifier);
         QApplication::sendEvent(chart, &twice);
         menu("mf(5)")->trigger();
         EXPECT_EQ(s->data.data_file, "");
       }},
      {"the mouse over the flat buttons",
       [&] {
         mouse(w("com1"), QEvent::MouseMove);
         EXPECT_TRUE(s->hover_active);
         mouse(w("f1"), QEvent::MouseMove);
         EXPECT_FALSE(s->hover_active);
         mouse(w("command2"), QEvent::MouseMove);
         EXPECT_TRUE(s->hover_active);
       }},
      {"resizing lays the chart out again, and never hides a control",
       [&] {
         view->resize(1200, 820);
         EXPECT_TRUE(w<QTimer>("tm1")->isActive());
         ASSERT_TRUE(pump_until([&] { return !w<QTimer>("tm1")->isActive(); }, 3000));
         EXPECT_EQ(w("p1")->width(), view->width());  // the chart spans the window
         view->resize(640, 480);
         pump_until([&] { return !w<QTimer>("tm1")->isActive(); }, 3000);
         QRect inside = w("f1")->rect();
         for (const char* name : {"command2", "Check2", "inc", "Text3", "com1", "label2"})
           EXPECT_TRUE(inside.contains(w(name)->geometry())) << name << " is off the window";
         EXPECT_GT(rows(), 0);
       }},
      {"the levels: double-click opens the options file, the right button reloads",
       [&] {
         auto options = options_file_path(*s);
         walker.expect(say(cannot_open_message("the style's options file", options)));
         mouse(w("Label4"), QEvent::MouseButtonPress);
         mouse(w("Label4"), QEvent::MouseButtonRelease);
         mouse(w("Label4"), QEvent::MouseButtonDblClick);
         EXPECT_EQ(host.opened.back(), options);
         int runs = s->analysis_runs;
         click(w("Label4"), Qt::RightButton);
         EXPECT_GT(s->analysis_runs, runs);  // the style is loaded again and redrawn
       }},
      {"Ctrl+R writes the default category files again",
       [&] {
         auto file = paths::join(paths::join(prog(), "system"), "lines.res");
         std::string error;
         ASSERT_TRUE(host.fs().write(file, "mine", error));
         auto* ctrl_r = view->findChild<QShortcut*>();
         ASSERT_TRUE(ctrl_r && ctrl_r->key() == QKeySequence(Qt::CTRL | Qt::Key_R));
         emit ctrl_r->activated();
         EXPECT_NE(dir.read("prog/system/lines.res"), "mine");
       }},
      {"Change Font keeps the chart and draws it in the new size",
       [&] {
         int drawn = rows();
         walker.expect(in("fontt", [](QDialog& d) {
           d.findChild<QComboBox*>("Combo2")->setEditText("12");
           d.findChild<QPushButton*>("Command1")->click();
         }));
         menu("mfnt")->trigger();
         EXPECT_EQ(s->chart_font_size, 12);
         EXPECT_EQ(static_cast<qt::PictureView*>(w("p1"))->surface().font().pixelSize(), 16);
         EXPECT_EQ(rows(), drawn);
         EXPECT_GT(on_canvas(QColor(90, 90, 140)), 0) << "the rows were wiped";
         EXPECT_FALSE(QApplication::overrideCursor()) << "the busy cursor stayed";
       }},
      {"About, its link, and the help",
       [&] {
         walker.expect(in("Infor", [](QDialog& d) {
           EXPECT_TRUE(d.findChild<QLabel*>("label1")->text().startsWith("Version 2.51"));
           click(d.findChild<QLabel*>("Label2"));
           d.findChild<QPushButton*>("Command1")->click();
         }));
         walker.expect(say(cannot_open_message("the home page", help_page(*s))));
         menu("mf(8)")->trigger();
         EXPECT_GT(on_canvas(QColor(90, 90, 140)), 0) << "the rows were wiped";
         walker.expect(say(cannot_open_message("the help page", help_page(*s))));
         menu("mhl")->trigger();
       }},
      {"Save Image writes the chart as a bitmap or PNG, and asks before replacing it",
       [&] {
         auto chart = paths::join(prog(), "chart");
         walker.expect(pick(chart, [&](QFileDialog& d) {
           EXPECT_EQ(d.windowTitle(), "Save File");
           EXPECT_EQ(fs::path(d.directory().absolutePath().toStdString()),
                     to_fs_path(s->system_dir));
         }));
         menu("mf(10)")->trigger();
         auto bmp = dir.read("prog/chart.bmp");
         QImage image = QImage::fromData(reinterpret_cast<const uchar*>(bmp.data()),
                                         static_cast<int>(bmp.size()), "BMP");
         ASSERT_FALSE(image.isNull());
         EXPECT_EQ(image.width(), canvas().width());
         int strip = w("p3")->height();
         EXPECT_EQ(image.height(), strip + canvas().height());
         EXPECT_GT(count(image, QColor(90, 90, 140), strip), 0) << "no rows in the image";
         // The strip carries the scale labels as the window shows them.
         EXPECT_GT(count(image, QColor(100, 200, 100), 0, strip), 0)
             << "no level marks in the image's strip";
         for (auto answer : {QMessageBox::No, QMessageBox::Yes}) {
           std::string error;
           ASSERT_TRUE(host.fs().write(chart + ".bmp", "old", error));
           walker.expect(pick(chart + ".bmp"));
           walker.expect([=](QWidget* box) {
             auto* b = qobject_cast<QMessageBox*>(box);
             ASSERT_TRUE(b);
             EXPECT_EQ(b->defaultButton(), b->button(QMessageBox::No))
                 << "Enter must not replace a file";
             say("Replace file?\r\n\r\n" + chart + ".bmp", answer)(box);
           });
           menu("mf(10)")->trigger();
           EXPECT_EQ(dir.read("prog/chart.bmp") == "old", answer == QMessageBox::No);
         }
         // A PNG as well; the dialog opens where the last image went.
         fs::create_directories(to_fs_path(dir.at("images")));
         walker.expect(pick(dir.at("images/chart.png")));
         menu("mf(10)")->trigger();
         EXPECT_EQ(dir.read("images/chart.png").substr(0, 4), "\x89PNG");
         walker.expect(pick(dir.at("images/again.png"), [&](QFileDialog& d) {
           EXPECT_EQ(fs::path(d.directory().absolutePath().toStdString()),
                     to_fs_path(dir.at("images")));
         }));
         menu("mf(10)")->trigger();
       }},
      {"Convert to a new style: one question, one summary, the new style selected",
       [&] {
         walker.expect(in("convert", [](QDialog& d) {
           auto* name = d.findChild<QLineEdit*>("Text1");
           name->clear();
           type(name, "by levels");  // the blank is dropped
           mouse(d.findChild<QWidget*>("command1(1)"), QEvent::MouseMove);
           click(d.findChild<QWidget*>("command1(1)"));
         }));
         walker.expect(say("New style : bylevels ", QMessageBox::Yes));
         walker.expect([=, this](QWidget* w) {
           auto* box = qobject_cast<QMessageBox*>(w);
           ASSERT_TRUE(box);
           auto text = box->text().toStdString();
           EXPECT_TRUE(text.starts_with("The new style " + dir.at("styles/bylevels") +
                                        ":\r\nNow saving as "))
               << text;
           EXPECT_NE(text.find("\r\n\r\nLevels kept for "), std::string::npos) << text;
           box->button(QMessageBox::Ok)->click();
         });
         int kind = s->selected_kind;
         menu("mtls(0)")->trigger();
         EXPECT_TRUE(fs::exists(to_fs_path(dir.at("styles/bylevels/lines"))));
         EXPECT_EQ(w<QComboBox>("Combo2")->count(), 2);
         EXPECT_EQ(w<QComboBox>("Combo2")->currentText(), "bylevels");
         EXPECT_EQ(s->style_name, "bylevels");
         EXPECT_EQ(s->selected_kind, kind);
       }},
      {"a new style root lists its styles and selects its first",
       [&] {
         walker.expect(pick(dir.at("more")));
         click(w("com1"));
         EXPECT_EQ(w<QComboBox>("Combo2")->count(), 2);
         EXPECT_EQ(w<QComboBox>("Combo2")->currentText(), "alpha");
         EXPECT_EQ(view->windowTitle(), "Zoomwright 2.51 alpha");
         choose("Combo2", "beta");
         EXPECT_EQ(text("Label4").toStdString(), "Levels:0:24,1:21 + ");
       }},
      {"saving the charted rule file in an editor redraws the chart without a click",
       [&] {
         tick("Check1(0)");
         check();
         ASSERT_EQ(rows(), 1);
         auto rules = std::string("more/beta/") + kind_name(s->selected_kind);
         auto& timer = *view->findChild<QTimer*>("files_timer");
         dir.write(rules,
                   "natural=water [0x3c resolution 21]\nnatural=wood [0x50 resolution 22]\n");
         EXPECT_TRUE(pump_until([&] { return rows() == 2; })) << "not followed";
         EXPECT_FALSE(timer.isActive());
         // Written beside it and renamed over it, as many editors save.
         dir.write("more/beta/saving", "natural=water [0x3c resolution 21]\n");
         fs::rename(to_fs_path(dir.at("more/beta/saving")), to_fs_path(dir.at(rules)));
         EXPECT_TRUE(pump_until([&] { return rows() == 1; })) << "not followed after a rename";
       }},
      {"Exit saves the settings, and a restart restores them",
       [&] {
         // Kept: the kind (the one the last run worked on), the categories and Inc.
         auto ticks = [&] {
           std::string t = "kind " + std::to_string(s->selected_kind) + ": ";
           for (const auto* box : view->findChildren<QCheckBox*>())
             if (box->objectName().startsWith("Check1") || box->objectName() == "inc")
               t += box->objectName().toStdString() + (box->isChecked() ? "+ " : "- ");
           return t;
         };
         click(w("Check3(2)"));  // a kind other than the one a first start picks
         auto before = ticks();
         menu("mf(14)")->trigger();
         EXPECT_FALSE(view->isVisible());
         expect_every_handler_reached();
         start("");
         EXPECT_EQ(s->style_root, dir.at("more"));
         EXPECT_EQ(w<QComboBox>("Combo2")->currentText(), "beta");
         EXPECT_EQ(ticks(), before);
         EXPECT_TRUE(w<QCheckBox>("Check3(" + std::to_string(s->selected_kind) + ")")->isChecked());
         EXPECT_EQ(s->typ_file, typ());
         EXPECT_EQ(s->chart_font_size, 12);
       }},
  };
  // The steps follow one another: they stop at the first that failed.
  for (const auto& step : steps) {
    SCOPED_TRACE(step.what);
    step.act();
    EXPECT_EQ(walker.waiting(), 0u) << "a window the walk waited for did not open";
    EXPECT_TRUE(walker.unexpected.empty()) << walker.unexpected.front();
    if (HasFailure()) return;
  }
}

// An installed program keeps its settings in the user's folder and finds its
// help in share/; without that folder it says so and runs on its defaults.
TEST_F(WindowWalk, AnInstalledProgramKeepsItsSettingsInTheUsersFolder) {
  dir.write("usr/bin/.keep", "");
  dir.write("usr/share/zoomwright/help/index.html", "help");
  const auto installed_files = dir.tree("usr");
  auto installed = [&](AppState& st) {
    find_program_folders(st, host.fs(), dir.at("usr/bin"), {dir.at("cfg"), "", ""});
  };
  auto settings = [&](const char* file) { return dir.at(std::string("cfg/zoomwright/") + file); };

  walker.expect(say("Compiling Fonts"));
  start(dir.at("styles"), installed);
  EXPECT_TRUE(fs::exists(to_fs_path(settings("system/lines.res"))));
  EXPECT_TRUE(fs::exists(to_fs_path(settings("fonts.dat"))));
  walker.expect(
      say(cannot_open_message("the help page", dir.at("usr/share/zoomwright/help/index.html"))));
  menu("mhl")->trigger();
  view->close();
  EXPECT_TRUE(text::contains(dir.read("cfg/zoomwright/levels.dat"), dir.at("styles")));
  start("", installed);
  EXPECT_EQ(s->style_root, dir.at("styles")) << "not restored";
  view->close();
  EXPECT_EQ(dir.tree("usr"), installed_files);
  EXPECT_TRUE(dir.tree("prog").empty());

  fs::remove_all(to_fs_path(dir.at("cfg/zoomwright")));
  dir.write("cfg/zoomwright", "a file in its place");
  const auto before = dir.tree("");
  walker.expect([&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_TRUE(box);
    EXPECT_TRUE(box->text().contains(QString::fromStdString(dir.at("cfg/zoomwright"))))
        << box->text().toStdString();
    box->button(QMessageBox::Ok)->click();
  });
  start("", installed);
  EXPECT_EQ(w<QCheckBox>("Check1(1)")->text(), "Landuse");
  EXPECT_GT(w<QComboBox>("Combo1")->count(), 0);
  view->close();
  EXPECT_EQ(dir.tree(""), before);
}

}  // namespace
}  // namespace zw
