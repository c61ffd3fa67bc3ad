#include "support/style_forms.h"

namespace zw::test {

void write_form_styles(const TempDir& dir) {
  const std::string forms = "styles/forms/", shared = "styles/shared/", cycle = "styles/cycle/";
  dir.write(shared + "options",
            "# the levels of every style here\nlevels = 0:24, 1:22, 2:20, 3:18\n");
  dir.write(forms + "options", "include '../shared/options';\n");
  dir.write(forms + "version", "1\n");
  dir.write(forms + "lines",
            "\xEF\xBB\xBFinclude 'inc/roads';\r\n"
            "include \"inc/paths\";\r\n"
            "include beside;\r\n"
            "include '../shared/common';\r\n"
            "\tnatural=coastline & admin_level = 2 [0x15 resolution  21]\r\n"
            "\twaterway=river [0x1f resolution\t23]\r\n"
            "boundary=administrative & admin_level = 2 [0x1c level 3-0]\r\n");
  dir.write(forms + "inc/roads", "waterway=canal [0x1f resolution 23]\ninclude 'inc/nest1';\n");
  dir.write(forms + "inc/nest1", "include 'inc/nest2';\nwaterway=drain [0x18 resolution 21]\n");
  dir.write(forms + "inc/nest2", "include 'inc/nest3';\nwaterway=ditch [0x18 resolution 19]\n");
  dir.write(forms + "inc/nest3", "power=line [0x29 resolution 20-23]\n");
  dir.write(forms + "inc/paths", "man_made=pier [0x1d resolution 19-23]\n");
  dir.write(forms + "beside", "railway=abandoned [0x1d level 1]\n");
  dir.write(shared + "common", "natural=cliff [0x1e resolution 22]\ninclude 'inc/from_shared';\n");
  dir.write(forms + "inc/from_shared", "aerialway=cable_car [0x29 resolution 24]\n");
  dir.write(forms + "relations",
            "type=route & route=ferry { set mkgmap:ferry=yes }\ninclude 'inc/rel_x';\n");
  dir.write(forms + "inc/rel_x", "type=multipolygon { set mkgmap:mp=yes }\n");
  dir.write(forms + "polygons", "natural=water [0x3c resolution 21]\n");
  dir.write(forms + "points", "place=city [0x0400 resolution 23]\n");

  dir.write(cycle + "options", "levels = 0:24, 1:22, 2:20\n");
  dir.write(cycle + "lines",
            "include 'inc/a';\ninclude 'inc/b';\nroute=ferry [0x1b resolution 24]\n");
  dir.write(cycle + "inc/a",
            "include 'inc/b';\ninclude 'inc/a';\nwaterway=canal [0x1f resolution 22]\n");
  dir.write(cycle + "inc/b",
            "include 'inc/a';\ninclude 'inc/../lines';\nwaterway=drain [0x18 resolution 20]\n");
}

std::vector<std::string> form_rows() {
  // The rule file, then its included files breadth first: a) inc/roads,
  // b) inc/paths, c) beside, d) ../shared/common, e) inc/nest1,
  // f) inc/from_shared, g) inc/nest2, h) inc/nest3.
  return {"5 21 24 - 15",   "6 23 24 - 1F",   "7 18 24 - 1C",   "a)1 23 24 - 1F",
          "b)1 19 23 - 1D", "c)1 22 24 - 1D", "d)1 22 24 - 1E", "e)2 21 24 - 18",
          "f)1 24 24 - 29", "g)2 19 24 - 18", "h)1 20 23 - 29"};
}

}  // namespace zw::test
