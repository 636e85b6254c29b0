// CPU_Monitor over statistics files written by the test.
#include "engine/core/cpu_monitor.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

using test_support::Scratch_Folder;
using test_support::Write_File;

namespace
{
// The aggregate line: user nice system idle iowait irq softirq steal.
std::string Stat(int busy, int idle)
{
    return "cpu  " + std::to_string(busy) + " 0 0 " + std::to_string(idle) + " 0 0 0 0\ncpu0 1 2 3 4\n";
}
} // namespace

TEST(CpuMonitorTest, SamplesOnlyMoreThanASecondAfterTheLastSample)
{
    Scratch_Folder folder;
    std::string stat = folder.File("stat");
    Write_File(stat, Stat(100, 900));
    CPU_Monitor monitor(stat.c_str());
    monitor.Open_At(4294966000u); // just before the tick count wraps
    ASSERT_TRUE(monitor.Enabled());
    EXPECT_EQ(monitor.Get_Load(), 0);

    Write_File(stat, Stat(100 + 25, 900 + 75)); // 25 % busy since the first reading
    monitor.Update_At(4294966000u + 1000u);
    EXPECT_EQ(monitor.Get_Load(), 0) << "one second exactly is not yet more than a second";
    monitor.Update_At(4294966000u + 1001u); // wrapped past zero
    EXPECT_EQ(monitor.Get_Load(), 25);

    Write_File(stat, Stat(125 + 90, 975 + 10));
    monitor.Update_At(4294966000u + 1500u);
    EXPECT_EQ(monitor.Get_Load(), 25);
    monitor.Update_At(4294966000u + 2002u);
    EXPECT_EQ(monitor.Get_Load(), 90);

    monitor.Close();
    EXPECT_FALSE(monitor.Enabled());
    EXPECT_EQ(monitor.Get_Load(), 0);
}

TEST(CpuMonitorTest, UnreadableSourceLeavesTheLoadAtZero)
{
    for (const char* content : {static_cast<const char*>(nullptr), "", "intr 1 2 3\n", "cpu  x y z\n"})
    {
        Scratch_Folder folder;
        std::string stat = folder.File("stat");
        if (content)
            Write_File(stat, content);
        CPU_Monitor monitor(stat.c_str());
        monitor.Open_At(0);
        EXPECT_FALSE(monitor.Enabled());
        monitor.Update_At(5000);
        EXPECT_EQ(monitor.Get_Load(), 0);
    }
}

TEST(CpuMonitorTest, ReadsThisMachinesLoad)
{
    CPU_Monitor monitor;
    monitor.Open_At(0);
    EXPECT_TRUE(monitor.Enabled());
    monitor.Update_At(2000);
    EXPECT_GE(monitor.Get_Load(), 0);
    EXPECT_LE(monitor.Get_Load(), 100);
}
