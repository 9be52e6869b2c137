// Naming the Windows version, and the http or https form of the server
// address that start-up chooses from that name.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "frm_main_harness.h"

namespace orvane {
namespace {

using testing::FrmMainHarness;

const std::string kHttpBase = std::string("http://") + ORVANE_SERVER_HOST;
const std::string kHttpsBase = std::string("https://") + ORVANE_SERVER_HOST;

constexpr std::uint32_t kNt = kVerPlatformWin32Nt;
constexpr std::uint32_t kWindows = 1;  // the 95/98 family
constexpr std::uint32_t kWin32s = 0;   // Win32 on 16-bit Windows

TEST(WindowsVersion, NamesEachVersionAndStartupPicksItsServerAddress) {
  struct Case {
    std::uint32_t major, minor, platformId;
    const char* name;
    bool plainHttp;
  };
  const Case cases[] = {
      {5, 0, kNt, "Windows 2000", true},
      {5, 1, kNt, "Windows 2000", true},
      {5, 2, kNt, "Windows 2000", true},
      {5, 0, kWindows, "Windows 2000", true},  // major 5 on any platform
      {4, 0, kNt, "Windows NT 4.0", false},
      {4, 10, kNt, "Windows NT 4.0", false},  // NT before the minor version
      {4, 0, kWindows, "Windows 95", false},
      {4, 10, kWindows, "Windows 98", false},
      {4, 90, kWindows, "Windows 98", false},
      {3, 51, kNt, "Windows NT 3.x", false},
      {3, 10, kWin32s, "Windows 3.x", false},
      {6, 0, kNt, "Unknown Windows Version", false},
      {6, 1, kNt, "Unknown Windows Version", false},
      {6, 3, kNt, "Unknown Windows Version", false},
      {10, 0, kNt, "Unknown Windows Version", false},
      {2, 0, kNt, "Unknown Windows Version", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.major << "." << c.minor << " platform " << c.platformId);
    FrmMainHarness h;
    h.system.version.majorVersion = c.major;
    h.system.version.minorVersion = c.minor;
    h.system.version.platformId = c.platformId;
    EXPECT_EQ(h.download.GetWindowsVersionName(), c.name);

    EXPECT_EQ(h.download.ServerBase, "") << "empty until start-up";
    h.frm.Form_Load();
    EXPECT_EQ(h.download.ServerBase, c.plainHttp ? kHttpBase : kHttpsBase);
  }
}

TEST(WindowsVersion, FailedQueryNamesUnknownVersionAndLeadsToHttps) {
  FrmMainHarness h;
  h.system.version.majorVersion = 5;
  h.system.version.minorVersion = 1;
  EXPECT_EQ(h.download.GetWindowsVersionName(), "Windows 2000");

  // A failed query right after a successful one must not see the old answer.
  h.system.versionQuerySucceeds = false;
  EXPECT_EQ(h.download.GetWindowsVersionName(), "Unknown Windows Version");
  h.frm.Form_Load();
  EXPECT_EQ(h.download.ServerBase, kHttpsBase);
}

TEST(ServerAddress, PlainHttpOnlyForExactlyWindows2000) {
  EXPECT_EQ(ServerBaseFor("Windows 2000", "updates.example:8080"), "http://updates.example:8080");
  for (const char* name : {"windows 2000", "Windows 2000 ", "Windows NT 4.0", ""}) {
    EXPECT_EQ(ServerBaseFor(name, "updates.example"), "https://updates.example") << name;
  }
  EXPECT_EQ(ProductServerHost(), ORVANE_SERVER_HOST);
  EXPECT_NE(kHttpsBase.back(), '/') << "paths begin with their own \"/\"";
}

}  // namespace
}  // namespace orvane
