#include "platform/qt/control_set.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTimer>
#include <algorithm>

#include "base/failure.h"
#include "platform/qt/control_widgets.h"
#include "platform/qt/raster_text.h"
#include "platform/qt/twips.h"

namespace zw::qt {
namespace {

constexpr std::size_t no_row = static_cast<std::size_t>(-1);

QColor to_qcolor(Colour c) { return QColor(c.r, c.g, c.b); }

void set_visible(QWidget* w, bool visible) {
  if (w->isVisibleTo(w->parentWidget()) != visible) w->setVisible(visible);
}

void set_colours(QWidget* w, QPalette::ColorRole fore_role, Colour fore,
                 QPalette::ColorRole back_role, Colour back) {
  QPalette p = w->palette();
  if (p.color(fore_role) == to_qcolor(fore) && p.color(back_role) == to_qcolor(back)) return;
  p.setColor(fore_role, to_qcolor(fore));
  p.setColor(back_role, to_qcolor(back));
  w->setPalette(p);
}

void set_text(QAbstractButton* w, const std::string& caption) {
  auto text = to_qstring(caption);
  if (w->text() != text) w->setText(text);
}

void set_enabled(QWidget* w, bool enabled) {
  if (w->isEnabled() != enabled) w->setEnabled(enabled);
}

// Brings a list's items up to date, appending when the model only grew (the
// font list grows one name at a time).
template <class Widget>
void sync_items(Widget* w, const std::vector<std::string>& items, std::vector<std::string>& applied) {
  if (items == applied) return;
  bool grew = items.size() > applied.size() &&
              std::equal(applied.begin(), applied.end(), items.begin());
  if (!grew) {
    w->clear();
    applied.clear();
  }
  for (std::size_t i = applied.size(); i < items.size(); ++i) w->addItem(to_qstring(items[i]));
  applied = items;
}

// A key press as a character code: Enter 13, Ctrl+letter 1..26, else the
// character typed; 0 for keys that type nothing.
int key_code(const QKeyEvent& e) {
  if (e.key() == Qt::Key_Return || e.key() == Qt::Key_Enter) return 13;
  if ((e.modifiers() & Qt::ControlModifier) && e.key() >= Qt::Key_A && e.key() <= Qt::Key_Z)
    return e.key() - Qt::Key_A + 1;
  return e.text().size() == 1 ? e.text().at(0).unicode() : 0;
}

}  // namespace

ControlSet::ControlSet(AppState& s, Host& host, double twips_per_pixel, bool placed)
    : s_(s), host_(host), tpp_(twips_per_pixel > 0 ? twips_per_pixel : 15.0), placed_(placed) {}

QWidget* ControlSet::widget(const std::string& name) const {
  for (const auto& c : table_)
    if (c.name == name) return qobject_cast<QWidget*>(c.object);
  return nullptr;
}

std::size_t ControlSet::row_of(const QObject* object) const {
  for (std::size_t i = 0; i < table_.size(); ++i)
    if (table_[i].object == object) return i;
  return no_row;
}

void ControlSet::build(std::vector<Control> table, QWidget* form, QMenuBar* menus) {
  table_ = std::move(table);
  applied_.assign(table_.size(), {});
  handled_.assign(table_.size(), 0);
  for (std::size_t i = 0; i < table_.size(); ++i) {
    auto& c = table_[i];
    c.object = make(c, form, menus);
    if (c.widget == Widget::form) form_row_ = i;
    wire(i);
  }
}

QObject* ControlSet::make(Control& c, QWidget* form, QMenuBar* menus) {
  QWidget* parent = c.parent.empty() || c.widget == Widget::menu_item ? form : widget(c.parent);
  if (!parent) parent = form;
  QWidget* w = nullptr;
  switch (c.widget) {
    case Widget::form:
      w = form;
      if (c.move) w->setMouseTracking(true);
      break;
    case Widget::flat_button:
    case Widget::picture: {
      auto* view = new PictureView(*std::get<PictureBox*>(c.model), tpp_, parent);
      if (c.widget == Widget::flat_button) {
        view->setMouseTracking(true);
        view->setCursor(Qt::PointingHandCursor);
      }
      w = view;
      break;
    }
    case Widget::check: w = new QCheckBox(parent); break;
    case Widget::label: w = new ClickLabel(parent); break;
    case Widget::line_edit: w = new QLineEdit(parent); break;
    case Widget::text_box: w = new QPlainTextEdit(parent); break;
    case Widget::combo:
    case Widget::editable_combo: {
      auto* box = new QComboBox(parent);
      if (c.widget == Widget::editable_combo) {
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
      }
      w = box;
      break;
    }
    case Widget::list: w = new QListWidget(parent); break;
    case Widget::scroll_bar: w = new QScrollBar(Qt::Vertical, parent); break;
    case Widget::button: {
      auto* button = new QPushButton(parent);
      button->setAutoDefault(false);
      w = button;
      break;
    }
    case Widget::timer: {
      auto* timer = new QTimer(form);
      timer->setObjectName(QString::fromStdString(c.name));
      return timer;
    }
    case Widget::menu_item: {
      if (!menus) return nullptr;
      QMenu* menu = nullptr;
      for (auto* m : menus->findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly))
        if (m->title() == QString::fromStdString(c.parent)) menu = m;
      if (!menu) menu = menus->addMenu(QString::fromStdString(c.parent));
      const auto* item = std::get<MenuItem*>(c.model);
      QAction* action = item->caption == "-" ? menu->addSeparator() : menu->addAction(QString());
      action->setObjectName(QString::fromStdString(c.name));
      return action;
    }
  }
  w->setObjectName(QString::fromStdString(c.name));
  // The design's colours show only on a filled background.
  if (placed_ && (c.widget == Widget::check || c.widget == Widget::label)) w->setAutoFillBackground(true);
  if ((c.widget == Widget::form && c.move) || (c.widget == Widget::line_edit && c.key_press))
    w->installEventFilter(this);
  return w;
}

