// The format component on the session's drives, and the dialog that stands in for the
// shell's format dialog under Wine.
#include "rescue/ShFormat.h"

#include "AppEnv.h"
#include "Driver.h"
#include "RescueFixture.h"
#include "rescue/FormatStandIn.h"
#include "rescue/FormatStandInRes.h"
#include "win/Handles.h"

#include <gtest/gtest.h>

namespace {

using rescuetest::FloppyContent;
using rescuetest::kOldContent;

const char* kFormatCaption = "Formatieren - Wechseldatenträger (A:)";

class ShFormatTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testenv::App();
        rescuetest::FillFloppy();
    }
    TShFormat format{TFormatOption::foFull};
};

TEST_F(ShFormatTest, OnlyARemovableDriveWithAMediumReachesTheDialog)
{
    // Digit and "@" lie below "A"; C: and F: are fixed, Q: and "[" name no drive.
    for (char letter : {'1', '@', 'C', 'F', 'f', 'Q', '['}) {
        format.SetDriveLetter(letter);
        EXPECT_FALSE(format.Execute()) << letter;
        EXPECT_EQ(format.ErrorCode(), TShFormat::InvalidDrive) << letter;
    }
    EXPECT_TRUE(TShFormat::CheckDrive('a')) << "the type test takes the letter as stored";
    for (char letter : {'B', 'b'}) {
        format.SetDriveLetter(letter);
        EXPECT_FALSE(format.Execute()) << letter;
        EXPECT_EQ(format.ErrorCode(), TShFormat::NoDisk) << letter;
    }
    EXPECT_TRUE(driver::TopWindows(GetCurrentProcessId(), "#32770").empty()) << "no box of the system's own";
    // Drive A: lies on the host's disk, hundreds of gigabytes: far past what a 32-bit size holds.
    format.SetDriveLetter('A');
    EXPECT_TRUE(format.DiskInDrive());
    EXPECT_EQ(FloppyContent(), kOldContent);
}

TEST_F(ShFormatTest, DialogShowsTheDriveAndPreselectedModeAndClosingIsCancel)
{
    const std::pair<TFormatOption, int> modes[] = {{TFormatOption::foQuick, IDC_FORMAT_QUICK},
                                                   {TFormatOption::foFull, IDC_FORMAT_FULL},
                                                   {TFormatOption::foSystemOnly, IDC_FORMAT_SYSONLY}};
    for (auto [option, radio] : modes) {
        int checked = -1;
        HWND owner = nullptr;
        driver::DialogScript script({{kFormatCaption, [&](HWND d) {
                                          for (int id : {IDC_FORMAT_QUICK, IDC_FORMAT_FULL, IDC_FORMAT_SYSONLY})
                                              if (IsDlgButtonChecked(d, id) == BST_CHECKED) checked = id;
                                          owner = GetWindow(d, GW_OWNER);
                                          driver::PressButton(d, "Schließen");
                                      }}});
        format.SetOwner(testenv::App().Handle());
        format.SetDriveLetter('a');
        format.SetFormatOption(option);
        EXPECT_FALSE(format.Execute());
        script.Seen();
        EXPECT_EQ(checked, radio);
        EXPECT_EQ(owner, testenv::App().Handle());
        EXPECT_EQ(format.ErrorCode(), TShFormat::Cancelled);
    }
    EXPECT_EQ(FloppyContent(), kOldContent);
}

TEST_F(ShFormatTest, StandInEmptiesARemovableRootAndNothingElse)
{
    const std::string marker = win95::kFixedDrive + "BLEIBT.TXT";
    win95::WriteFile(marker, "bleibt");
    const UINT fixed = 'F' - 'A';
    EXPECT_EQ(StandInFormatDrive(testenv::App().Handle(), fixed, kShFmtIdDefault, kShFmtOptFull), kShFmtNoFormat);
    EXPECT_FALSE(EmptyRemovableRoot(fixed));
    EXPECT_FALSE(EmptyRemovableRoot('C' - 'A'));
    EXPECT_EQ(win95::ReadFile(marker), "bleibt");
    win95::Remove(marker);

    // A file held open without sharing cannot be deleted: the dialog says so itself.
    {
        win::UniqueFile held(CreateFileA((win95::kFloppy + "BRIEF.TXT").c_str(), GENERIC_READ, 0, nullptr,
                                         OPEN_EXISTING, 0, nullptr));
        driver::DialogScript script({{kFormatCaption, driver::Pressing("Starten")},
                                     {"Formatieren", [](HWND box) { driver::Press(box, IDOK); }}});
        EXPECT_FALSE(format.Execute());
        EXPECT_EQ(format.ErrorCode(), TShFormat::FormatError);
        EXPECT_EQ(script.Seen().back(), "Formatieren|Der Datenträger konnte nicht vollständig gelöscht werden.");
    }
    driver::DialogScript script({{kFormatCaption, driver::Pressing("Starten")}});
    EXPECT_TRUE(format.Execute());
    EXPECT_EQ(format.ErrorCode(), TShFormat::Success);
    EXPECT_TRUE(FloppyContent().empty());
}

} // namespace
