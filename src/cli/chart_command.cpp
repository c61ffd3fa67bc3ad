#include <optional>
#include <ostream>

#include "app/image_export.h"
#include "app/numbers.h"
#include "app/text.h"
#include "chart/chart.h"
#include "cli/commands.h"
#include "platform/qt/raster_app.h"
#include "platform/qt/raster_surface.h"
#include "typ/typ_reader.h"

namespace zw::cli {
namespace {

// The picture boxes are drawn at 96 dots per inch, as on a common screen.
constexpr double batch_twips_per_pixel = 15;
constexpr int default_width = 15000;

void print_missing(const AppState& s, std::ostream& out) {
  for (const auto& key : text::split(s.f1.Text3.text, "\r\n"))
    if (!key.empty()) out << "missing\t" << escape_field(key) << "\n";
}

}  // namespace

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
  qt::ensure_app();
  qt::RasterSurface p1(batch_twips_per_pixel), p2(batch_twips_per_pixel),
      p3(batch_twips_per_pixel), p4(batch_twips_per_pixel);
  session.attach(p1, p2, p3, p4);
  auto& s = session.state;
  auto& host = session.host;
  host.date = local_date();

  // An image that will be refused is refused before anything is drawn.
  std::optional<ImageTarget> target;
  auto refuse_early = [&] {
    target = choose_image_target(host, out, ImageNames::bmp_or_png);
    return target.has_value();
  };
  bool ran = run_analysis(session, args, refuse_early, [&] {
    auto& f = s.f1;
    // The window whose chart pane is the given width inside its frame.
    int frame = static_cast<int>(num::round_half_even(
        host.twips_per_pixel() * host.sizing_border_pixels(), 0, 1000000));
    f.width = width + 2 * frame;
    if (!s.chart_font_name.empty()) f.p1.draw().set_font(s.chart_font_name, s.chart_font_size);
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

  return write_image(s, host, *target) ? 0 : 1;
}

}  // namespace zw::cli
