#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "common/message_texts.h"
#include "ui/ui_rules.h"

namespace kestul {
namespace {

TEST(ScaleForDpi, ClientSizesAtCommonDpis) {
  EXPECT_EQ(ScaleForDpi(380, 96), 380);
  EXPECT_EQ(ScaleForDpi(330, 96), 330);
  EXPECT_EQ(ScaleForDpi(380, 120), 475);
  EXPECT_EQ(ScaleForDpi(330, 120), 413);  // 412.5 rounds half up
  EXPECT_EQ(ScaleForDpi(380, 144), 570);
  EXPECT_EQ(ScaleForDpi(330, 144), 495);
  EXPECT_EQ(ScaleForDpi(380, 192), 760);
  EXPECT_EQ(ScaleForDpi(330, 192), 660);
  // No 32-bit overflow in the product.
  EXPECT_EQ(ScaleForDpi(2147483647, 192), 4294967294);
}

// With high contrast on, every colour is the user's: one of the program's own left in would be
// text the user may not be able to read.
TEST(ChoosePalette, HighContrastTakesEveryColourFromTheSystem) {
  const Palette system{.background = 1, .text = 2, .hint = 3, .editBackground = 4, .link = 5};
  EXPECT_EQ(ChoosePalette(true, system), system);
  const Palette own = ChoosePalette(false, system);
  EXPECT_EQ(own.background, 0xFAF8F7u) << "RGB(247, 248, 250)";
  EXPECT_EQ(own.link, 0xCC6600u) << "RGB(0, 102, 204)";
}

TEST(PositionText, SavedAndUnsavedForms) {
  EXPECT_EQ(PositionText(false, 1920, 540), L"未登録");
  EXPECT_EQ(PositionText(true, 1920, 540), L"X=1920 / Y=540");
  EXPECT_EQ(PositionText(true, -1280, -200), L"X=-1280 / Y=-200");
  EXPECT_EQ(PositionText(true, -2147483647 - 1, 0), L"X=-2147483648 / Y=0");
}

// The guide's message tables claim to be everything the program can say, word for word.
using Quote = std::pair<std::string, std::string>;  // caption, text

std::string Utf8(std::wstring_view text) {  // every text lies in the Basic Multilingual Plane
  std::string out;
  for (const wchar_t c : text) {
    const std::uint32_t u = std::char_traits<wchar_t>::to_int_type(c);
    if (u < 0x80) {
      out += static_cast<char>(u);
    } else if (u < 0x800) {
      out += {static_cast<char>(0xC0 | (u >> 6)), static_cast<char>(0x80 | (u & 0x3F))};
    } else {
      out += {static_cast<char>(0xE0 | (u >> 12)), static_cast<char>(0x80 | ((u >> 6) & 0x3F)),
              static_cast<char>(0x80 | (u & 0x3F))};
    }
  }
  return out;
}

// As the guide writes it: the failed keys as （キー名）, a line break as <br>.
std::string GuideForm(const ShownMessage& message) {
  std::wstring text = message.text;
  if (message.textAfterKeys != nullptr) text += std::wstring(L"（キー名）") + message.textAfterKeys;
  std::string out;
  for (const char c : Utf8(text)) out += c == '\n' ? std::string("<br>") : std::string(1, c);
  return out;
}

std::string Trimmed(const std::string& cell) {
  const std::size_t first = cell.find_first_not_of(' ');
  return first == std::string::npos ? std::string()
                                    : cell.substr(first, cell.find_last_not_of(' ') - first + 1);
}

// The first two cells of every table row under "## メッセージと対処", header rows aside.
std::set<Quote> QuotedInGuide(std::istream& guide) {
  std::set<Quote> quoted;
  bool inMessages = false;
  for (std::string line; std::getline(guide, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.starts_with("## ")) inMessages = line == "## メッセージと対処";
    if (!inMessages || !line.starts_with("| ")) continue;
    std::istringstream cells(line.substr(1));
    std::string caption, text;
    std::getline(cells, caption, '|');
    std::getline(cells, text, '|');
    if (Trimmed(caption) != "タイトル") quoted.emplace(Trimmed(caption), Trimmed(text));
  }
  return quoted;
}

TEST(UserGuide, QuotesEveryMessageTheProgramShowsAndNoOther) {
  std::ifstream guide(KESTUL_GUIDE_PATH, std::ios::binary);
  ASSERT_TRUE(guide) << KESTUL_GUIDE_PATH;
  const std::set<Quote> quoted = QuotedInGuide(guide);
  std::set<Quote> shown;
  for (const ShownMessage& message : kShownMessages) shown.emplace(Utf8(message.caption), GuideForm(message));
  for (const Quote& q : quoted) {
    EXPECT_TRUE(shown.contains(q)) << "the guide quotes what the program never shows: " << q.first << " | "
                                   << q.second;
  }
  for (const Quote& q : shown) {
    EXPECT_TRUE(quoted.contains(q)) << "the guide does not quote: " << q.first << " | " << q.second;
  }
}

}  // namespace
}  // namespace kestul
