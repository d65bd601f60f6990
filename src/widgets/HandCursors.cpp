// Hand cursor artwork ('#' outline, '.' fill, ' ' clear) and the table the controls look it up in.
#include "widgets/HandCursors.h"

#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Window.H>

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
      {"FX_GRABHANDARROW", crGrabHandArrow, 0, 0, {
          "#                      ",
          "##                     ",
          "#.#                    ",
          "#..#        ##         ",
          "#...#   ## #..###      ",
          "#....# #..##..#..#     ",
          "#..### #..##..#..# #   ",
          "#.#     #..#..#..##.#  ",
          "##      #..#..#..#..#  ",
          "#     ## #..#.#..#..#  ",
          "     #..##........#.#  ",
          "     #...#..........#  ",
          "      #..#..........#  ",
          "       #............#  ",
          "       #...........#   ",
          "        #..........#   ",
          "        #.........#    ",
          "         #........#    ",
          "         #........#    ",
          "         ##########    ",
      }},
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
  int width = 0;
  for (std::string_view row : art.rows) width = std::max(width, static_cast<int>(row.size()));
  RgbaImage image(width, static_cast<int>(art.rows.size()));
  for (int y = 0; y < image.height(); ++y) {
    std::string_view row = art.rows[y];
    for (int x = 0; x < width; ++x) {
      char c = x < static_cast<int>(row.size()) ? row[x] : ' ';
      if (c == '#')
        image.setPixel(x, y, clBlack);
      else if (c == '.')
        image.setPixel(x, y, clWhite);
      else
        image.setTransparent(x, y);
    }
  }
  return image;
}

struct Installed {
  RgbaImage pixels;  // owns the data that the FLTK image points into
  std::unique_ptr<Fl_RGB_Image> image;
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
    slot.image = std::make_unique<Fl_RGB_Image>(slot.pixels.data(), slot.pixels.width(),
                                                slot.pixels.height(), 4);
    slot.entry = CursorEntry{slot.image.get(), art.hotX, art.hotY};
  }
}

const CursorEntry* findCursor(int number) {
  auto found = cursorTable().find(number);
  return found == cursorTable().end() ? nullptr : &found->second.entry;
}

void showCursor(Fl_Window* window, int number) {
  if (window == nullptr) return;
  const CursorEntry* entry = findCursor(number);
  if (entry == nullptr)
    window->cursor(FL_CURSOR_DEFAULT);
  else
    window->cursor(entry->image, entry->hotX, entry->hotY);
}

}  // namespace widgets
