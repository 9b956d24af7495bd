// The real program makes a rescue disk, driven through its menu and dialogs.
#include "Driver.h"
#include "RescueFixture.h"
#include "Win95.h"
#include "app/resource.h"

#include <gtest/gtest.h>

namespace {

TEST(RescueProgramTest, AUserMakesARescueDiskThroughTheProgramsDialogs)
{
    win95::LayOut();
    win95::StoreUsualSettings();
    rescuetest::FillFloppy();
    driver::Program p;
    ASSERT_NE(p.Main(), nullptr);
    driver::DialogScript script({{"Auswahl", driver::Pressing("OK")},
                                 {"Formatieren - Wechseldatenträger (A:)", driver::Pressing("Starten")}},
                                p.Pid());
    p.PostCommand(IDM_RESCUEDISK);
    EXPECT_EQ(script.Seen().size(), 2u);
    ASSERT_TRUE(driver::WaitUntil([&] { return p.Status() == "Ready!"; }));
    EXPECT_EQ(p.Messages(), std::vector<std::string>{"Rescue-Boot-Disk created"});
    EXPECT_EQ(p.ProgressMax(), 7) << "the build puts the DOS program beside this one";
    EXPECT_TRUE(p.MenuShown());
    EXPECT_EQ(rescuetest::FloppyContent(), (std::vector<std::string>{"Autoexec.bat", "Command.com", "Config.sys",
                                                                     "Drvspace.bin", "IO.sys", "Kelvrane.exe",
                                                                     "Msdos.sys"}));
    // The floppy's AUTOEXEC.BAT starts this very file.
    EXPECT_EQ(win95::ReadFile(win95::kFloppy + "Kelvrane.exe"), win95::ReadFile(driver::ProgramDir() + "Kelvrane.exe"));
}

} // namespace