void ControlSet::wire(std::size_t row) {
  auto& c = table_[row];
  auto fire_act = [this, row] { handle(row, table_[row].act); };
  switch (c.widget) {
    case Widget::form:
      // Mouse moves come through the event filter; the window's keys are shortcuts.
      for (int code : c.keys) {
        if (code < 1 || code > 26) continue;
        auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_A + code - 1)),
                                       static_cast<QWidget*>(c.object));
        connect(shortcut, &QShortcut::activated, this, [this, row, code] {
          int key = code;
          fire(row, [this, row, &key] { table_[row].key_press(s_, host_, key); });
        });
      }
      break;
    case Widget::flat_button: {
      auto* view = static_cast<PictureView*>(c.object);
      connect(view, &PictureView::clicked, this, fire_act);
      connect(view, &PictureView::mouse_moved, this, [this, row] { handle(row, table_[row].move); });
      break;
    }
    case Widget::picture:
      connect(static_cast<PictureView*>(c.object), &PictureView::double_clicked, this,
              [this, row] { handle(row, table_[row].double_click); });
      break;
    case Widget::check: {
      auto* model = std::get<CheckBox*>(c.model);
      connect(static_cast<QCheckBox*>(c.object), &QCheckBox::clicked, this, [this, row, model](bool on) {
        fire(row, [this, row, model, on] {
          model->value = on ? 1 : 0;
          if (table_[row].act) table_[row].act(s_, host_);
        });
      });
      break;
    }
    case Widget::label: {
      auto* label = static_cast<ClickLabel*>(c.object);
      connect(label, &ClickLabel::clicked, this, fire_act);
      connect(label, &ClickLabel::double_clicked, this,
              [this, row] { handle(row, table_[row].double_click); });
      connect(label, &ClickLabel::pressed, this, [this, row](int button) {
        if (!table_[row].mouse_down) return;
        fire(row, [this, row, button] { table_[row].mouse_down(s_, host_, button); });
      });
      break;
    }
    case Widget::line_edit: {
      auto* model = std::get<TextBox*>(c.model);
      connect(static_cast<QLineEdit*>(c.object), &QLineEdit::textChanged, this,
              [this, model](const QString& text) {
                if (!syncing_) model->text = from_qstring(text);
              });
      break;
    }
    case Widget::text_box: {
      auto* edit = static_cast<QPlainTextEdit*>(c.object);
      auto* model = std::get<TextBox*>(c.model);
      connect(edit, &QPlainTextEdit::textChanged, this, [this, row, edit, model] {
        if (syncing_) return;
        model->text = from_qstring(edit->toPlainText());
        applied_[row].text = model->text;
        applied_[row].has_text = true;
      });
      break;
    }
    case Widget::combo: {
      auto* model = std::get<ComboBox*>(c.model);
      connect(static_cast<QComboBox*>(c.object), &QComboBox::activated, this,
              [this, row, model](int index) {
                fire(row, [this, row, model, index] {
                  // The item as the model holds it: its bytes need not survive display.
                  model->text = bounded(model->items, index, table_[row].name.c_str());
                  if (table_[row].act) table_[row].act(s_, host_);
                });
              });
      break;
    }
    case Widget::editable_combo: {
      auto* box = static_cast<QComboBox*>(c.object);
      auto* model = std::get<ComboBox*>(c.model);
      connect(box, &QComboBox::editTextChanged, this, [this, model](const QString& text) {
        if (!syncing_) model->text = from_qstring(text);
      });
      connect(box, &QComboBox::textActivated, this, [this, row, model](const QString& text) {
        fire(row, [this, row, model, text] {
          model->text = from_qstring(text);
          if (table_[row].act) table_[row].act(s_, host_);
        });
      });
      break;
    }
    case Widget::list: {
      auto* model = std::get<ListBox*>(c.model);
      auto* list = static_cast<QListWidget*>(c.object);
      connect(list, &QListWidget::itemDoubleClicked, this, [this, row, model, list](QListWidgetItem* item) {
        fire(row, [this, row, model, list, item] {
          model->index = list->row(item);
          if (table_[row].double_click) table_[row].double_click(s_, host_);
        });
      });
      break;
    }
    case Widget::scroll_bar: {
      auto* model = std::get<ScrollBar*>(c.model);
      // Every move of the bar by the user counts: the thumb, the arrows, the
      // track and the wheel alike.
      connect(static_cast<QScrollBar*>(c.object), &QScrollBar::valueChanged, this,
              [this, row, model](int value) {
                fire(row, [this, row, model, value] {
                  model->value = value;
                  if (table_[row].act) table_[row].act(s_, host_);
                });
              });
      break;
    }
    case Widget::timer:
      connect(static_cast<QTimer*>(c.object), &QTimer::timeout, this, fire_act);
      break;
    case Widget::menu_item:
      if (c.object && !static_cast<QAction*>(c.object)->isSeparator())
        connect(static_cast<QAction*>(c.object), &QAction::triggered, this, fire_act);
      break;
    case Widget::button:
      connect(static_cast<QPushButton*>(c.object), &QPushButton::clicked, this, fire_act);
      break;
  }
}

