// Hand cursor artwork ('#' outline, '.' fill, ' ' clear) and the table the controls look it up in.
#include "widgets/HandCursors.h"

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace widgets {

namespace {

struct Art {
  std::string_view name;
  int number;
  int hotX, hotY;
  std::vector<std::string_view> rows;
  // Another cursor drawn first, at (underX, underY), with these rows on top.
  std::string_view under = {};
  int underX = 0, underY = 0;
};

// One row of pixels per line.
// clang-format off
const std::array<Art, 5>& arts() {
  static const std::array<Art, 5> table = {{
      {"FX_HANDPOINT", crHandPoint, 5, 0, {
          "     ##           ",
          "    #..#          ",
          "    #..#          ",
          "    #..#          ",
          "    #..#          ",
          "    #..###        ",
          "    #..#..###     ",
          "    #..#..#..##   ",
          "    #..#..#..#.#  ",
          " ## #..#..#..#..# ",
          "#..##..........#  ",
          "#...#..........#  ",
          " #..#..........#  ",
          "  #............#  ",
          "  #...........#   ",
          "   #..........#   ",
          "   #.........#    ",
          "    #........#    ",
          "    #........#    ",
          "    ##########    ",
      }},
      {"FX_SMALLHANDPOINT", crSmallHandPoint, 3, 0, {
          "   #       ",
          "  #.#      ",
          "  #.#      ",
          "  #.###    ",
          "  #.#.###  ",
          "##..#.#.#  ",
          "#.#......# ",
          " #.......# ",
          "  #......# ",
          "  #.....#  ",
          "   #....#  ",
          "   ######  ",
      }},
      {"FX_GRABHAND", crGrabHand, 8, 8, {
          "       ##         ",
          "   ## #..###      ",
          "  #..##..#..#     ",
          "  #..##..#..# #   ",
          "   #..#..#..##.#  ",
          "   #..#..#..#..#  ",
          " ## #..#.#..#..#  ",
          "#..##........#.#  ",
          "#...#..........#  ",
          " #..#..........#  ",
          "  #............#  ",
          "  #...........#   ",
          "   #..........#   ",
          "   #.........#    ",
          "    #........#    ",
          "    #........#    ",
          "    ##########    ",
      }},
      // The open hand with an arrow at its top left.
      {"FX_GRABHANDARROW", crGrabHandArrow, 0, 0, {
          "#     ",
          "##    ",
          "#.#   ",
          "#..#  ",
          "#...# ",
          "#....#",
          "#..###",
          "#.#   ",
          "##    ",
          "#     ",
      }, "FX_GRABHAND", 5, 3},
      {"FX_DRAGHAND", crDragHand, 8, 6, {
          "                 ",
          "    ## ## ##     ",
          "   #..#..#..##   ",
          "   #..#..#..#.#  ",
          " ###........#.#  ",
          "#..#..........#  ",
          "#.............#  ",
          " #............#  ",
          "  #...........#  ",
          "   #..........#  ",
          "   #.........#   ",
          "    #........#   ",
          "    #........#   ",
          "    ##########   ",
      }},
  }};
  return table;
}
// clang-format on

const Art& artNamed(std::string_view name) {
  for (const Art& art : arts())
    if (art.name == name) return art;
  throw std::out_of_range("no cursor " + std::string(name));
}

RgbaImage render(const Art& art) {
  RgbaImage under = art.under.empty() ? RgbaImage() : render(artNamed(art.under));
  int width = under.empty() ? 0 : art.underX + under.width();
  for (std::string_view row : art.rows) width = std::max(width, static_cast<int>(row.size()));
  int height =
      std::max(static_cast<int>(art.rows.size()), under.empty() ? 0 : art.underY + under.height());
  RgbaImage image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.setTransparent(x, y);
  for (int y = 0; y < under.height(); ++y)
    for (int x = 0; x < under.width(); ++x)
      if (!under.transparentAt(x, y)) {
        Rgb p = under.pixel(x, y);
        image.setPixel(art.underX + x, art.underY + y, rgbColor(p.r, p.g, p.b));
      }
  for (int y = 0; y < static_cast<int>(art.rows.size()); ++y) {
    std::string_view row = art.rows[y];
    for (int x = 0; x < static_cast<int>(row.size()); ++x) {
      if (row[x] == '#') image.setPixel(x, y, clBlack);
      if (row[x] == '.') image.setPixel(x, y, clWhite);
    }
  }
  return image;
}

struct Installed {
  RgbaImage pixels;  // owns the data that the back end's image may point into
  std::shared_ptr<const ui::NativeCursorImage> image;
  CursorEntry entry;
};

std::map<int, Installed>& cursorTable() {
  static std::map<int, Installed> table;
  return table;
}

}  // namespace

CursorArt handCursorArt(std::string_view name) {
  const Art& art = artNamed(name);
  return CursorArt{render(art), art.hotX, art.hotY};
}

void installHandCursors() {
  std::map<int, Installed>& table = cursorTable();
  for (const Art& art : arts()) {
    if (table.count(art.number) != 0) continue;
    Installed& slot = table[art.number];
    slot.pixels = render(art);
    slot.image = makeCursor(slot.pixels, art.hotX, art.hotY);
    slot.entry = CursorEntry{slot.image.get(), art.hotX, art.hotY};
  }
}

const CursorEntry* findCursor(int number) {
  auto found = cursorTable().find(number);
  return found == cursorTable().end() ? nullptr : &found->second.entry;
}

}  // namespace widgets
