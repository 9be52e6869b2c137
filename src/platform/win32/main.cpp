// The program's entry point: creates frmMain on its host window, runs its
// load event, shows it and turns the message loop until the window closes.
#include <windows.h>

#include "download/mdl_download.h"
#include "main_window/frm_main.h"
#include "main_window/frm_main_design.h"
#include "platform/win32/form_window.h"
#include "platform/win32/pictures.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/wininet_internet.h"
#include "skin/mdl_skin.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using namespace orvane;
  win32::GdiplusSession gdiplus;
  win32::PictureLibrary pictures(instance);
  win32::Win32UserInterface ui;
  win32::WinInetInternet internet;
  win32::Win32FileSystem files;
  win32::Win32Processes processes;
  win32::Win32SystemInfo system;
  Platform platform{ui, internet, files, processes, system};

  MdlSkin skin;
  MdlDownload download(platform);
  win32::FormWindow window(instance, pictures);
  FrmMain frmMain(window, platform, skin, download);
  if (!window.Create(frmMain, kFormWidth, kFormHeight)) return 1;
  ui.SetMainWindow(&window);

  frmMain.Form_Load();
  window.Show();
  return ui.RunMessageLoop();
}
