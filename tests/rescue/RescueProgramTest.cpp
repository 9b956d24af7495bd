// The real program makes a rescue disk, driven through its menu and dialogs.
#include "Driver.h"
#include "RescueFixture.h"
#include "app/resource.h"
#include "rescue/FormatStandInRes.h"

#include <gtest/gtest.h>

namespace {

TEST(RescueProgramTest, AUserMakesARescueDiskThroughTheProgramsDialogs)
{
    win95::LayOut();
    win95::StoreUsualSettings();
    rescuetest::FillFloppy();
    // The program in a folder of its own, with its companion start program beside it.
    const std::string dir = win95::ScratchDir("rescueprog") + "\\";
    for (const char* f : {"Quillmark.exe", "s.dll"})
        ASSERT_TRUE(CopyFileA((driver::BinDir() + f).c_str(), (dir + f).c_str(), FALSE));
    win95::WriteFile(dir + "Kelvrane.exe", "MZ Kelvrane");

    driver::Program p("", dir + "Quillmark.exe");
    ASSERT_NE(p.Main(), nullptr);
    int preselected = 0;
    driver::DialogScript script({{"Auswahl", driver::Pressing("OK")},
                                 {"Formatieren - Wechseldatenträger (A:)", [&](HWND d) {
                                      preselected = IsDlgButtonChecked(d, IDC_FORMAT_FULL);
                                      driver::PressButton(d, "Starten");
                                  }}},
                                p.Pid());
    p.PostCommand(IDM_RESCUEDISK);
    EXPECT_EQ(script.Seen().size(), 2u);
    ASSERT_TRUE(driver::WaitUntil([&] { return p.Status() == "Ready!"; }));
    EXPECT_EQ(preselected, BST_CHECKED);
    EXPECT_EQ(p.Messages(), std::vector<std::string>{"Rescue-Boot-Disk created"});
    EXPECT_EQ(p.ProgressMax(), 7);
    EXPECT_TRUE(p.MenuShown());
    EXPECT_EQ(rescuetest::FloppyContent(),
              (std::vector<std::string>{"Autoexec.bat", "Command.com", "Config.sys", "Drvspace.bin", "IO.sys",
                                        "Kelvrane.exe", "Msdos.sys"}));
    EXPECT_EQ(win95::ReadFile(win95::kFloppy + "Kelvrane.exe"), "MZ Kelvrane");
    EXPECT_EQ(win95::ReadFile(win95::kFloppy + "Autoexec.bat"), "A:\\KELVRANE.EXE\r\n");
}

} // namespace
