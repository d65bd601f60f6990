// The sixteen lamp images of TLED, drawn once on first use: a bevelled rim around a shaded body.
#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <stdexcept>
#include <string>

#include "widgets/Led.h"

namespace widgets {

namespace {

struct LampArt {
  std::string_view name;
  Rgb body;
  bool lit;
};

constexpr std::array<LampArt, 16> kLamps = {{
    {"LED_RED", {255, 0, 0}, true},
    {"LED_RED_DARK", {112, 0, 0}, false},
    {"LED_BLUE", {40, 40, 255}, true},
    {"LED_BLUE_DARK", {0, 0, 112}, false},
    {"LED_GREEN", {0, 235, 0}, true},
    {"LED_GREEN_DARK", {0, 96, 0}, false},
    {"LED_YELLOW", {255, 255, 0}, true},
    {"LED_YELLOW_DARK", {112, 112, 0}, false},
    {"LED_FUCHSIA", {255, 0, 255}, true},
    {"LED_FUCHSIA_DARK", {112, 0, 112}, false},
    {"LED_GREY", {192, 192, 192}, true},
    {"LED_BLACK", {32, 32, 32}, false},
    {"LED_AQUA", {0, 255, 255}, true},
    {"LED_AQUA_DARK", {0, 112, 112}, false},
    {"LED_WHITE", {255, 255, 255}, true},
    {"LED_GREY_DARK", {96, 96, 96}, false},
}};

constexpr std::array<std::array<std::string_view, 2>, 8> kNames = {{
    {"LED_RED", "LED_RED_DARK"},
    {"LED_BLUE", "LED_BLUE_DARK"},
    {"LED_GREEN", "LED_GREEN_DARK"},
    {"LED_YELLOW", "LED_YELLOW_DARK"},
    {"LED_FUCHSIA", "LED_FUCHSIA_DARK"},
    {"LED_GREY", "LED_BLACK"},
    {"LED_AQUA", "LED_AQUA_DARK"},
    {"LED_WHITE", "LED_GREY_DARK"},
}};

int scale(int channel, double factor) {
  return std::clamp(static_cast<int>(channel * factor), 0, 255);
}

int mix(int channel, int toward, double amount) {
  return static_cast<int>(channel + (toward - channel) * amount + 0.5);
}

// Eight shading steps, two rim colours and one glint keep each lamp within 16 colours.
RgbaImage drawLamp(const LampArt& art) {
  RgbaImage image(kLampSize, kLampSize);
  const double centre = (kLampSize - 1) / 2.0;
  for (int y = 0; y < kLampSize; ++y) {
    for (int x = 0; x < kLampSize; ++x) {
      double dx = x - centre, dy = y - centre;
      double distance = std::sqrt(dx * dx + dy * dy);
      if (distance > 7.4) {
        image.setTransparent(x, y);
      } else if (distance > 6.2) {
        // The rim is lit from the top left, so the lamp sits in a recess.
        image.setPixel(x, y, dx + dy < 0 ? rgbColor(96, 96, 96) : rgbColor(240, 240, 240));
      } else {
        double fromLight = std::hypot(x - 5.0, y - 5.0) / 9.0;
        double factor = std::round((1.0 - 0.5 * std::min(1.0, fromLight)) * 8.0) / 8.0;
        int r = scale(art.body.r, factor), g = scale(art.body.g, factor),
            b = scale(art.body.b, factor);
        if (std::hypot(x - 5.0, y - 4.5) < 1.6) {
          double glint = art.lit ? 0.75 : 0.3;
          r = mix(r, 255, glint), g = mix(g, 255, glint), b = mix(b, 255, glint);
        }
        image.setPixel(x, y, rgbColor(r, g, b));
      }
    }
  }
  return image;
}

}  // namespace

std::string_view lampImageName(TLEDColorType color, bool lit) {
  return kNames.at(static_cast<std::size_t>(color))[lit ? 0 : 1];
}

const RgbaImage& lampImage(std::string_view name) {
  static const std::map<std::string, RgbaImage, std::less<>> images = [] {
    std::map<std::string, RgbaImage, std::less<>> drawn;
    for (const LampArt& art : kLamps) drawn.emplace(std::string(art.name), drawLamp(art));
    return drawn;
  }();
  auto found = images.find(name);
  if (found == images.end()) throw std::out_of_range("no lamp image " + std::string(name));
  return found->second;
}

}  // namespace widgets
