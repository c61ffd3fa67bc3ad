#include "model/caption_and_canvas.h"

#include "base/failure.h"

namespace zw {

void cap(AppState& s) {
  s.f1.caption = "Zoomwright " + s.app_version + " " + s.style_name;
}

void msg(AppState& s, Host& host, const std::string& text) {
  host.canvas_text(text);
  attempt_quietly([&] {
    auto& canvas = s.f1.p1.draw();
    canvas.move_to(1000, 1000);
    canvas.print(text, true);
  });
}

void clearpic(AppState& s, Host&) {
  attempt_quietly([&] { s.f1.p1.draw().clear(s.f1.p1.back); });
  attempt_quietly([&] { s.f1.p3.draw().clear(s.f1.p3.back); });
}

}  // namespace zw
