#include <optional>
#include <ostream>

#include "chart/image_export.h"
#include "base/numbers.h"
#include "base/text.h"
#include "chart/chart.h"
#include "cli/commands.h"
#include "platform/raster.h"
#include "typ/typ_reader.h"

namespace zw::cli {
namespace {

constexpr int default_width = 15000;

void print_missing(const AppState& s, std::ostream& out) {
  for (const auto& key : text::split(s.f1.Text3.text, "\r\n"))
    if (!key.empty()) out << "missing\t" << escape_field(key) << "\n";
}

}  // namespace

bool image_name_accepted(Session& session, const std::string& path) {
  if (image_target(path, ImageNames::bmp_or_png)) return true;
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

bool write_chart_image(Session& session, const std::string& path, const BandDrawing& bands) {
  return save_image(session.state, session.host, path, ImageNames::bmp_or_png, bands);
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
  ChartRasters rasters;
  use_raster_boxes(session, rasters);
  auto& s = session.state;
  auto& host = session.host;

  // An image that will be refused is refused before anything is drawn.
  std::optional<ImageTarget> target;
  auto refuse_early = [&] {
    target = choose_image_target(host, out, ImageNames::bmp_or_png);
    return target.has_value();
  };
  bool ran = run_analysis(session, args, refuse_early, [&] {
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

  bool written = write_image(s, host, *target);
  return written && host.unread_files == 0 ? 0 : 1;
}

}  // namespace zw::cli
