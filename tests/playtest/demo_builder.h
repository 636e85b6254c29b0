// A hand-written demo put together item by item: presses and holds at frame numbers in any order, written
// out in frame order (the recording format wants numbers that never go down).
#pragma once
#include <map>
#include <string>

namespace test_support
{
class Demo_Builder
{
  public:
    // A header line (written after "kestrova-demo 1", in the order given).
    Demo_Builder& Header(const std::string& line)
    {
        m_header += line + "\n";
        return *this;
    }
    // An item (`+w`, `-return`, `# a comment` ...) in frame `frame`.
    Demo_Builder& At(int frame, const std::string& item)
    {
        m_items.emplace(frame, item);
        return *this;
    }
    // The key held from `from` up to (not including) `to`.
    Demo_Builder& Hold(const std::string& key, int from, int to)
    {
        return At(from, "+" + key).At(to, "-" + key);
    }
    // Starts a game from the main menu: one player with Return on the first item in frame 30, two players
    // in frame 40 with the cursor moved down to the second first.
    Demo_Builder& Start_Game(int players = 1)
    {
        if (players == 1)
            return Hold("return", 30, 32);
        return Hold("s", 30, 36).Hold("return", 40, 42);
    }
    std::string Text(int end_frame) const
    {
        std::string text = "kestrova-demo 1\n" + m_header;
        for (const auto& [frame, item] : m_items)
            text += std::to_string(frame) + " " + item + "\n";
        return text + std::to_string(end_frame) + " end\n";
    }

  private:
    std::string m_header;
    std::multimap<int, std::string> m_items; // equal frames keep the order they were given in
};
} // namespace test_support
