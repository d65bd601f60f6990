// UTF-8 inside the program, UTF-16 at the system's interfaces.
#pragma once

#include <string>
#include <string_view>

namespace ui {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

}  // namespace ui
