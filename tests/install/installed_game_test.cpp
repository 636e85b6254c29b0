// cmake --install into a scratch prefix: the layout a desktop expects, and the installed game, whose folder
// is read-only, keeping everything it writes in the player's folder across runs.
#include "player_run.h"
#include "support/private_display.h"
#include "support/requirements.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

namespace fs = std::filesystem;
using test_support::Files_Under;
using test_support::Read_File;
using test_support::Shell;

namespace
{
const fs::path k_game = "lib/kestrova-reboot";
const std::string k_log_end = "extra life"; // the last line of the game's start-up names the last sound

// A scratch prefix with the build installed into it, its game folder read-only while the test runs.
class InstalledGameTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        std::string output;
        ASSERT_TRUE(Shell(std::string("'") + VORTA5_CMAKE + "' --install '" + VORTA5_BUILD_DIR +
                              "' --prefix '" + prefix.string() + "'",
                          &output))
            << output;
        // The scratch folder is the player's way in (as /usr is).
        fs::permissions(scratch.Path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                            fs::perms::others_read | fs::perms::others_exec);
        test_support::Set_Read_Only(prefix / k_game, true);
    }
    void TearDown() override { test_support::Set_Read_Only(prefix / k_game, false); }

    test_support::Scratch_Folder scratch;
    fs::path prefix = scratch.Path() / "prefix";
    fs::path home = scratch.Path() / "home";
};

TEST_F(InstalledGameTest, LaysOutTheProgramItsCommandDesktopEntryMetainfoAndIcons)
{
    EXPECT_TRUE(fs::is_regular_file(prefix / k_game / "kestrova"));
    EXPECT_TRUE(fs::is_regular_file(prefix / k_game / "config.txt"));
    EXPECT_TRUE(fs::is_regular_file(prefix / k_game / "data/levels.txt") ||
                fs::is_regular_file(prefix / k_game / "data.7z"));
    // The command is a relative link, so the prefix can move (DESTDIR, packages).
    ASSERT_TRUE(fs::is_symlink(prefix / "bin/kestrova"));
    EXPECT_EQ(fs::read_symlink(prefix / "bin/kestrova"), "../lib/kestrova-reboot/kestrova");
    EXPECT_EQ(fs::canonical(prefix / "bin/kestrova"), fs::canonical(prefix / k_game / "kestrova"));

    const std::string id = KESTROVA_APP_ID;
    std::string desktop = Read_File((prefix / "share/applications" / (id + ".desktop")).string());
    EXPECT_NE(desktop.find("\nExec=kestrova\n"), std::string::npos) << desktop;
    EXPECT_NE(desktop.find("\nIcon=" + id + "\n"), std::string::npos) << desktop;
    std::string output;
    EXPECT_TRUE(
        Shell("desktop-file-validate '" + (prefix / "share/applications" / (id + ".desktop")).string() + "'",
              &output))
        << output;
    fs::path metainfo = prefix / "share/metainfo" / (id + ".metainfo.xml");
    EXPECT_NE(Read_File(metainfo.string()).find("<release version=\"" KESTROVA_VERSION "\""),
              std::string::npos);
    EXPECT_TRUE(Shell("appstreamcli validate --no-net --strict '" + metainfo.string() + "'", &output))
        << output;

    for (int size : {48, 128, 256})
    {
        const std::string dim = std::to_string(size) + "x" + std::to_string(size);
        fs::path icon = prefix / "share/icons/hicolor" / dim / "apps" / (id + ".png");
        ASSERT_TRUE(fs::is_regular_file(icon)) << icon;
        EXPECT_TRUE(Shell("identify -format '%wx%h' '" + icon.string() + "' | grep -qx " + dim, &output))
            << icon << output;
    }
}

