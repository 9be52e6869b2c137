#include "platform/win32/win32_held_file.h"

#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

#include <utility>

#include "platform/win32/system_library.h"
#include "platform/win32/utf.h"

namespace orvane::win32 {

bool IsLinkOrFolder(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION information{};
  return !GetFileInformationByHandle(file, &information) ||
         (information.dwFileAttributes &
          (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0;
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

// WinVerifyTrust reads the file through the held handle, so the bytes it
// checks are those that will start. Revocation is not looked up over the
// network: a setup behind a proxy would fail on it, not on the signature.
std::optional<std::string> Win32HeldFile::VerifiedSigner() {
  const Module wintrust = LoadSystemLibrary(L"wintrust.dll");
  const Module crypt32 = LoadSystemLibrary(L"crypt32.dll");
  auto* const verify = EntryPoint<VerifyTrust>(wintrust.get(), "WinVerifyTrust");
  auto* const providerData =
      EntryPoint<ProviderData>(wintrust.get(), "WTHelperProvDataFromStateData");
  auto* const providerSigner =
      EntryPoint<ProviderSigner>(wintrust.get(), "WTHelperGetProvSignerFromChain");
  auto* const nameOf = EntryPoint<NameOfCertificate>(crypt32.get(), "CertGetNameStringW");
  if (!verify || !providerData || !providerSigner || !nameOf) return std::nullopt;

  WINTRUST_FILE_INFO file{};
  file.cbStruct = sizeof file;
  file.pcwszFilePath = path_.c_str();
  file.hFile = file_.get();
  WINTRUST_DATA trust{};
  trust.cbStruct = sizeof trust;
  trust.dwUIChoice = WTD_UI_NONE;
  trust.fdwRevocationChecks = WTD_REVOKE_NONE;
  trust.dwUnionChoice = WTD_CHOICE_FILE;
  trust.pFile = &file;
  trust.dwStateAction = WTD_STATEACTION_VERIFY;
  trust.dwProvFlags = WTD_REVOCATION_CHECK_NONE | WTD_CACHE_ONLY_URL_RETRIEVAL;
  GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
  const HWND noWindow = static_cast<HWND>(INVALID_HANDLE_VALUE);

  std::optional<std::string> signer;
  if (verify(noWindow, &action, &trust) == ERROR_SUCCESS) {
    CRYPT_PROVIDER_DATA* const data = providerData(trust.hWVTStateData);
    CRYPT_PROVIDER_SGNR* const first = data ? providerSigner(data, 0, FALSE, 0) : nullptr;
    if (first && first->csCertChain > 0 && first->pasCertChain[0].pCert)
      signer = CommonName(nameOf, first->pasCertChain[0].pCert);
  }
  trust.dwStateAction = WTD_STATEACTION_CLOSE;
  verify(noWindow, &action, &trust);
  return signer;
}

}  // namespace orvane::win32
