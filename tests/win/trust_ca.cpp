// Trusts the tests' own certificate authority inside the Wine prefix it runs
// in: adds a DER certificate to the current user's "Root" system store, so
// the HTTPS tests reach the test server without trusting anything machine-wide.
// Usage: trust_ca.exe ca.der   Prints one JSON line; exit code 0 when added.
#include <windows.h>

// wincrypt.h needs the types of windows.h, so it comes in a block of its own.
#include <wincrypt.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/win32/unique_handle.h"

namespace {

struct CertStoreTraits : orvane::win32::NullIsInvalid<HCERTSTORE> {
  static void Close(HCERTSTORE store) { CertCloseStore(store, 0); }
};
using CertStore = orvane::win32::UniqueHandle<CertStoreTraits>;

struct CertContextTraits : orvane::win32::NullIsInvalid<PCCERT_CONTEXT> {
  static void Close(PCCERT_CONTEXT context) { CertFreeCertificateContext(context); }
};
using CertContext = orvane::win32::UniqueHandle<CertContextTraits>;

int Fail(const char* step) {
  std::printf("{\"added\": false, \"step\": \"%s\", \"error\": %lu}\n", step, GetLastError());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: trust_ca.exe ca.der\n");
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  const std::vector<BYTE> der((std::istreambuf_iterator<char>(file)),
                              std::istreambuf_iterator<char>());
  if (der.empty()) return Fail("read");

  CertStore store(
      CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"Root"));
  if (!store) return Fail("open");
  // Replacing keeps a rerun with a renewed test CA from failing or piling up.
  PCCERT_CONTEXT added = nullptr;
  if (!CertAddEncodedCertificateToStore(store.get(), X509_ASN_ENCODING, der.data(),
                                        static_cast<DWORD>(der.size()),
                                        CERT_STORE_ADD_REPLACE_EXISTING, &added))
    return Fail("add");
  CertContext context(added);

  // Read it back through a fresh handle, so "added" means the store kept it.
  // Compared byte for byte: Wine's CERT_FIND_EXISTING does not find it.
  CertStore check(
      CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"Root"));
  if (!check) return Fail("reopen");
  bool kept = false;
  for (CertContext each(CertEnumCertificatesInStore(check.get(), nullptr)); each && !kept;
       each.reset(CertEnumCertificatesInStore(check.get(), each.release()))) {
    kept = each.get()->cbCertEncoded == der.size() &&
           std::memcmp(each.get()->pbCertEncoded, der.data(), der.size()) == 0;
  }
  if (!kept) return Fail("find");
  std::printf("{\"added\": true}\n");
  return 0;
}