TEST_F(InstalledGameTest, WritesOnlyIntoThePlayersFolderAndReadsItBackOnTheNextRun)
{
    test_support::Private_Display display(1280, 800);
    if (!display.Ready() || !test_support::Have_Program("xdotool"))
        VORTA5_SKIP() << "needs Xvfb and xdotool";
    const std::vector<std::string> installed = Files_Under(prefix);
    const fs::path program = prefix / "bin/kestrova";
    const fs::path folder = home / ".local/share/kestrova-reboot";

    // First run: the folder is made, the log starts there, the settings and hiscores are written at exit.
    {
        test_support::Player_Run player(home, display.Name());
        ASSERT_TRUE(player.Start(program.string()));
        ASSERT_TRUE(player.Wait_For_Text(folder / "sys_log.txt", k_log_end))
            << Read_File((folder / "sys_log.txt").string());
        player.Signal();
        EXPECT_EQ(player.Wait(), 0);
    }
    std::string log = Read_File((folder / "sys_log.txt").string());
    EXPECT_EQ(log.rfind("Vorta5 DX11 startup....\n", 0), 0u) << log;
    for (const char* name : {"config.txt", "hiscores easy.dat", "hiscores normal.dat"})
        EXPECT_TRUE(fs::is_regular_file(folder / name)) << name;
    EXPECT_EQ(fs::file_size(folder / "hiscores easy.dat"), 384u);
    EXPECT_EQ(Files_Under(prefix), installed); // nothing new beside the program
    for (const std::string& file : Files_Under(home))
        EXPECT_TRUE(file.rfind(".local/share/kestrova-reboot/", 0) == 0 || file.rfind(".cache/", 0) == 0)
            << file;

    // Second run: the player's settings (a size of their own) are the ones read, and written back; the log
    // holds only this run's lines.
    test_support::Write_File((folder / "config.txt").string(),
                             "device 0\r\ndisplay 0\r\nscreen_width 1024\r\nscreen_height 768\r\n"
                             "full_screen false\r\nvsync true\r\n");
    const std::string easy = Read_File((folder / "hiscores easy.dat").string());
    test_support::Write_File((folder / "sys_log.txt").string(), log + "left by the run before\n");
    {
        test_support::Player_Run player(home, display.Name());
        player.Hand_Over(folder);
        ASSERT_TRUE(player.Start(program.string()));
        ASSERT_TRUE(player.Wait_For_Text(folder / "sys_log.txt", k_log_end, "left by the run before"));
        player.Signal();
        EXPECT_EQ(player.Wait(), 0);
    }
    log = Read_File((folder / "sys_log.txt").string());
    EXPECT_EQ(log.find("Vorta5 DX11 startup....\n", 1), std::string::npos) << log;
    std::string config = Read_File((folder / "config.txt").string());
    EXPECT_NE(config.find("screen_width  1024"), std::string::npos) << config;
    EXPECT_NE(config.find("screen_height 768"), std::string::npos) << config;
    EXPECT_EQ(Read_File((folder / "hiscores easy.dat").string()), easy);
    EXPECT_EQ(Files_Under(prefix), installed);
}

TEST_F(InstalledGameTest, XdgDataHomeChoosesThePlayersFolder)
{
    test_support::Private_Display display(1280, 800);
    if (!display.Ready())
        VORTA5_SKIP() << "needs Xvfb";
    const fs::path data_home = home / "elsewhere";
    test_support::Player_Run player(home, display.Name());
    fs::create_directories(data_home);
    player.Hand_Over(data_home);
    ASSERT_TRUE(player.Start((prefix / "bin/kestrova").string(), data_home.string()));
    ASSERT_TRUE(player.Wait_For_Text(data_home / "kestrova-reboot/sys_log.txt", k_log_end));
    player.Signal();
    EXPECT_EQ(player.Wait(), 0);
    EXPECT_TRUE(fs::is_regular_file(data_home / "kestrova-reboot/config.txt"));
    EXPECT_FALSE(fs::exists(home / ".local/share/kestrova-reboot"));
}
} // namespace
