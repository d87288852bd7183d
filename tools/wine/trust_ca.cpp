// Adds the CA certificate of a PEM file to the machine's trusted roots, for
// the Wine prefix the tests run in; WinINet checks the stand-in's certificate
// against that store alone. Test support only, never part of the tool.
//   trust_ca.exe CA.pem
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: trust_ca CA.pem\n", stderr);
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  const std::string pem((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  DWORD size = 0;
  if (pem.empty() || !CryptStringToBinaryA(pem.c_str(), static_cast<DWORD>(pem.size()),
                                           CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr,
                                           nullptr)) {
    std::fprintf(stderr, "trust_ca: no certificate in %s\n", argv[1]);
    return 1;
  }
  std::vector<BYTE> der(size);
  CryptStringToBinaryA(pem.c_str(), static_cast<DWORD>(pem.size()), CRYPT_STRING_BASE64HEADER,
                       der.data(), &size, nullptr, nullptr);
  HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0,
                                   CERT_SYSTEM_STORE_LOCAL_MACHINE, "Root");
  if (store == nullptr ||
      !CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der.data(), size,
                                        CERT_STORE_ADD_REPLACE_EXISTING, nullptr)) {
    std::fprintf(stderr, "trust_ca: cannot add the certificate (error %lu)\n", GetLastError());
    return 1;
  }
  CertCloseStore(store, 0);
  return 0;
}
