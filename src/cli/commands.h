#pragma once
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "app/style_check.h"
#include "analysis/style_diff.h"
#include "cli/args.h"
#include "chart/image_export.h"
#include "cli/session.h"
#include "platform/raster.h"

namespace zw::cli {

struct Io {
  std::ostream& out;
  std::ostream& err;
  std::string app_dir;  // the folder of the program file
};

struct Command {
  const char* name;
  const char* usage;  // the command's usage lines
  int (*run)(const std::vector<std::string>& words, Io& io);
  const char* details = "";  // what COMMAND --help adds to the usage lines
};

// Every command, in the order the usage lists them.
const std::vector<Command>& commands();

// Options that every command takes.
std::vector<OptionSpec> common_options();
// Questions are answered Yes with --yes, otherwise No.
void answer_questions(Session& session, const Args& args);
// A session started with the common options (--system-dir, --yes).
void start_session(Session& session, const Args& args);

// The kind index of a --kind value; a usage error for any other.
int kind_index(const std::string& kind);

// The options of the analysis, shared by analyse and chart.
std::vector<OptionSpec> analysis_options();
// Selects the style, clicks the kind, sets the boxes and runs the analysis
// command (and the scale-label click); true when the analysis read the style.
// before_start runs once the arguments are found sound, before anything else
// (the questions are answered as --yes says); false from it stops the run.
// before_check runs just before the analysis command, once the boxes are set.
bool run_analysis(Session& session, const Args& args,
                  const std::function<bool()>& before_start = {},
                  const std::function<void()>& before_check = {});
// Prints rows, lowest and one line per result row.
void print_rows(const Session& session, std::ostream& out);

// The picture boxes of a command that writes an image, on the platform's
// raster surfaces, drawn at 96 dots per inch, as on a common screen.
struct ChartRasters {
  ChartRasters();
  std::unique_ptr<Surface> p1, p2, p3, p4;
};
// Puts the rasters behind the session's picture boxes; the image's date is today.
void use_raster_boxes(Session& session, ChartRasters& rasters);
// Sizes the window for a chart pane `width` twips wide and gives the canvas the
// chart font.
void set_chart_width(Session& session, int width);
// Refuses ("Format not supported") a name that is neither BMP nor PNG.
bool image_name_accepted(Session& session, const std::string& path);
// Composes the image (the scale strip above the canvas) and writes it as the
// chart command does (a canvas held in bands drawn again by bands, the chart
// of the analysis when not given); true when the file was written.
bool write_chart_image(Session& session, const std::string& path, const BandDrawing& bands = {});

// Selects the style; false, after the level reader's message, when it has no
// levels to place its rules on or its options could not be read.
inline bool open_session(Session& session, const std::string& style_dir) {
  return open_style(session.state, session.host, style_dir);
}

int run_analyse(const std::vector<std::string>& words, Io& io);
int run_levels(const std::vector<std::string>& words, Io& io);
int run_chart(const std::vector<std::string>& words, Io& io);
int run_typ(const std::vector<std::string>& words, Io& io);
int run_convert(const std::vector<std::string>& words, Io& io);
int run_diff(const std::vector<std::string>& words, Io& io);
int run_check(const std::vector<std::string>& words, Io& io);
int run_trace(const std::vector<std::string>& words, Io& io);

// The whole CLI: returns the exit status.
int run(const std::vector<std::string>& argv, Io& io);

}  // namespace zw::cli
