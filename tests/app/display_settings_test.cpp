// Display settings: the resolution list from mode lists, the start-up choice from settings files (the
// fatal cases end the process with their box), "config.txt" written back, and the wide-screen rule.
#include "engine/core/config_list.h"
#include "game/app/app.h"
#include "game/app/display_settings.h"
#include "platform/gpu_adapter.h"
#include "support/test_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace
{
using Size = std::pair<int, int>;

std::vector<platform::Gpu_Display_Mode> Modes(const std::vector<Size>& sizes)
{
    std::vector<platform::Gpu_Display_Mode> modes;
    for (const Size& size : sizes)
    {
        platform::Gpu_Display_Mode mode;
        mode.width = static_cast<uint32_t>(size.first);
        mode.height = static_cast<uint32_t>(size.second);
        mode.refresh_numerator = 60;
        modes.push_back(mode);
    }
    return modes;
}

std::vector<Size> Entries(const Display_Settings& settings)
{
    std::vector<Size> out;
    for (const Resolution_Entry* e = settings.list; e; e = e->next)
        out.emplace_back(e->width, e->height);
    return out;
}

// A settings list read from text, the way "config.txt" is.
class Settings_File
{
  public:
    explicit Settings_File(const std::string& text)
    {
        test_support::Write_File(m_folder.File("config.txt"), text);
        Load_Config(list, m_folder.File("config.txt").c_str());
    }
    Config_List list;

  private:
    test_support::Scratch_Folder m_folder;
};

const std::vector<Size> k_desktop = {{640, 480},  {800, 600},  {1024, 768}, {1280, 720},  {1280, 1024},
                                     {1360, 768}, {1366, 768}, {1600, 900}, {1680, 1050}, {1920, 1080}};
} // namespace

TEST(ResolutionListTest, KeepsTheFirstModeOfEachRunOfEqualWidths)
{
    struct Case
    {
        std::vector<Size> modes;
        std::vector<Size> expected;
    } cases[] = {
        {{}, {}},
        {{{800, 600}, {1024, 768}}, {{800, 600}, {1024, 768}}},
        // several heights of one width in a row: only the first
        {{{1280, 720}, {1280, 800}, {1280, 1024}, {1366, 768}}, {{1280, 720}, {1366, 768}}},
        // the same width again after another one starts a new run
        {{{1280, 720}, {1360, 768}, {1280, 1024}}, {{1280, 720}, {1360, 768}, {1280, 1024}}},
        // several refresh rates of one size
        {{{1920, 1080}, {1920, 1080}, {1920, 1200}}, {{1920, 1080}}},
    };
    for (const Case& c : cases)
    {
        Display_Settings settings;
        const auto modes = Modes(c.modes);
        EXPECT_EQ(Build_Resolution_List(settings, modes.data(), static_cast<uint32_t>(modes.size())),
                  static_cast<int>(c.expected.size()));
        EXPECT_EQ(Entries(settings), c.expected);
        int index = 0;
        for (const Resolution_Entry* e = settings.list; e; e = e->next)
        {
            EXPECT_EQ(Size(modes[e->mode_index].width, modes[e->mode_index].height),
                      Size(e->width, e->height));
            EXPECT_GE(e->mode_index, index);
            index = e->mode_index;
        }
        const Resolution_Entry* last = Last_Resolution(settings);
        EXPECT_EQ(last ? Size(last->width, last->height) : Size(-1, -1),
                  c.expected.empty() ? Size(-1, -1) : c.expected.back());
    }
}

TEST(ResolutionChoiceTest, FromTheSettingsOrTheFirstKnownWideSize)
{
    struct Case
    {
        std::vector<Size> modes;
        const char* config;
        Size expected;
        bool full_screen;
    } cases[] = {
        {k_desktop, "screen_width 1280\nscreen_height 720\nfull_screen false\n", {1280, 720}, false},
        {k_desktop, "screen_width 1600 screen_height 900 full_screen true", {1600, 900}, true},
        {k_desktop, "auto_select_resolution true\n", {1920, 1080}, true},
        // no 1920 x 1080: the next size of the list, whatever the other keys say
        {{{1280, 720}, {1680, 1050}},
         "auto_select_resolution true\nscreen_width 1280\nscreen_height 720\nfull_screen false\n",
         {1680, 1050},
         true},
        // 1366 x 768 is not one of the sizes looked for; 1360 x 768 is
        {{{1366, 768}, {1360, 768}}, "auto_select_resolution 1\n", {1360, 768}, true},
        {{{720, 480}, {800, 600}}, "auto_select_resolution true\n", {720, 480}, true},
        // auto-selection switched off reads the three keys
        {k_desktop,
         "auto_select_resolution false\nscreen_width 800\nscreen_height 600\nfull_screen 0\n",
         {800, 600},
         false},
    };
    for (const Case& c : cases)
    {
        Display_Settings settings;
        const auto modes = Modes(c.modes);
        Build_Resolution_List(settings, modes.data(), static_cast<uint32_t>(modes.size()));
        Settings_File file(c.config);
        Choose_Resolution(settings, file.list);
        ASSERT_NE(settings.selected, nullptr) << c.config;
        EXPECT_EQ(Size(settings.selected->width, settings.selected->height), c.expected) << c.config;
        EXPECT_EQ(settings.full_screen, c.full_screen) << c.config;
    }
}

