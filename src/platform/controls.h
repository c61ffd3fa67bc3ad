#pragma once
#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/colour.h"
#include "platform/surface.h"

namespace zw {

// Controls are plain data: the logic reads and writes these properties, and a
// binding mirrors them into real widgets. Positions and sizes are in twips.

struct Bounds {
  int left = 0, top = 0, width = 0, height = 0;
};

struct CheckBox {
  int value = 0;  // 0 unticked, 1 ticked
  std::string caption;
  bool visible = true;
  bool enabled = true;
  Colour fore = colours::black;
  Colour back = colours::button_face;
  Bounds bounds;
};

struct Label {
  std::string caption;
  bool visible = true;
  bool bold = false;
  Colour fore = colours::black;
  Colour back = colours::button_face;
  Bounds bounds;
};

struct TextBox {
  std::string text;
  bool enabled = true;
  bool multi_line = false;
  bool read_only = false;    // shown and copied from, never typed into
  bool wants_focus = false;  // the logic asks for the focus; the binding gives it
  Colour back = colours::white;
  Bounds bounds;
};

struct ComboBox {
  std::vector<std::string> items;
  std::string text;
  bool enabled = true;
  Bounds bounds;
};

struct ListBox {
  std::vector<std::string> items;
  int index = -1;  // the item the user chose last; -1 for none
  bool visible = true;
  Bounds bounds;
};

struct ScrollBar {
  int value = 0;
  int max = 0;
  int small_change = 1;
  int large_change = 1;
  bool enabled = true;
  Bounds bounds;

  // Where the mouse wheel takes it: three steps a notch, as the platforms
  // scroll text (notches > 0 scroll down).
  int after_wheel(int notches) const {
    long long to = value + 3LL * notches * std::max(small_change, 1);
    return static_cast<int>(std::clamp<long long>(to, 0, std::max(max, 0)));
  }
};

struct Timer {
  bool enabled = false;
  int interval_ms = 50;
};

// A push button of a dialog.
struct Button {
  std::string caption;
  bool enabled = true;
  bool visible = true;
  Bounds bounds{};
};

struct MenuItem {
  std::string caption;
  bool enabled = true;
  bool visible = true;
};

// A picture box. Its size is kept here and in its drawing surface together, so
// it is set only through set_size(); the surface is owned by the binding.
class PictureBox {
 public:
  int left = 0;
  int top = 0;
  bool visible = true;
  Colour back = colours::white;
  std::string tag;  // the caption a flat button was last painted with
  // Where the mouse was last double-clicked, in twips from the top left of the
  // whole picture; the binding writes it before the handler runs.
  double mouse_x = 0, mouse_y = 0;

  int width() const { return width_; }
  int height() const { return height_; }
  void set_size(int width, int height) {
    width_ = width;
    height_ = height;
    fit_surface();
  }
  void set_width(int width) { set_size(width, height_); }
  void set_height(int height) { set_size(width_, height); }

  // Puts lower's picture below this box's, at this box's width: the box grows
  // by lower's height. The surface may keep lower's pixels rather than copy them.
  void stack(const PictureBox& lower) {
    int top = height_;
    height_ += lower.height();
    if (surface_) surface_->stack(lower.draw(), width_, top, lower.height());
  }

  // A tall picture is held one band at a time, where the surface can: the
  // box keeps its whole size, its surface holds rows top .. top+height only.
  // False (and the whole picture kept) when the surface cannot.
  bool hold_band(int top, int height) {
    if (!surface_ || !surface_->bands()) return false;
    band_top_ = top;
    band_height_ = height;
    fit_surface();
    return true;
  }
  // Holds the whole picture again.
  void hold_whole() {
    if (!banded()) return;
    band_top_ = 0;
    band_height_ = -1;
    fit_surface();
  }
  bool banded() const { return band_height_ >= 0; }
  int band_top() const { return banded() ? band_top_ : 0; }
  int band_height() const { return banded() ? band_height_ : height_; }

  void attach(Surface* surface) {
    surface_ = surface;
    if (surface_ && !surface_->bands()) band_height_ = -1;
    fit_surface();
  }
  bool has_surface() const { return surface_ != nullptr; }
  Surface& draw() const {
    if (!surface_) throw std::logic_error("picture box without a drawing surface");
    return *surface_;
  }

 private:
  void fit_surface() {
    if (!surface_) return;
    if (banded())
      surface_->set_band(width_, band_top_, band_height_);
    else
      surface_->resize(width_, height_);
  }

  int width_ = 0;
  int height_ = 0;
  int band_top_ = 0, band_height_ = -1;  // -1: the whole picture is held
  Surface* surface_ = nullptr;
};

}  // namespace zw
