#include "platform/qt/control_set.h"

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

// One control kind on screen: makes the widget and wires its signals to the
// row's handlers, and brings it up to date from the model.
class KindAdapter {
 public:
  virtual ~KindAdapter() = default;
  virtual QObject* make(ControlSet& set, std::size_t row, QWidget* parent,
                        QMenuBar* menus) const = 0;
  virtual void mirror(ControlSet& set, std::size_t row) const = 0;
};

namespace {

constexpr std::size_t no_row = static_cast<std::size_t>(-1);

QColor to_qcolor(Colour c) {
  return QColor(c.r, c.g, c.b);
}

template <class M>
M& model_of(const ControlSet::Row& r) {
  return *std::get<M*>(r.control->model);
}

void set_visible(QWidget* w, bool visible) {
  if (w->isVisibleTo(w->parentWidget()) != visible) w->setVisible(visible);
}

void set_enabled(QWidget* w, bool enabled) {
  if (w->isEnabled() != enabled) w->setEnabled(enabled);
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

void place(ControlSet& set, QWidget* w, const Bounds& b) {
  auto r = to_pixels(b, set.twips_per_pixel());
  if (set.placed() && w->geometry() != r) w->setGeometry(r);
}

QFont font_of(const FontChoice& choice) {
  QFont font(to_qstring(choice.name));
  if (choice.points > 0) font.setPointSizeF(choice.points);
  return font;
}

// Brings a list's items up to date, appending when the model only grew (the
// font list grows one name at a time).
template <class Widget>
void sync_items(Widget* w, const std::vector<std::string>& items,
                std::vector<std::string>& applied) {
  if (items == applied) return;
  bool grew =
      items.size() > applied.size() && std::equal(applied.begin(), applied.end(), items.begin());
  if (!grew) {
    w->clear();
    applied.clear();
  }
  for (std::size_t i = applied.size(); i < items.size(); ++i) w->addItem(to_qstring(items[i]));
  applied = items;
}

// A key press as a character code: Enter, Ctrl+letter 1..26, else the
// character typed; 0 for keys that type nothing.
int key_code(const QKeyEvent& e) {
  if (e.key() == Qt::Key_Return || e.key() == Qt::Key_Enter) return key_enter;
  if ((e.modifiers() & Qt::ControlModifier) && e.key() >= Qt::Key_A && e.key() <= Qt::Key_Z)
    return e.key() - Qt::Key_A + 1;
  return e.text().size() == 1 ? e.text().at(0).unicode() : 0;
}

class FormAdapter : public KindAdapter {
 public:
  QObject* make(ControlSet& set, std::size_t row, QWidget* form, QMenuBar*) const override {
    const auto& c = *set.row(row).control;
    if (c.hears(UserEvent::mouse_move)) {
      form->setMouseTracking(true);
      set.filter_events(form);
    }
    for (int code : c.keys) {
      if (code < 1 || code > 26) continue;
      auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_A + code - 1)), form);
      QObject::connect(shortcut, &QShortcut::activated, &set, [&set, row, code] {
        UserInput in{code};
        set.user(row, UserEvent::key_press, in);
      });
    }
    return form;
  }
  void mirror(ControlSet& set, std::size_t row) const override {
    auto r = set.row(row);
    auto* w = static_cast<QWidget*>(r.object)->window();
    auto title = to_qstring(model_of<std::string>(r));
    if (w->windowTitle() != title) w->setWindowTitle(title);
  }
};

class PictureAdapter : public KindAdapter {
 public:
  QObject* make(ControlSet& set, std::size_t row, QWidget* parent, QMenuBar*) const override {
    auto r = set.row(row);
    auto* view = new PictureView(model_of<PictureBox>(r), set.twips_per_pixel(), parent);
    if (r.control->kind == ControlKind::flat_button) {
      view->setMouseTracking(true);
      view->setCursor(Qt::PointingHandCursor);
      // A button to the keyboard as well: Tab reaches it, Enter or Space presses it.
      view->act_as_button();
    }
    QObject::connect(view, &PictureView::clicked, &set,
                     [&set, row] { set.user(row, UserEvent::click); });
    QObject::connect(view, &PictureView::mouse_moved, &set,
                     [&set, row] { set.user(row, UserEvent::mouse_move); });
    QObject::connect(view, &PictureView::double_clicked, &set,
                     [&set, row] { set.user(row, UserEvent::double_click); });
    return view;
  }
  void mirror(ControlSet& set, std::size_t row) const override {
    auto r = set.row(row);
    const auto& m = model_of<PictureBox>(r);
    auto* w = static_cast<PictureView*>(r.object);
    double tpp = set.twips_per_pixel();
    QSize size(to_pixels(m.width(), tpp), to_pixels(m.height(), tpp));
    if (set.placed()) {
      QRect at(QPoint(to_pixels(m.left, tpp), to_pixels(m.top, tpp)), size);
      if (w->geometry() != at) w->setGeometry(at);
    } else if (w->minimumSize() != size || w->maximumSize() != size) {
      w->setFixedSize(size);
    }
    set_colours(w, QPalette::WindowText, colours::black, QPalette::Window, m.back);
    set_visible(w, m.visible);
    w->show_drawing();
  }
};

