// A stand-in for a program that OrvaneSetup downloads and starts: the product
// installer (install.exe) or the live-update program (Tarvik.exe). It records
// how it was started in "<name>.starts.log" beside itself, one JSON line per
// start, and shows a small window saying what it is. The Tarvik stand-in also
// lists the packages it finds in "OrvaneTarvikTemp".
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>

#ifndef STAND_IN_ROLE
#error "STAND_IN_ROLE names what this program stands in for"
#endif

namespace {

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), length,
                      nullptr, nullptr);
  return out;
}

std::string Json(const std::wstring& text) {
  std::string out(1, '"');
  for (unsigned char c : Utf8(text)) {
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(static_cast<char>(c));
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  out.push_back('"');
  return out;
}

std::wstring OwnPath() {
  std::wstring path(32768, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return path;
}

// The packages in OrvaneTarvikTemp beside this program, as a JSON array and
// as lines for the window.
void ListPackages(const std::wstring& folder, std::string& json, std::wstring& lines) {
  json = "[";
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\OrvaneTarvikTemp\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    json += "]";
    return;
  }
  bool first = true;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const unsigned long long size =
        (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    json += (first ? "" : ",") + std::string("{\"name\":") + Json(found.cFileName) +
            ",\"size\":" + std::to_string(size) + "}";
    lines += L"\n  " + std::wstring(found.cFileName) + L" (" + std::to_wstring(size) + L" bytes)";
    first = false;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  json += "]";
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const std::wstring role = STAND_IN_ROLE;
  const std::wstring path = OwnPath();
  const std::wstring folder = path.substr(0, path.find_last_of(L'\\'));
  const std::wstring name =
      path.substr(folder.size() + 1, path.find_last_of(L'.') - folder.size() - 1);

  std::wstring workingFolder(32768, L'\0');
  workingFolder.resize(
      GetCurrentDirectoryW(static_cast<DWORD>(workingFolder.size()), workingFolder.data()));
  int argumentCount = 0;
  LocalFree(CommandLineToArgvW(GetCommandLineW(), &argumentCount));

  std::string packagesJson = "[]";
  std::wstring packageLines;
  if (role == L"Tarvik") ListPackages(folder, packagesJson, packageLines);

  std::string line = "{\"role\":" + Json(role) + ",\"path\":" + Json(path) +
                     ",\"commandLine\":" + Json(GetCommandLineW()) +
                     ",\"workingFolder\":" + Json(workingFolder) +
                     ",\"arguments\":" + std::to_string(argumentCount - 1) +
                     ",\"packages\":" + packagesJson + "}\n";
  if (FILE* log = _wfopen((folder + L"\\" + name + L".starts.log").c_str(), L"ab")) {
    std::fwrite(line.data(), 1, line.size(), log);
    std::fclose(log);
  }

  std::wstring text = L"Day la chuong trinh thay the cho " + role + L".\nDuong dan: " + path;
  if (role == L"Tarvik") {
    text += packageLines.empty() ? L"\nKhong thay goi du lieu nao trong OrvaneTarvikTemp."
                                 : L"\nGoi du lieu trong OrvaneTarvikTemp:" + packageLines;
  }
  MessageBoxW(nullptr, text.c_str(), (role + L" (stand-in)").c_str(), MB_OK | MB_ICONINFORMATION);
  return 0;
}
