// The command line: what each option takes, what is refused, and the program's answers to --help, to an
// unknown option and to a recording it cannot read.
#include "engine/core/run_settings.h"
#include "game/app/run_options.h"
#include "support/playtest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
bool Parse(std::vector<std::string> words, Run_Options& options, std::string& error)
{
    std::vector<const char*> argv{"kestrova"};
    for (const std::string& word : words)
        argv.push_back(word.c_str());
    return Parse_Run_Options(static_cast<int>(argv.size()), argv.data(), options, error);
}

TEST(RunOptionsTest, EachOptionTakesItsValue)
{
    Run_Options options;
    std::string error;
    ASSERT_TRUE(Parse({}, options, error)) << error;
    EXPECT_FALSE(options.Any());

    ASSERT_TRUE(Parse({"--replay", "/tmp/demo.txt", "--headless", "--frames=600", "--trace", "/tmp/t.txt",
                       "--grab-at", "0,10,4294967295", "--memory-at=5", "--record", "/tmp/again.txt"},
                      options, error))
        << error;
    EXPECT_TRUE(options.Any());
    EXPECT_EQ(options.replay, "/tmp/demo.txt");
    EXPECT_FALSE(options.random);
    EXPECT_TRUE(options.headless);
    EXPECT_FALSE(options.draw_all);
    EXPECT_EQ(options.frames, 600);
    EXPECT_EQ(options.trace, "/tmp/t.txt");
    EXPECT_EQ(options.grab_at, (std::vector<uint32_t>{0, 10, 4294967295u}));
    EXPECT_EQ(options.memory_at, (std::vector<uint32_t>{5}));
    EXPECT_EQ(options.record, "/tmp/again.txt");

    ASSERT_TRUE(Parse({"--replay=random:2103", "--draw-all"}, options, error)) << error;
    EXPECT_TRUE(options.random);
    EXPECT_EQ(options.seed, 2103u);
    EXPECT_TRUE(options.replay.empty());
    EXPECT_TRUE(options.draw_all);

    // A relative name is taken from the folder the program was started in, not the program's own.
    ASSERT_TRUE(Parse({"--trace", "out/trace.txt"}, options, error)) << error;
    EXPECT_EQ(options.trace, std::string(Launch_Directory()) + "/out/trace.txt");

    ASSERT_TRUE(Parse({"-h"}, options, error));
    EXPECT_TRUE(options.help);
}

TEST(RunOptionsTest, WhatCannotBeUsedIsRefusedWithTheReason)
{
    struct Case
    {
        std::vector<std::string> words;
        const char* error;
    } cases[] = {
        {{"--fast"}, "unknown option \"--fast\""},
        {{"replay.txt"}, "unknown option \"replay.txt\""},
        {{"--replay"}, "--replay needs a value"},
        {{"--replay="}, "--replay needs a value"},
        {{"--record", ""}, "--record needs a value"},
        {{"--frames", "0"}, "--frames takes a whole number of frames above 0"},
        {{"--frames", "-5"}, "--frames takes"},
        {{"--frames", "12x"}, "--frames takes"},
        {{"--frames", "99999999999"}, "--frames takes"},
        {{"--grab-at", "1,,2"}, "--grab-at takes frame numbers separated by commas"},
        {{"--grab-at", "1,-2"}, "--grab-at takes"},
        {{"--memory-at", "x"}, "--memory-at takes"},
        {{"--replay", "random:"}, "--replay random:SEED takes a whole number"},
        {{"--replay", "random:4294967296"}, "--replay random:SEED takes"},
        {{"--replay", "/tmp/a.txt", "--record", "/tmp/a.txt"}, "--record and --replay name the same file"},
    };
    for (const Case& c : cases)
    {
        Run_Options options;
        std::string error;
        std::string words;
        for (const std::string& word : c.words)
            words += " [" + word + "]";
        EXPECT_FALSE(Parse(c.words, options, error)) << words;
        EXPECT_NE(error.find(c.error), std::string::npos) << words << " gave: " << error;
    }
}

TEST(RunOptionsTest, TheProgramAnswersHelpAndRefusesWhatItCannotUse)
{
    test_support::Playtest game;
    EXPECT_EQ(game.Run_With({"--help"}), 0);
    for (const char* option : {"--record FILE", "--replay FILE", "--replay random:SEED", "--headless",
                               "--frames N", "--trace FILE", "--grab-at N,M,...", "--draw-all", "Exit codes"})
        EXPECT_NE(game.Output().find(option), std::string::npos) << option << "\n" << game.Output();
    EXPECT_EQ(game.Log(), "") << "--help starts nothing";

    EXPECT_EQ(game.Run_With({"--headles"}), 3);
    EXPECT_NE(game.Output().find("kestrova: unknown option \"--headles\""), std::string::npos)
        << game.Output();

    // A recording it cannot read: the file, the line and the reason, before anything starts.
    EXPECT_EQ(game.Run("kestrova-demo 1\n10 +return\n12 -retrun\n"), 3);
    EXPECT_NE(game.Output().find("demo.txt: line 3: unknown key \"-retrun\""), std::string::npos)
        << game.Output();
    EXPECT_EQ(game.Log(), "");
    EXPECT_EQ(game.Run_With({"--headless", "--replay", game.Folder().File("missing.txt")}), 3);
    EXPECT_NE(game.Output().find("missing.txt: cannot be read"), std::string::npos) << game.Output();
    EXPECT_EQ(game.Run_With({"--headless", "--record", game.Folder().File("no/such/folder/demo.txt")}), 3);
    EXPECT_NE(game.Output().find("demo.txt: cannot be written"), std::string::npos) << game.Output();
}
} // namespace