class CheckAdapter : public KindAdapter {
 public:
  QObject* make(ControlSet& set, std::size_t row, QWidget* parent, QMenuBar*) const override {
    auto* box = new QCheckBox(parent);
    // The design's colours show only on a filled background.
    box->setAutoFillBackground(set.placed());
    auto* model = &model_of<CheckBox>(set.row(row));
    QObject::connect(box, &QCheckBox::clicked, &set, [&set, row, model](bool on) {
      set.user(row, UserEvent::click, [model, on] { model->value = on ? 1 : 0; });
    });
    return box;
  }
  void mirror(ControlSet& set, std::size_t row) const override {
    auto r = set.row(row);
    const auto& m = model_of<CheckBox>(r);
    auto* box = static_cast<QCheckBox*>(r.object);
    place(set, box, m.bounds);
    set_text(box, m.caption);
    if (box->isChecked() != (m.value == 1)) box->setChecked(m.value == 1);
    set_enabled(box, m.enabled);
    set_colours(box, QPalette::WindowText, m.fore, QPalette::Window, m.back);
    set_visible(box, m.visible);
  }
};

class LabelAdapter : public KindAdapter {
 public:
  QObject* make(ControlSet& set, std::size_t row, QWidget* parent, QMenuBar*) const override {
    auto* label = new ClickLabel(parent);
    label->setAutoFillBackground(set.placed());
    if (set.row(row).control->centred) label->setAlignment(Qt::AlignCenter);
    QObject::connect(label, &ClickLabel::clicked, &set,
                     [&set, row] { set.user(row, UserEvent::click); });
    QObject::connect(label, &ClickLabel::double_clicked, &set,
                     [&set, row] { set.user(row, UserEvent::double_click); });
    QObject::connect(label, &ClickLabel::pressed, &set, [&set, row](int button) {
      UserInput in;
      in.button = button;
      set.user(row, UserEvent::mouse_down, in);
    });
    return label;
  }
  void mirror(ControlSet& set, std::size_t row) const override {
    auto r = set.row(row);
    const auto& m = model_of<Label>(r);
    auto* label = static_cast<QLabel*>(r.object);
    place(set, label, m.bounds);
    auto caption = to_qstring(m.caption);
    if (label->text() != caption) label->setText(caption);
    QFont font = r.control->font ? font_of(r.control->font()) : label->font();
    font.setBold(m.bold);
    if (label->font() != font) label->setFont(font);
    set_colours(label, QPalette::WindowText, m.fore, QPalette::Window, m.back);
    set_visible(label, m.visible);
  }
};

class LineEditAdapter : public KindAdapter {
 public:
  QObject* make(ControlSet& set, std::size_t row, QWidget* parent, QMenuBar*) const override {
    auto* edit = new QLineEdit(parent);
    if (set.row(row).control->hears(UserEvent::key_press)) set.filter_events(edit);
    auto* model = &model_of<TextBox>(set.row(row));
    QObject::connect(edit, &QLineEdit::textChanged, &set, [&set, model](const QString& text) {
      if (!set.syncing()) model->text = from_qstring(text);
    });
    return edit;
  }
  void mirror(ControlSet& set, std::size_t row) const override {
    auto r = set.row(row);
    auto& m = model_of<TextBox>(r);
    auto* edit = static_cast<QLineEdit*>(r.object);
    place(set, edit, m.bounds);
    auto text = to_qstring(m.text);
    if (edit->text() != text) edit->setText(text);
    if (edit->isReadOnly() != m.read_only) edit->setReadOnly(m.read_only);
    set_enabled(edit, m.enabled);
    set_colours(edit, QPalette::Text, colours::black, QPalette::Base, m.back);
    if (m.wants_focus) {
      edit->setFocus();
      m.wants_focus = false;
    }
  }
};

