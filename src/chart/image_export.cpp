#include "chart/image_export.h"

#include "base/failure.h"
#include "base/text.h"
#include "chart/chart.h"

namespace zw {
namespace {

// The scale labels are controls on the strip, not drawn on it; the image shows
// them as the window does: each in its colours over the strip, its caption
// centred, bold where marked.
void draw_scale_labels(AppState& s) {
  auto& f = s.f1;
  if (!f.scale_labels_created || f.p3.width() <= 0) return;
  auto& p4 = f.p4.draw();
  // The strip is stretched to the canvas width; its labels go with it.
  double stretch = static_cast<double>(f.p1.width()) / f.p3.width();
  p4.set_font(control_font, control_font_points);
  for (int r = 1; r < scale_labels; ++r) {
    const auto& label = f.Label3[static_cast<std::size_t>(r)];
    if (!label.visible || label.bounds.width <= 0 || label.bounds.height <= 0) continue;
    double left = label.bounds.left * stretch;
    double right = (label.bounds.left + label.bounds.width) * stretch;
    double top = label.bounds.top, bottom = top + label.bounds.height;
    p4.fill_rect(left, top, right, bottom, label.back);
    p4.set_bold(label.bold);
    p4.set_fore(label.fore);
    p4.move_to((left + right - p4.text_width(label.caption)) / 2,
               (top + bottom - p4.text_height(label.caption)) / 2);
    p4.print(label.caption);
  }
  p4.set_bold(false);
}

// Asks whether to replace the file when it exists (No unless the user says
// Yes); true when it may be written.
bool may_replace(Host& host, const std::string& path) {
  if (!host.fs().file_exists(path)) return true;
  return host.message("Replace file?\r\n\r\n" + path, Buttons::no_yes) == Answer::yes;
}

bool refuse(Host& host, const std::string& path, const std::string& why) {
  host.message("Cannot save the image " + path + ": " + why);
  return false;
}

// The scale strip p3 with its labels on p4, at the canvas's width.
void compose_strip(AppState& s, Host&) {
  auto& f = s.f1;
  attempt_quietly([&] { f.p4.set_size(f.p1.width(), f.p3.height()); });
  attempt_quietly([&] {
    auto& p4 = f.p4.draw();
    p4.set_pixel_scale(false);
    p4.paint_surface(f.p3.draw(), 0, 0, f.p1.width(), f.p3.height());
  });
  attempt_quietly([&] { draw_scale_labels(s); });
}

// The image of a chart held in bands: the strip, then the chart drawn band
// after band into the file as it is written, so that neither the whole
// picture nor the whole file is ever held.
void banded_file(AppState& s, Host& host, ImageFormat format, const BandDrawing& bands,
                 FileOutput& out) {
  auto& f = s.f1;
  // The strip as a band, so that it ends on the row where the canvas starts.
  f.p4.hold_band(0, f.p3.height());
  compose_strip(s, host);
  auto file = f.p4.draw().start_file(format, f.p1.width(), f.p3.height() + f.p1.height(), out);
  file->add(f.p4.draw());
  f.p4.hold_whole();
  constexpr int band = 30000;
  auto each = [&] { file->add(f.p1.draw()); };
  if (!(bands ? bands(band, each) : plot_in_bands(s, host, s.result_count, band, each)))
    fail("the chart could not be drawn");
  file->finish();
}

}  // namespace

std::optional<ImageTarget> image_target(const std::string& chosen, ImageNames rule) {
  auto lower = text::lower(chosen);
  if (text::contains(lower, ".bmp")) return ImageTarget{chosen, ImageFormat::bmp};
  if (lower.ends_with(".png")) return ImageTarget{chosen, ImageFormat::png};
  if (rule == ImageNames::bmp_or_png || text::contains(chosen, ".")) return std::nullopt;
  return ImageTarget{chosen + ".bmp", ImageFormat::bmp};
}

std::optional<ImageTarget> choose_image_target(Host& host, const std::string& chosen,
                                               ImageNames rule) {
  auto target = image_target(chosen, rule);
  if (!target) {
    host.message("Format not supported");
    return std::nullopt;
  }
  std::string error;
  if (!host.fs().can_write(target->path, error)) {
    host.message(target->path + " " + error);
    return std::nullopt;
  }
  if (!may_replace(host, target->path)) return std::nullopt;
  return target;
}

void compose_image(AppState& s, Host& host) {
  compose_strip(s, host);
  attempt_quietly([&] { s.f1.p4.stack(s.f1.p1); });
}

bool write_image(AppState& s, Host& host, const ImageTarget& target, const BandDrawing& bands) {
  auto& f = s.f1;
  std::string why;
  attempt_quietly([&] { why = f.p1.draw().picture_error(); });
  if (!why.empty()) return refuse(host, target.path, "the chart could not be drawn (" + why + ")");
  std::string error;
  if (f.p1.banded()) {
    auto out = host.fs().start_write(target.path, error);
    if (!out) {
      host.message(target.path + " " + error);
      return false;
    }
    try {
      banded_file(s, host, target.format, bands, *out);
    } catch (const std::exception& e) {
      return refuse(host, target.path, e.what());
    }
    if (!out->commit(error)) {
      host.message(target.path + " " + error);
      return false;
    }
    return true;
  }
  std::string bytes;
  try {
    compose_image(s, host);
    bytes = f.p4.draw().encode(target.format);
  } catch (const std::exception& e) {
    return refuse(host, target.path, e.what());
  }
  if (!host.fs().write(target.path, bytes, error)) {
    host.message(target.path + " " + error);
    return false;
  }
  return true;
}

bool save_image(AppState& s, Host& host, const std::string& chosen_path, ImageNames rule,
                const BandDrawing& bands) {
  if (chosen_path.empty()) return false;
  auto target = choose_image_target(host, chosen_path, rule);
  return target && write_image(s, host, *target, bands);
}

}  // namespace zw
