#include "platform/win32/win32_held_file.h"

#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

#include <utility>

#include "platform/win32/system_library.h"
#include "platform/win32/utf.h"

namespace orvane::win32 {

bool IsNameSurrogate(HANDLE file) {
  FILE_ATTRIBUTE_TAG_INFO tag{};
  if (!GetFileInformationByHandleEx(file, FileAttributeTagInfo, &tag, sizeof tag)) return true;
  return (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
         IsReparseTagNameSurrogate(tag.ReparseTag);
}

bool IsLinkOrFolder(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION information{};
  return !GetFileInformationByHandle(file, &information) ||
         (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || IsNameSurrogate(file);
}

std::string FinalPathOf(HANDLE handle) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), 0);
    if (length == 0) return "";
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(length);
  }
  // "\\?\UNC\server\share" is "\\server\share"; "\\?\C:\..." is "C:\...".
  if (path.starts_with(L"\\\\?\\UNC\\")) return Narrow(L"\\" + path.substr(7));
  if (path.starts_with(L"\\\\?\\")) return Narrow(path.substr(4));
  return Narrow(path);
}

// Readers may share it; nobody may write, delete or rename it meanwhile. A
// link is opened as itself and refused, never followed.
std::unique_ptr<HeldFile> Win32HeldFile::Open(const std::wstring& path) {
  FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file || IsLinkOrFolder(file.get())) return nullptr;
  return std::unique_ptr<HeldFile>(new Win32HeldFile(path, std::move(file)));
}

namespace {

using VerifyTrust = decltype(WinVerifyTrust);
using ProviderData = decltype(WTHelperProvDataFromStateData);
using ProviderSigner = decltype(WTHelperGetProvSignerFromChain);
using NameOfCertificate = decltype(CertGetNameStringW);

// The common name in the certificate's subject; "" when it has none.
std::string CommonName(NameOfCertificate* nameOf, PCCERT_CONTEXT certificate) {
  wchar_t name[256] = {};
  // The OID travels as the function's untyped parameter.
  void* const commonName = const_cast<char*>(szOID_COMMON_NAME);
  const DWORD length =
      nameOf(certificate, CERT_NAME_ATTR_TYPE, 0, commonName, name, sizeof name / sizeof *name);
  return length > 1 ? Narrow(name) : std::string();
}

}  // namespace

std::string Win32HeldFile::FinalPath() {
  return FinalPathOf(file_.get());
}

// WinVerifyTrust reads the file through the held handle, so the bytes it
// checks are those that will start. Every certificate of the chain is looked
// up for revocation, in what the system already knows only: a lookup over
// the network would hold up the window and, behind a proxy, fail on the
// proxy rather than on the signature. So "could not be checked" (offline)
// lets the signer through, said in the log; "revoked" never does.
Signature Win32HeldFile::CheckSignature() {
  const Module wintrust = LoadSystemLibrary(L"wintrust.dll");
  const Module crypt32 = LoadSystemLibrary(L"crypt32.dll");
  auto* const verify = EntryPoint<VerifyTrust>(wintrust.get(), "WinVerifyTrust");
  auto* const providerData =
      EntryPoint<ProviderData>(wintrust.get(), "WTHelperProvDataFromStateData");
  auto* const providerSigner =
      EntryPoint<ProviderSigner>(wintrust.get(), "WTHelperGetProvSignerFromChain");
  auto* const nameOf = EntryPoint<NameOfCertificate>(crypt32.get(), "CertGetNameStringW");
  if (!verify || !providerData || !providerSigner || !nameOf) return {};

  WINTRUST_FILE_INFO file{};
  file.cbStruct = sizeof file;
  file.pcwszFilePath = path_.c_str();
  file.hFile = file_.get();
  WINTRUST_DATA trust{};
  trust.cbStruct = sizeof trust;
  trust.dwUIChoice = WTD_UI_NONE;
  trust.fdwRevocationChecks = WTD_REVOKE_WHOLECHAIN;
  trust.dwUnionChoice = WTD_CHOICE_FILE;
  trust.pFile = &file;
  trust.dwStateAction = WTD_STATEACTION_VERIFY;
  trust.dwProvFlags = WTD_REVOCATION_CHECK_CHAIN | WTD_CACHE_ONLY_URL_RETRIEVAL;
  GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
  const HWND noWindow = static_cast<HWND>(INVALID_HANDLE_VALUE);

  Signature signature;
  const LONG verdict = verify(noWindow, &action, &trust);
  signature.revoked = static_cast<HRESULT>(verdict) == CERT_E_REVOKED;
  signature.revocationUnknown = static_cast<HRESULT>(verdict) == CERT_E_REVOCATION_FAILURE;
  if (verdict == ERROR_SUCCESS || signature.revocationUnknown) {
    CRYPT_PROVIDER_DATA* const data = providerData(trust.hWVTStateData);
    CRYPT_PROVIDER_SGNR* const first = data ? providerSigner(data, 0, FALSE, 0) : nullptr;
    if (first && first->csCertChain > 0 && first->pasCertChain[0].pCert)
      signature.signer = CommonName(nameOf, first->pasCertChain[0].pCert);
  }
  trust.dwStateAction = WTD_STATEACTION_CLOSE;
  verify(noWindow, &action, &trust);
  return signature;
}

}  // namespace orvane::win32
