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

// The picture boxes are drawn at 96 dots per inch, as on a common screen.
constexpr double batch_twips_per_pixel = 15;
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
  Format format = format_of(out);
  if (format == Format::refused) {
    session.host.message("Format not supported");
    return 1;
  }

  raster::prepare();
  auto p1 = raster::make_surface(batch_twips_per_pixel);
  auto p2 = raster::make_surface(batch_twips_per_pixel);
  auto p3 = raster::make_surface(batch_twips_per_pixel);
  auto p4 = raster::make_surface(batch_twips_per_pixel);
  session.attach(*p1, *p2, *p3, *p4);
  auto& s = session.state;
  auto& host = session.host;
  host.date = local_date();

  bool ran = run_analysis(session, args, [&] {
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

  bool written = format == Format::bmp ? save_image(s, host, out) : write_png_image(session, out);
  return written ? 0 : 1;
}

}  // namespace zw::cli