TEST(ResolutionChoiceDeathTest, EveryFailureEndsWithItsBox)
{
    struct Case
    {
        std::vector<Size> modes;
        const char* config;
        const char* box;
    } cases[] = {
        {{{1280, 720}},
         "screen_height 720\nfull_screen false\n",
         "Unable to find config parameter \"screen_width\""},
        {{{1280, 720}},
         "screen_width 1280\nfull_screen false\n",
         "Unable to find config parameter \"screen_height\""},
        {{{1280, 720}},
         "screen_width 1280\nscreen_height 720\n",
         "Unable to find config parameter \"full_screen\""},
        {{{1280, 720}}, "", "Unable to find config parameter \"screen_width\""},
        // 1280 only as 1280 x 720
        {{{1280, 720}, {1280, 1024}},
         "screen_width 1280\nscreen_height 1024\nfull_screen false\n",
         "Unable to find a resolution 1280 x 1024\r\n!!!"},
        {{{1024, 768}, {1366, 768}},
         "auto_select_resolution true\n",
         "Unable to find a suitable wide screen resolution!!!"},
    };
    for (const Case& c : cases)
    {
        EXPECT_EXIT(
            {
                Display_Settings settings;
                const auto modes = Modes(c.modes);
                Build_Resolution_List(settings, modes.data(), static_cast<uint32_t>(modes.size()));
                Settings_File file(c.config);
                Choose_Resolution(settings, file.list);
            },
            ::testing::ExitedWithCode(1), ::testing::HasSubstr(c.box))
            << c.config;
    }
}

TEST(SaveConfigTest, SixLinesThatReadBackAndNothingElse)
{
    test_support::Scratch_Folder folder;
    const std::string path = folder.File("config.txt");
    test_support::Write_File(path, "screen_width 640\nfps_meteor 16\nMSAA false\n");

    Display_Settings settings;
    const auto modes = Modes(k_desktop);
    Build_Resolution_List(settings, modes.data(), static_cast<uint32_t>(modes.size()));
    settings.device = 0;
    settings.display = 1;
    settings.vsync = true;
    settings.full_screen = false;
    settings.selected = Find_Resolution(settings, 1600, 900);
    ASSERT_TRUE(Save_Config(settings, path.c_str()));
    EXPECT_EQ(test_support::Read_File(path), "device        0\r\n"
                                             "display       1\r\n"
                                             "screen_width  1600\r\n"
                                             "screen_height 900\r\n"
                                             "full_screen   false\r\n"
                                             "vsync         true\r\n");
    EXPECT_FALSE(fs::exists(path + ".new"));

    Config_List list;
    ASSERT_TRUE(Load_Config(list, path.c_str()));
    Display_Settings again;
    Build_Resolution_List(again, modes.data(), static_cast<uint32_t>(modes.size()));
    Choose_Resolution(again, list);
    ASSERT_NE(again.selected, nullptr);
    EXPECT_EQ(again.selected->width, 1600);
    EXPECT_FALSE(again.full_screen);
    EXPECT_EQ(Find_Config(list, "fps_meteor"), nullptr) << "only the six keys are written back";

    // Nothing selected: nothing written. A folder that cannot take the file: false, the old file stays.
    settings.selected = nullptr;
    EXPECT_FALSE(Save_Config(settings, path.c_str()));
    settings.selected = settings.list;
    EXPECT_FALSE(Save_Config(settings, folder.File("no such folder/config.txt").c_str()));
}

TEST(WideScreenTest, RatioOf1Point7OrMore)
{
    EXPECT_FALSE(Is_Wide_Screen(1280, 1024));
    EXPECT_FALSE(Is_Wide_Screen(1680, 1050));
    EXPECT_TRUE(Is_Wide_Screen(1920, 1080));
    EXPECT_TRUE(Is_Wide_Screen(1360, 768));
    EXPECT_TRUE(Is_Wide_Screen(1280, 720));
    EXPECT_FALSE(Is_Wide_Screen(1024, 768));
}