class TextAdapter : public KindAdapter {
 public:
  QObject* make(ControlSet& set, std::size_t row, QWidget* parent, QMenuBar*) const override {
    auto* edit = new QPlainTextEdit(parent);
    // Tab moves on to the next control: the program's texts hold no tabs.
    edit->setTabChangesFocus(true);
    auto r = set.row(row);
    if (r.control->font) {
      QFont font = font_of(r.control->font());
      font.setStyleHint(QFont::TypeWriter);
      edit->setFont(font);
    }
    auto* model = &model_of<TextBox>(r);
    QObject::connect(edit, &QPlainTextEdit::textChanged, &set, [&set, row, edit, model] {
      if (set.syncing()) return;
      model->text = from_qstring(edit->toPlainText());
      auto shown = set.row(row);
      shown.text = model->text;
      shown.has_text = true;
    });
    return edit;
  }
  void mirror(ControlSet& set, std::size_t row) const override {
    auto r = set.row(row);
    const auto& m = model_of<TextBox>(r);
    auto* edit = static_cast<QPlainTextEdit*>(r.object);
    place(set, edit, m.bounds);
    if (!r.has_text || r.text != m.text) {
      auto shown = to_qstring(m.text);
      shown.replace("\r\n", "\n");
      edit->setPlainText(shown);
      r.text = m.text;
      r.has_text = true;
    }
    if (edit->isReadOnly() != m.read_only) edit->setReadOnly(m.read_only);
    set_enabled(edit, m.enabled);
  }
};

class ComboAdapter : public KindAdapter {
 public:
  QObject* make(ControlSet& set, std::size_t row, QWidget* parent, QMenuBar*) const override {
    auto* box = new QComboBox(parent);
    auto r = set.row(row);
    auto* model = &model_of<ComboBox>(r);
    if (r.control->kind == ControlKind::editable_combo) {
      box->setEditable(true);
      box->setInsertPolicy(QComboBox::NoInsert);
      QObject::connect(box, &QComboBox::editTextChanged, &set, [&set, model](const QString& text) {
        if (!set.syncing()) model->text = from_qstring(text);
      });
      QObject::connect(
          box, &QComboBox::textActivated, &set, [&set, row, model](const QString& text) {
            set.user(row, UserEvent::click, [model, text] { model->text = from_qstring(text); });
          });
    } else {
      QObject::connect(box, &QComboBox::activated, &set, [&set, row, model](int index) {
        // The item as the model holds it: its bytes need not survive display.
        set.user(row, UserEvent::click, [&set, row, model, index] {
          model->text = bounded(model->items, index, set.row(row).control->name.c_str());
        });
      });
    }
    return box;
  }
  void mirror(ControlSet& set, std::size_t row) const override {
    auto r = set.row(row);
    const auto& m = model_of<ComboBox>(r);
    auto* box = static_cast<QComboBox*>(r.object);
    place(set, box, m.bounds);
    sync_items(box, m.items, r.items);
    // The shown text need not be one of the items ("No Styles").
    auto found = std::find(m.items.begin(), m.items.end(), m.text);
    int index = found == m.items.end() ? -1 : static_cast<int>(found - m.items.begin());
    if (box->currentIndex() != index) box->setCurrentIndex(index);
    auto text = to_qstring(m.text);
    if (r.control->kind == ControlKind::editable_combo) {
      if (box->currentText() != text) box->setEditText(text);
    } else if (index < 0 && box->placeholderText() != text) {
      box->setPlaceholderText(text);
    }
    set_enabled(box, m.enabled);
  }
};

class ListAdapter : public KindAdapter {
 public:
  QObject* make(ControlSet& set, std::size_t row, QWidget* parent, QMenuBar*) const override {
    auto* list = new QListWidget(parent);
    auto* model = &model_of<ListBox>(set.row(row));
    QObject::connect(list, &QListWidget::itemDoubleClicked, &set,
                     [&set, row, model, list](QListWidgetItem* item) {
                       set.user(row, UserEvent::double_click,
                                [model, list, item] { model->index = list->row(item); });
                     });
    return list;
  }
  void mirror(ControlSet& set, std::size_t row) const override {
    auto r = set.row(row);
    const auto& m = model_of<ListBox>(r);
    auto* list = static_cast<QListWidget*>(r.object);
    place(set, list, m.bounds);
    sync_items(list, m.items, r.items);
    set_visible(list, m.visible);
  }
};

