// The support log: one timestamped line per event in a folder only administrators may write in,
// cut back past 1 MiB, and a log that can't be written changes nothing the user sees.
#include <gtest/gtest.h>

#include "fakes.h"

namespace orvane::testing {
namespace {

const std::string kData = "C:\\ProgramData\\";
const std::string kLog = kData + "Orvane\\Logs\\OrvaneSetup.log";
const std::string kTarvik = "C:\\Orvane\\Tarvik.exe";

struct LogRig : Rig {
  LogRig() { system.programData = kData; }
  Platform& Logged() { return program.logged.Services(); }
};

TEST(SupportLog, EachEventIsOneLineAfterTheLocalTime) {
  LogRig rig;
  rig.program.log.WriteStart();
  rig.system.now = {2025, 11, 30, 23, 59, 58};
  rig.system.elevated = true;
  rig.program.log.WriteStart();
  rig.frm.TextTyped(rig.frm["txtFolder"], "C:\\Nowhere");
  rig.Logged().ui.ShowMessage("First\nsecond", "THONG BAO", kMsgBoxInformation);
  for (const StartOutcome outcome :
       {StartOutcome::Started, StartOutcome::Declined, StartOutcome::Failed}) {
    rig.system.startOutcome = outcome;
    EXPECT_EQ(rig.Logged().processes.StartProgram(kTarvik, DllSources::SystemFirst), outcome);
  }
  EXPECT_EQ(rig.files.guarded, (std::set<std::string>{kData + "Orvane", kData + "Orvane\\Logs"}));
  const std::string start = "Start: OrvaneSetup 12.0.0.0 on Windows 10.0.19045, administrator: ";
  const std::string at = "\r\n2025-11-30 23:59:58 ";
  EXPECT_EQ(rig.files.files[kLog], "2024-03-09 07:05:01 " + start + "no" + at + start + "yes" + at +
                                       "Message: Thu muc chua dung." + at + "Message: First" + at +
                                       "Program started: " + kTarvik + at + "Program declined: " +
                                       kTarvik + at + "Program failed: " + kTarvik + "\r\n");
}

// 50-byte lines after a 12-byte one: the line that takes the log to exactly 1 MiB is appended, the
// next one cuts it back to the lines that start in its newest 512 KiB.
TEST(SupportLog, PastOneMebibyteOnlyTheNewestWholeLinesStay) {
  LogRig rig;
  auto old = [](int number) {
    const std::string digits = std::to_string(number);
    return std::string(48 - digits.size(), '0') + digits + "\r\n";
  };
  std::string& log = rig.files.files[kLog] = "0123456789\r\n";
  for (int number = 0; number < 20970; ++number) log += old(number);
  const std::string event(42, 'e'), line = "2024-03-09 07:05:01 " + event + "\r\n";
  rig.program.log.Write(event);
  ASSERT_EQ(log.size(), kSupportLogMost);
  rig.program.log.Write(event);
  EXPECT_EQ(log.size(), 10484 * 50 + 2 * line.size());
  EXPECT_TRUE(log.starts_with(old(10486)));
  EXPECT_TRUE(log.ends_with(line + line));
}

// A folder or file that can't be made, written, or is a link somebody put there, is left alone.
TEST(SupportLog, ALogThatCantBeWrittenIsSkippedAndLeavesNothing) {
  for (const char* fault : {"open", "write", "link to the folder", "link to the file"}) {
    SCOPED_TRACE(fault);
    LogRig rig;
    rig.files.files.clear();
    rig.files.openFails = fault == std::string("open");
    rig.files.writeFails = fault == std::string("write");
    if (fault == std::string("link to the folder")) rig.files.links = {kData + "Orvane\\Logs"};
    if (fault == std::string("link to the file")) rig.files.links = {kLog};
    EXPECT_EQ(rig.Logged().ui.ShowMessage("Xin chao", "THONG BAO", kMsgBoxInformation), 1);
    EXPECT_EQ(rig.Logged().processes.StartProgram(kTarvik, DllSources::Default),
              StartOutcome::Started);
    EXPECT_EQ(rig.files.files.size(), fault == std::string("write") ? 1u : 0u);
    EXPECT_EQ(rig.files.files[kLog], "");
  }
}

}  // namespace
}  // namespace orvane::testing
