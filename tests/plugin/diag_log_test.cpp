#include "TemporaryDriveC.h"
#include "log/DiagLog.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

const std::string kSeparator = "\r\n\r\n####################################################\r\n\r\n";

// Drive C is a folder of the test's own; the log lands at its root. The
// entry counter lives as long as the program, so one test walks the whole
// life of the log in order.
class DiagLog : public ::testing::Test {
protected:
    std::string content() const { return drive.log(); }
    TemporaryDriveC drive{"drive", false};
    const fs::path& driveC = drive.path();
};

TEST_F(DiagLog, EntriesAreNumberedAfterOneSeparatorAndDroppedWhileUnwritable) {
    // No drive C yet: the entries go nowhere and are not counted.
    zera::WriteDiagLog(u"lost\n");
    zera::WriteDiagLog(u"lost too\n");
    EXPECT_FALSE(fs::exists(driveC / "PenviraLog.txt"));

    fs::create_directories(driveC);
    zera::WriteDiagLog(u"Creating the dialog and calling \"DoModal()\"\n");
    zera::WriteDiagLog(u"Entering:\tOnOK()\n");
    zera::WriteDiagLog(u"100% literal %d %s\n");
    zera::WriteDiagLog(u"caf\u00E9 \u00FF stop\u20ACgone\n");
    zera::WriteDiagLog(u"");
    EXPECT_EQ(content(), kSeparator + "0)\tCreating the dialog and calling \"DoModal()\"\r\n" +
                             "1)\tEntering:\tOnOK()\r\n" + "2)\t100% literal %d %s\r\n" +
                             "3)\tcaf\xE9 \xFF stop" + "4)\t");

    // A log that has become a folder cannot be opened: the entry is dropped
    // and the next one keeps its number.
    const std::string before = content();
    fs::rename(driveC / "PenviraLog.txt", driveC / "kept.txt");
    fs::create_directory(driveC / "PenviraLog.txt");
    zera::WriteDiagLog(u"dropped\n");
    fs::remove(driveC / "PenviraLog.txt");
    fs::rename(driveC / "kept.txt", driveC / "PenviraLog.txt");
    zera::WriteDiagLog(u"after\n");
    EXPECT_EQ(content(), before + "5)\tafter\r\n");

    // Nor can a named pipe that no one reads: the entry is dropped at once.
    fs::rename(driveC / "PenviraLog.txt", driveC / "kept.txt");
    ASSERT_EQ(::mkfifo((driveC / "PenviraLog.txt").c_str(), 0600), 0);
    zera::WriteDiagLog(u"dropped\n");
    fs::remove(driveC / "PenviraLog.txt");
    fs::rename(driveC / "kept.txt", driveC / "PenviraLog.txt");
    zera::WriteDiagLog(u"last\n");
    EXPECT_EQ(content(), before + "5)\tafter\r\n6)\tlast\r\n");
}

}  // namespace