class ScrollAdapter : public KindAdapter {
 public:
  QObject* make(ControlSet& set, std::size_t row, QWidget* parent, QMenuBar*) const override {
    auto* bar = new QScrollBar(Qt::Vertical, parent);
    auto* model = &model_of<ScrollBar>(set.row(row));
    // Every move of the bar by the user counts: the thumb, the arrows, the
    // track and the wheel alike.
    QObject::connect(bar, &QScrollBar::valueChanged, &set, [&set, row, model](int value) {
      set.user(row, UserEvent::changed, [model, value] { model->value = value; });
    });
    return bar;
  }
  void mirror(ControlSet& set, std::size_t row) const override {
    auto r = set.row(row);
    const auto& m = model_of<ScrollBar>(r);
    auto* bar = static_cast<QScrollBar*>(r.object);
    place(set, bar, m.bounds);
    if (bar->maximum() != m.max || bar->minimum() != 0) bar->setRange(0, std::max(0, m.max));
    if (bar->value() != m.value) bar->setValue(m.value);
    if (bar->singleStep() != m.small_change) bar->setSingleStep(m.small_change);
    if (bar->pageStep() != m.large_change) bar->setPageStep(m.large_change);
    set_enabled(bar, m.enabled);
  }
};

class TimerAdapter : public KindAdapter {
 public:
  QObject* make(ControlSet& set, std::size_t row, QWidget* form, QMenuBar*) const override {
    auto* timer = new QTimer(form);
    QObject::connect(timer, &QTimer::timeout, &set,
                     [&set, row] { set.user(row, UserEvent::click); });
    return timer;
  }
  void mirror(ControlSet& set, std::size_t row) const override {
    auto r = set.row(row);
    const auto& m = model_of<Timer>(r);
    auto* timer = static_cast<QTimer*>(r.object);
    if (timer->interval() != m.interval_ms) timer->setInterval(std::max(1, m.interval_ms));
    if (m.enabled && !timer->isActive()) timer->start();
    if (!m.enabled && timer->isActive()) timer->stop();
  }
};

class MenuItemAdapter : public KindAdapter {
 public:
  QObject* make(ControlSet& set, std::size_t row, QWidget*, QMenuBar* menus) const override {
    if (!menus) return nullptr;
    auto r = set.row(row);
    auto title = QString::fromStdString(r.control->container);
    QMenu* menu = nullptr;
    for (auto* m : menus->findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly))
      if (m->title() == title) menu = m;
    if (!menu) menu = menus->addMenu(title);
    if (model_of<MenuItem>(r).caption == "-") return menu->addSeparator();
    QAction* action = menu->addAction(QString());
    QObject::connect(action, &QAction::triggered, &set,
                     [&set, row] { set.user(row, UserEvent::click); });
    return action;
  }
  void mirror(ControlSet& set, std::size_t row) const override {
    auto r = set.row(row);
    const auto& m = model_of<MenuItem>(r);
    auto* action = static_cast<QAction*>(r.object);
    if (!action->isSeparator() && action->text() != to_qstring(m.caption))
      action->setText(to_qstring(m.caption));
    if (action->isEnabled() != m.enabled) action->setEnabled(m.enabled);
    if (action->isVisible() != m.visible) action->setVisible(m.visible);
  }
};

class ButtonAdapter : public KindAdapter {
 public:
  QObject* make(ControlSet& set, std::size_t row, QWidget* parent, QMenuBar*) const override {
    auto* button = new QPushButton(parent);
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, &set,
                     [&set, row] { set.user(row, UserEvent::click); });
    return button;
  }
  void mirror(ControlSet& set, std::size_t row) const override {
    auto r = set.row(row);
    const auto& m = model_of<Button>(r);
    auto* button = static_cast<QPushButton*>(r.object);
    set_text(button, m.caption);
    set_enabled(button, m.enabled);
    set_visible(button, m.visible);
  }
};

