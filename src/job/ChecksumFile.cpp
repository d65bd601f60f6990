// Writing and reading sha256sum's line format.
#include "job/ChecksumFile.h"

#include <algorithm>
#include <cctype>

namespace job {

std::string checksumLine(const platform::Sha256Digest& digest, const std::string& name) {
  const bool escape = name.find_first_of("\\\n") != std::string::npos;
  std::string line = escape ? "\\" : "";
  line += platform::toHex(digest) + "  ";
  for (char c : name) {
    if (escape && c == '\\')
      line += "\\\\";
    else if (escape && c == '\n')
      line += "\\n";
    else
      line += c;
  }
  return line + "\n";
}

namespace {

bool unescape(const std::string& in, std::string& out) {
  out.clear();
  for (std::size_t i = 0; i < in.size(); ++i) {
    if (in[i] != '\\') {
      out += in[i];
      continue;
    }
    if (++i == in.size()) return false;
    if (in[i] == '\\')
      out += '\\';
    else if (in[i] == 'n')
      out += '\n';
    else
      return false;
  }
  return true;
}

}  // namespace

std::map<std::string, std::string> parseChecksumFile(const std::string& text) {
  std::map<std::string, std::string> sums;
  constexpr std::size_t kHexDigits = 64;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const bool escaped = !line.empty() && line[0] == '\\';
    if (escaped) line.erase(0, 1);
    // "<hex>  <name>" for text mode, "<hex> *<name>" for binary mode: both name the same bytes.
    if (line.size() < kHexDigits + 3 || line[kHexDigits] != ' ' ||
        (line[kHexDigits + 1] != ' ' && line[kHexDigits + 1] != '*'))
      continue;
    std::string hex = line.substr(0, kHexDigits);
    if (!std::all_of(hex.begin(), hex.end(), [](unsigned char c) { return std::isxdigit(c); }))
      continue;
    std::transform(hex.begin(), hex.end(), hex.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    std::string name = line.substr(kHexDigits + 2);
    if (escaped && !unescape(std::string(name), name)) continue;
    sums[name] = hex;
  }
  return sums;
}

}  // namespace job