void ControlSet::handle(std::size_t row, const Action& action) {
  if (action) fire(row, [&] { action(s_, host_); });
}

void ControlSet::fire(std::size_t row, const std::function<void()>& action) {
  if (syncing_ || !action) return;
  ++handled_[row];
  attempt_quietly(action);
  if (after_event)
    after_event();
  else
    sync();
}

bool ControlSet::eventFilter(QObject* watched, QEvent* event) {
  auto type = event->type();
  if (type == QEvent::MouseMove && form_row_ != no_row && watched == table_[form_row_].object &&
      table_[form_row_].move && !syncing_) {
    handle(form_row_, table_[form_row_].move);
  } else if (type == QEvent::KeyPress && !syncing_) {
    std::size_t row = row_of(watched);
    if (row == no_row) return QObject::eventFilter(watched, event);
    int key = key_code(*static_cast<QKeyEvent*>(event));
    if (row != form_row_ && table_[row].key_press && key != 0) {
      fire(row, [this, row, &key] { table_[row].key_press(s_, host_, key); });
      if (key == 0) return true;  // the handler dropped it
    }
  }
  return QObject::eventFilter(watched, event);
}

void ControlSet::sync() {
  if (syncing_) return;
  syncing_ = true;
  for (std::size_t i = 0; i < table_.size(); ++i) attempt_quietly([&] { mirror(i); });
  syncing_ = false;
}

