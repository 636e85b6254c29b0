// The packages CPack makes: the .deb's control fields and file list, the .deb installed into and removed from
// a scratch root with dpkg (the installed game started from there), and the .tar.gz's layout.
#include "player_run.h"
#include "support/private_display.h"
#include "support/requirements.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;
using test_support::Shell;

namespace
{
bool Has(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

TEST(PackageTest, DebAndTarballHoldTheInstalledGameAndTheDebInstallsAndRemovesCleanly)
{
    const bool root_user = geteuid() == 0;
    if (!test_support::Have_Program("dpkg-deb") || !test_support::Have_Program("dpkg-shlibdeps") ||
        !(root_user || test_support::Have_Program("fakeroot")))
        VORTA5_SKIP() << "needs dpkg-deb, dpkg-shlibdeps (dpkg-dev) and, when not root, fakeroot";
    test_support::Private_Display display(1280, 800);
    if (!display.Ready())
        VORTA5_SKIP() << "needs Xvfb";
    test_support::Scratch_Folder scratch;
    fs::permissions(scratch.Path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                        fs::perms::others_read | fs::perms::others_exec);
    std::string output;
    ASSERT_TRUE(Shell("cd '" + scratch.Path().string() +
                          "' && '" VORTA5_CPACK "' -G 'DEB;TGZ' -B packages --config '" + VORTA5_BUILD_DIR +
                          "/CPackConfig.cmake'",
                      &output))
        << output;
    fs::path deb, tarball;
    for (const fs::directory_entry& entry : fs::directory_iterator(scratch.Path() / "packages"))
    {
        if (entry.path().extension() == ".deb")
            deb = entry.path();
        if (entry.path().string().ends_with(".tar.gz"))
            tarball = entry.path();
    }
    ASSERT_FALSE(deb.empty()) << output;
    ASSERT_FALSE(tarball.empty()) << output;
    EXPECT_EQ(deb.filename().string().rfind("kestrova-reboot_" KESTROVA_VERSION "_", 0), 0u) << deb;

    // Control fields.
    ASSERT_TRUE(Shell("dpkg-deb -f '" + deb.string() + "'", &output)) << output;
    for (const char* field :
         {"Package: kestrova-reboot\n", "Version: " KESTROVA_VERSION "\n", "Section: games\n",
          "Priority: optional\n", "Maintainer: ", "Description: ", "libsdl2-2.0-0", "libopenal1",
          "libarchive13", "libvorbisfile3", "libepoxy0", "libgl1"})
        EXPECT_TRUE(Has(output, field)) << field << "\n" << output;

    // File list: the command as a relative link, the program, its data, the desktop and AppStream entries.
    const std::string id = KESTROVA_APP_ID;
    ASSERT_TRUE(Shell("dpkg-deb -c '" + deb.string() + "'", &output)) << output;
    for (const std::string& file :
         {std::string("./usr/bin/kestrova -> ../lib/kestrova-reboot/kestrova\n"),
          std::string("./usr/lib/kestrova-reboot/kestrova\n"),
          std::string("./usr/lib/kestrova-reboot/config.txt\n"),
          "./usr/share/applications/" + id + ".desktop\n", "./usr/share/metainfo/" + id + ".metainfo.xml\n"})
        EXPECT_TRUE(Has(output, file)) << file << output;
    EXPECT_TRUE(Has(output, "./usr/lib/kestrova-reboot/data/levels.txt\n") ||
                Has(output, "./usr/lib/kestrova-reboot/data.7z\n"))
        << output;
    for (const char* size : {"48x48", "128x128", "256x256"})
        EXPECT_TRUE(Has(output, std::string("./usr/share/icons/hicolor/") + size + "/apps/" + id + ".png\n"))
            << size;

    // The tarball unpacks into one folder with the same layout under it.
    ASSERT_TRUE(Shell("tar -tzvf '" + tarball.string() + "'", &output)) << output;
    EXPECT_TRUE(Has(output, "/bin/kestrova -> ../lib/kestrova-reboot/kestrova\n")) << output;
    EXPECT_TRUE(Has(output, "/lib/kestrova-reboot/kestrova\n")) << output;

    // Installed into a root of its own with dpkg (under fakeroot when not root), started from there as a
    // player, and removed again.
    const fs::path root = scratch.Path() / "root";
    for (const char* folder : {"var/lib/dpkg/info", "var/lib/dpkg/updates", "var/lib/dpkg/triggers"})
        fs::create_directories(root / folder);
    test_support::Write_File((root / "var/lib/dpkg/status").string(), "");
    const std::string dpkg = std::string(root_user ? "" : "fakeroot ") + "dpkg --root='" + root.string() +
                             "' --force-depends --force-script-chrootless ";
    ASSERT_TRUE(Shell(dpkg + "-i '" + deb.string() + "'", &output)) << output;
    ASSERT_TRUE(Shell(dpkg + "-L kestrova-reboot", &output)) << output;
    EXPECT_TRUE(Has(output, "/usr/bin/kestrova\n")) << output;
    EXPECT_TRUE(fs::is_regular_file(root / "usr/lib/kestrova-reboot/kestrova"));

    {
        const fs::path game = root / "usr/lib/kestrova-reboot", home = scratch.Path() / "home";
        test_support::Set_Read_Only(game, true); // for a player who is not root it is so already
        test_support::Player_Run player(home, display.Name());
        ASSERT_TRUE(player.Start((root / "usr/bin/kestrova").string()));
        EXPECT_TRUE(player.Wait_For_Text(home / ".local/share/kestrova-reboot/sys_log.txt", "Init Ok...\n"));
        player.Signal();
        EXPECT_EQ(player.Wait(), 0);
        test_support::Set_Read_Only(game, false);
    }

    ASSERT_TRUE(Shell(dpkg + "-r kestrova-reboot", &output)) << output;
    EXPECT_EQ(test_support::Files_Under(root / "usr"), std::vector<std::string>());
    EXPECT_FALSE(fs::exists(root / "usr/lib/kestrova-reboot"));
}
} // namespace
