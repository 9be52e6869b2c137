// Win32Processes::StartProgram on the stand-in installer, in a folder whose
// name holds a space, which notes beside itself how it was started.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/win32_processes.h"
#include "win32/test_support.h"

namespace orvane::win32 {
namespace {

TEST(Processes, AProgramStartsByItsQuotedPathInItsFolderAndNothingOfItStaysOpen) {
  const std::string installer = testing::Setting("ORVANE_TEST_STAND_IN");
  const std::string folder = installer.substr(0, installer.rfind('\\'));
  Win32Processes processes;
  for (const DllSources sources : {DllSources::SystemFirst, DllSources::Default}) {
    const int before = testing::OpenHandles();
    EXPECT_EQ(processes.StartProgram(installer, sources), StartOutcome::Started);
    EXPECT_EQ(testing::OpenHandles(), before);
  }
  EXPECT_EQ(processes.StartProgram(folder, DllSources::Default), StartOutcome::Failed);
  // Unquoted, a path with a space is read as a program and an argument.
  std::string noted = "\"workingFolder\":\"" + folder + "\",\"arguments\":0,", starts;
  for (std::size_t at = 0; (at = noted.find('\\', at)) != std::string::npos; at += 2)
    noted.insert(at, "\\");  // as JSON writes it
  for (int tries = 0; tries < 300 && starts.find(noted) == starts.rfind(noted); ++tries, Sleep(100))
    starts = testing::ReadBytes(folder + "\\install.starts.log");
  EXPECT_NE(starts.find(noted), starts.rfind(noted))
      << "each start notes " << noted << ": " << starts;
}

}  // namespace
}  // namespace orvane::win32
