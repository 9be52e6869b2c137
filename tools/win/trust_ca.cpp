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

struct CertStoreTraits : orvane::NullIsInvalid<HCERTSTORE> {
  static void Close(HCERTSTORE store) { CertCloseStore(store, 0); }
};
using CertStore = orvane::UniqueHandle<CertStoreTraits>;

struct CertContextTraits : orvane::NullIsInvalid<PCCERT_CONTEXT> {
  static void Close(PCCERT_CONTEXT context) { CertFreeCertificateContext(context); }
};
using CertContext = orvane::UniqueHandle<CertContextTraits>;

CertStore OpenRoot() {
  return CertStore(
      CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"Root"));
}

// Replacing keeps a rerun with a renewed test CA from failing or piling up.
// Wine writes a system store's changes out when its handle closes, which the
// owner does on return.
bool AddToRoot(const std::vector<BYTE>& der) {
  CertStore store = OpenRoot();
  return store && CertAddEncodedCertificateToStore(store.get(), X509_ASN_ENCODING, der.data(),
                                                   static_cast<DWORD>(der.size()),
                                                   CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
}

// Read back through a fresh handle, so success means the store kept it.
bool RootHolds(const std::vector<BYTE>& der) {
  CertStore store = OpenRoot();
  if (!store) return false;
  for (CertContext each(CertEnumCertificatesInStore(store.get(), nullptr)); each;
       each.reset(CertEnumCertificatesInStore(store.get(), each.release()))) {
    if (each.get()->cbCertEncoded == der.size() &&
        std::memcmp(each.get()->pbCertEncoded, der.data(), der.size()) == 0)
      return true;
  }
  return false;
}

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
  if (!AddToRoot(der)) return Fail("add");
  if (!RootHolds(der)) return Fail("find");
  std::printf("{\"added\": true}\n");
  return 0;
}