const KindAdapter& adapter(ControlKind kind) {
  static const FormAdapter form;
  static const PictureAdapter picture;
  static const CheckAdapter check;
  static const LabelAdapter label;
  static const LineEditAdapter line_edit;
  static const TextAdapter text;
  static const ComboAdapter combo;
  static const ListAdapter list;
  static const ScrollAdapter scroll;
  static const TimerAdapter timer;
  static const MenuItemAdapter menu_item;
  static const ButtonAdapter button;
  switch (kind) {
    case ControlKind::form:
      return form;
    case ControlKind::flat_button:
    case ControlKind::picture:
      return picture;
    case ControlKind::check_box:
      return check;
    case ControlKind::label:
      return label;
    case ControlKind::text_box:
      return line_edit;
    case ControlKind::multi_line_text:
      return text;
    case ControlKind::combo_box:
    case ControlKind::editable_combo:
      return combo;
    case ControlKind::list_box:
      return list;
    case ControlKind::scroll_bar:
      return scroll;
    case ControlKind::timer:
      return timer;
    case ControlKind::menu_item:
      return menu_item;
    case ControlKind::push_button:
      return button;
  }
  fail(std::string("No widget for a ") + kind_name(kind));
}

}  // namespace

ControlSet::ControlSet(double twips_per_pixel, bool placed)
    : tpp_(twips_per_pixel > 0 ? twips_per_pixel : 15.0), placed_(placed) {}

ControlSet::~ControlSet() = default;

ControlSet::Row ControlSet::row(std::size_t i) {
  auto& a = applied_.at(i);
  return {&table_.at(i), objects_.at(i), a.items, a.text, a.has_text};
}

QWidget* ControlSet::widget(const std::string& name) const {
  for (std::size_t i = 0; i < table_.size(); ++i)
    if (table_[i].name == name) return qobject_cast<QWidget*>(objects_[i]);
  return nullptr;
}

std::size_t ControlSet::row_of(const QObject* object) const {
  for (std::size_t i = 0; i < objects_.size(); ++i)
    if (objects_[i] == object) return i;
  return no_row;
}

void ControlSet::build(std::vector<Control> table, QWidget* form, QMenuBar* menus) {
  table_ = std::move(table);
  objects_.assign(table_.size(), nullptr);
  adapters_.assign(table_.size(), nullptr);
  applied_.assign(table_.size(), {});
  handled_.assign(table_.size(), 0);
  for (std::size_t i = 0; i < table_.size(); ++i) {
    const auto& c = table_[i];
    QWidget* parent = c.container.empty() ? nullptr : widget(c.container);
    adapters_[i] = &adapter(c.kind);
    objects_[i] = adapters_[i]->make(*this, i, parent ? parent : form, menus);
    if (objects_[i]) objects_[i]->setObjectName(QString::fromStdString(c.name));
  }
  // Tab follows the table.
  QWidget* previous = nullptr;
  for (auto* object : objects_) {
    auto* w = qobject_cast<QWidget*>(object);
    if (!w || w == form || !(w->focusPolicy() & Qt::TabFocus)) continue;
    if (previous) QWidget::setTabOrder(previous, w);
    previous = w;
  }
}

void ControlSet::user(std::size_t row, UserEvent event, UserInput& input,
                      const std::function<void()>& write) {
  const auto& c = table_.at(row);
  if (syncing_ || (!write && !c.hears(event))) return;
  ++handled_[row];
  attempt_quietly([&] {
    if (write) write();
    c.fire(event, input);
  });
  if (after_event)
    after_event();
  else
    sync();
}

bool ControlSet::eventFilter(QObject* watched, QEvent* event) {
  if (syncing_) return QObject::eventFilter(watched, event);
  std::size_t row = row_of(watched);
  if (row == no_row) return QObject::eventFilter(watched, event);
  auto type = event->type();
  if (type == QEvent::MouseMove && table_[row].kind == ControlKind::form) {
    user(row, UserEvent::mouse_move);
  } else if (type == QEvent::KeyPress && table_[row].kind != ControlKind::form) {
    UserInput in{key_code(*static_cast<QKeyEvent*>(event))};
    if (in.key != 0 && table_[row].hears(UserEvent::key_press)) {
      user(row, UserEvent::key_press, in);
      if (in.key == 0) return true;  // the handler dropped it
    }
  }
  return QObject::eventFilter(watched, event);
}

void ControlSet::sync() {
  if (syncing_) return;
  syncing_ = true;
  for (std::size_t i = 0; i < table_.size(); ++i) {
    if (!objects_[i]) continue;
    QSignalBlocker block(objects_[i]);
    attempt_quietly([&] { adapters_[i]->mirror(*this, i); });
  }
  syncing_ = false;
}

}  // namespace zw::qt
