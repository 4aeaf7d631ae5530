#include "test_pki.h"

#include <fcntl.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <memory>

namespace {

struct Deleter {
  void operator()(EVP_PKEY* k) const { EVP_PKEY_free(k); }
  void operator()(X509* x) const { X509_free(x); }
};
using Key = std::unique_ptr<EVP_PKEY, Deleter>;
using Cert = std::unique_ptr<X509, Deleter>;

Key NewKey() { return Key(EVP_EC_gen("P-256")); }

bool AddExtension(X509* cert, X509* issuer, int nid, const char* value) {
  X509V3_CTX ctx;
  X509V3_set_ctx_nodb(&ctx);
  X509V3_set_ctx(&ctx, issuer, cert, nullptr, nullptr, 0);
  X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
  if (!ext) return false;
  const bool ok = X509_add_ext(cert, ext, -1) == 1;
  X509_EXTENSION_free(ext);
  return ok;
}

// A certificate for key, signed by issuerKey (self-signed when issuer is null).
Cert MakeCert(EVP_PKEY* key, const char* commonName, X509* issuer, EVP_PKEY* issuerKey, bool ca,
              long serial, const char* altNames = "IP:127.0.0.1,DNS:localhost") {
  Cert cert(X509_new());
  if (!cert) return nullptr;
  X509_set_version(cert.get(), 2);
  ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), serial);
  X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600);
  X509_gmtime_adj(X509_getm_notAfter(cert.get()), 3600L * 24 * 365);
  X509_set_pubkey(cert.get(), key);
  X509_NAME* name = X509_get_subject_name(cert.get());
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>(commonName), -1, -1, 0);
  X509* signer = issuer ? issuer : cert.get();
  X509_set_issuer_name(cert.get(), X509_get_subject_name(signer));
  bool ok = true;
  if (ca) {
    ok = AddExtension(cert.get(), signer, NID_basic_constraints, "critical,CA:TRUE") &&
         AddExtension(cert.get(), signer, NID_key_usage, "critical,keyCertSign,cRLSign");
  } else {
    ok = AddExtension(cert.get(), signer, NID_basic_constraints, "CA:FALSE") &&
         AddExtension(cert.get(), signer, NID_subject_alt_name, altNames);
  }
  if (!ok || X509_sign(cert.get(), issuerKey, EVP_sha256()) <= 0) return nullptr;
  return cert;
}

bool WriteCert(const std::string& path, X509* cert) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = PEM_write_X509(f, cert) == 1;
  return std::fclose(f) == 0 && ok;
}

bool WriteKey(const std::string& path, EVP_PKEY* key, const std::string& password) {
  // The owner's alone from its creation: a reader that opened it while it
  // was wider would keep reading what is written later.
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  FILE* f = ::fchmod(fd, 0600) == 0 ? ::fdopen(fd, "wb") : nullptr;
  if (!f) {
    ::close(fd);
    return false;
  }
  const EVP_CIPHER* cipher = password.empty() ? nullptr : EVP_aes_256_cbc();
  const bool ok =
      PEM_write_PKCS8PrivateKey(f, key, cipher, password.empty() ? nullptr : password.data(),
                                static_cast<int>(password.size()), nullptr, nullptr) == 1;
  return std::fclose(f) == 0 && ok;
}

}  // namespace

STestPki TestPkiPaths(const std::string& dir, const std::string& keyPassword) {
  STestPki p;
  p.dir = dir;
  p.caCert = dir + "/ca.pem";
  p.serverCert = dir + "/server.pem";
  p.serverKey = dir + "/server.key";
  p.clientCert = dir + "/client.pem";
  p.clientKey = dir + "/client.key";
  p.keyPassword = keyPassword;
  p.otherCaCert = dir + "/other-ca.pem";
  p.otherServerCert = dir + "/other-server.pem";
  p.otherServerKey = dir + "/other-server.key";
  p.otherHostCert = dir + "/other-host.pem";
  p.otherHostKey = dir + "/other-host.key";
  return p;
}

bool GenerateTestPki(const std::string& dir, const std::string& keyPassword, STestPki* out) {
  ::mkdir(dir.c_str(), 0700);
  STestPki p = TestPkiPaths(dir, keyPassword);
  Key caKey = NewKey(), serverKey = NewKey(), clientKey = NewKey(), otherCaKey = NewKey(),
      otherServerKey = NewKey(), otherHostKey = NewKey();
  if (!caKey || !serverKey || !clientKey || !otherCaKey || !otherServerKey || !otherHostKey)
    return false;
  Cert ca = MakeCert(caKey.get(), "Test Trade CA", nullptr, caKey.get(), true, 1);
  Cert otherCa = MakeCert(otherCaKey.get(), "Unrelated CA", nullptr, otherCaKey.get(), true, 1);
  if (!ca || !otherCa) return false;
  Cert server = MakeCert(serverKey.get(), "127.0.0.1", ca.get(), caKey.get(), false, 2);
  Cert client = MakeCert(clientKey.get(), "trade client", ca.get(), caKey.get(), false, 3);
  Cert otherServer =
      MakeCert(otherServerKey.get(), "127.0.0.1", otherCa.get(), otherCaKey.get(), false, 2);
  // The common name says 127.0.0.1 on purpose: only the alternative names
  // count, so this one must still be refused for 127.0.0.1.
  Cert otherHost = MakeCert(otherHostKey.get(), "127.0.0.1", ca.get(), caKey.get(), false, 4,
                            "IP:10.9.8.7,DNS:trade.invalid");
  if (!server || !client || !otherServer || !otherHost) return false;
  const bool ok =
      WriteCert(p.caCert, ca.get()) && WriteCert(p.serverCert, server.get()) &&
      WriteKey(p.serverKey, serverKey.get(), "") && WriteCert(p.clientCert, client.get()) &&
      WriteKey(p.clientKey, clientKey.get(), keyPassword) &&
      WriteCert(p.otherCaCert, otherCa.get()) && WriteCert(p.otherServerCert, otherServer.get()) &&
      WriteKey(p.otherServerKey, otherServerKey.get(), "") &&
      WriteCert(p.otherHostCert, otherHost.get()) &&
      WriteKey(p.otherHostKey, otherHostKey.get(), "");
  if (ok && out) *out = p;
  return ok;
}
