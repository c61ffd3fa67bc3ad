#include <ctime>
#include <ostream>

#include "app/image_export.h"
#include "app/numbers.h"
#include "app/text.h"
#include "chart/chart.h"
#include "cli/commands.h"
#include "platform/raster.h"
#include "typ/typ_reader.h"

namespace zw::cli {
namespace {

constexpr int default_width = 15000;

enum class Format { bmp, png, refused };

Format format_of(const std::string& name) {
  auto lower = text::lower(name);
  if (text::contains(lower, ".bmp")) return Format::bmp;
  if (lower.size() >= 4 && lower.compare(lower.size() - 4, 4, ".png") == 0) return Format::png;
  return Format::refused;
}

void print_missing(const AppState& s, std::ostream& out) {
  for (const auto& key : text::split(s.f1.Text3.text, "\r\n"))
    if (!key.empty()) out << "missing\t" << escape_field(key) << "\n";
}

bool write_png_image(Session& session, const std::string& path) {
  auto& s = session.state;
  auto& host = session.host;
  compose_image(s, host);
  if (!may_replace(host, path)) return false;
  std::string bytes, error;
  if (!raster::encode_png(s.f1.p4.draw().image(), bytes, error) ||
      !host.fs().write(path, bytes, error)) {
    host.message(path + " " + error);
    return false;
  }
  return true;
}

}  // namespace

bool image_name_accepted(Session& session, const std::string& path) {
  if (format_of(path) != Format::refused) return true;
  session.host.message("Format not supported");
  return false;
}

ChartRasters::ChartRasters() {
  raster::prepare();
  constexpr double twips_per_pixel = 15;
  p1 = raster::make_surface(twips_per_pixel);
  p2 = raster::make_surface(twips_per_pixel);
  p3 = raster::make_surface(twips_per_pixel);
  p4 = raster::make_surface(twips_per_pixel);
}

void use_raster_boxes(Session& session, ChartRasters& rasters) {
  session.attach(*rasters.p1, *rasters.p2, *rasters.p3, *rasters.p4);
  session.host.date = local_date();
}

void set_chart_width(Session& session, int width) {
  auto& s = session.state;
  auto& host = session.host;
  // The window whose chart pane is the given width inside its frame.
  int frame = static_cast<int>(
      num::round_half_even(host.twips_per_pixel() * host.sizing_border_pixels(), 0, 1000000));
  s.f1.width = width + 2 * frame;
  if (!s.chart_font_name.empty()) s.f1.p1.draw().set_font(s.chart_font_name, s.chart_font_size);
}

bool write_chart_image(Session& session, const std::string& path) {
  if (!image_name_accepted(session, path)) return false;
  return format_of(path) == Format::bmp ? save_image(session.state, session.host, path)
                                        : write_png_image(session, path);
}

int run_chart(const std::vector<std::string>& words, Io& io) {
  auto options = analysis_options();
  options.insert(options.end(), {{"--typ", true},
                                 {"--show-text", false},
                                 {"--overview-only", false},
                                 {"--width", true},
                                 {"--out", true}});
  auto args = parse_args(words, options);
  if (!args.has("--out") || args.value("--out").empty()) throw UsageError("--out is required");
  int width = args.has("--width") ? whole_option(args, "--width", 1200, 150000) : default_width;
  auto out = args.value("--out");

  Session session(io.err, io.app_dir);
  if (!image_name_accepted(session, out)) return 1;

  ChartRasters rasters;
  use_raster_boxes(session, rasters);
  auto& s = session.state;
  auto& host = session.host;

  bool ran = run_analysis(session, args, [&] {
    auto& f = s.f1;
    set_chart_width(session, width);
    if (args.has("--show-text")) f.shtxt.value = 1;
    if (args.has("--overview-only")) f.ovw.value = 1;
    if (args.has("--typ")) {
      loadtyp(s, host, args.value("--typ"));
      f.label2.value = 1;
    }
  });
  if (!ran) return 1;
  print_rows(session, io.out);
  print_missing(s, io.out);

  return write_chart_image(session, out) ? 0 : 1;
}

}  // namespace zw::cli