void ControlSet::mirror(std::size_t row) {
  const auto& c = table_[row];
  if (!c.object) return;
  QSignalBlocker block(c.object);
  auto* w = qobject_cast<QWidget*>(c.object);
  auto place = [&](const QRect& r) {
    if (placed_ && w->geometry() != r) w->setGeometry(r);
  };
  auto place_bounds = [&](const Bounds& b) { place(to_pixels(b, tpp_)); };

  switch (c.widget) {
    case Widget::form: {
      auto title = to_qstring(*std::get<std::string*>(c.model));
      if (w->window()->windowTitle() != title) w->window()->setWindowTitle(title);
      break;
    }
    case Widget::flat_button:
    case Widget::picture: {
      const auto& m = *std::get<PictureBox*>(c.model);
      QSize size(to_pixels(m.width(), tpp_), to_pixels(m.height(), tpp_));
      if (placed_)
        place(QRect(QPoint(to_pixels(m.left, tpp_), to_pixels(m.top, tpp_)), size));
      else if (w->minimumSize() != size || w->maximumSize() != size)
        w->setFixedSize(size);
      set_colours(w, QPalette::WindowText, colours::black, QPalette::Window, m.back);
      set_visible(w, m.visible);
      static_cast<PictureView*>(w)->show_drawing();
      break;
    }
    case Widget::check: {
      const auto& m = *std::get<CheckBox*>(c.model);
      auto* box = static_cast<QCheckBox*>(w);
      place_bounds(m.bounds);
      set_text(box, m.caption);
      if (box->isChecked() != (m.value == 1)) box->setChecked(m.value == 1);
      set_enabled(box, m.enabled);
      set_colours(box, QPalette::WindowText, m.fore, QPalette::Window, m.back);
      set_visible(box, m.visible);
      break;
    }
    case Widget::label: {
      const auto& m = *std::get<Label*>(c.model);
      auto* label = static_cast<QLabel*>(w);
      place_bounds(m.bounds);
      auto caption = to_qstring(m.caption);
      if (label->text() != caption) label->setText(caption);
      if (label->font().bold() != m.bold) {
        QFont f = label->font();
        f.setBold(m.bold);
        label->setFont(f);
      }
      set_colours(label, QPalette::WindowText, m.fore, QPalette::Window, m.back);
      set_visible(label, m.visible);
      break;
    }
    case Widget::line_edit: {
      auto& m = *std::get<TextBox*>(c.model);
      auto* edit = static_cast<QLineEdit*>(w);
      place_bounds(m.bounds);
      auto text = to_qstring(m.text);
      if (edit->text() != text) edit->setText(text);
      set_enabled(edit, m.enabled);
      set_colours(edit, QPalette::Text, colours::black, QPalette::Base, m.back);
      if (m.wants_focus) {
        edit->setFocus();
        m.wants_focus = false;
      }
      break;
    }
    case Widget::text_box: {
      const auto& m = *std::get<TextBox*>(c.model);
      auto& applied = applied_[row];
      place_bounds(m.bounds);
      if (!applied.has_text || applied.text != m.text) {
        auto shown = to_qstring(m.text);
        shown.replace("\r\n", "\n");
        static_cast<QPlainTextEdit*>(w)->setPlainText(shown);
        applied.text = m.text;
        applied.has_text = true;
      }
      set_enabled(w, m.enabled);
      break;
    }
    case Widget::combo:
    case Widget::editable_combo: {
      const auto& m = *std::get<ComboBox*>(c.model);
      auto* box = static_cast<QComboBox*>(w);
      place_bounds(m.bounds);
      sync_items(box, m.items, applied_[row].items);
      // The shown text need not be one of the items ("No Styles").
      auto found = std::find(m.items.begin(), m.items.end(), m.text);
      int index = found == m.items.end() ? -1 : static_cast<int>(found - m.items.begin());
      if (box->currentIndex() != index) box->setCurrentIndex(index);
      auto text = to_qstring(m.text);
      if (c.widget == Widget::editable_combo) {
        if (box->currentText() != text) box->setEditText(text);
      } else if (index < 0 && box->placeholderText() != text) {
        box->setPlaceholderText(text);
      }
      break;
    }
    case Widget::list: {
      const auto& m = *std::get<ListBox*>(c.model);
      place_bounds(m.bounds);
      sync_items(static_cast<QListWidget*>(w), m.items, applied_[row].items);
      break;
    }
    case Widget::scroll_bar: {
      const auto& m = *std::get<ScrollBar*>(c.model);
      auto* bar = static_cast<QScrollBar*>(w);
      place_bounds(m.bounds);
      if (bar->maximum() != m.max || bar->minimum() != 0) bar->setRange(0, std::max(0, m.max));
      if (bar->value() != m.value) bar->setValue(m.value);
      if (bar->singleStep() != m.small_change) bar->setSingleStep(m.small_change);
      if (bar->pageStep() != m.large_change) bar->setPageStep(m.large_change);
      set_enabled(bar, m.enabled);
      break;
    }
    case Widget::timer: {
      const auto& m = *std::get<Timer*>(c.model);
      auto* timer = static_cast<QTimer*>(c.object);
      if (timer->interval() != m.interval_ms) timer->setInterval(std::max(1, m.interval_ms));
      if (m.enabled && !timer->isActive()) timer->start();
      if (!m.enabled && timer->isActive()) timer->stop();
      break;
    }
    case Widget::menu_item: {
      const auto& m = *std::get<MenuItem*>(c.model);
      auto* action = static_cast<QAction*>(c.object);
      if (!action->isSeparator() && action->text() != to_qstring(m.caption))
        action->setText(to_qstring(m.caption));
      if (action->isEnabled() != m.enabled) action->setEnabled(m.enabled);
      if (action->isVisible() != m.visible) action->setVisible(m.visible);
      break;
    }
    case Widget::button: {
      const auto& m = *std::get<Button*>(c.model);
      auto* button = static_cast<QPushButton*>(w);
      set_text(button, m.caption);
      set_enabled(button, m.enabled);
      set_visible(button, m.visible);
      break;
    }
  }
}

}  // namespace zw::qt
