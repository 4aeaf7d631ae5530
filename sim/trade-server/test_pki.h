// Throw-away certificates for the trade simulator and the tests: a CA, a
// server certificate for 127.0.0.1 / localhost, a client certificate with
// a password-protected key, a second, unrelated CA with its own server
// certificate, and a certificate of the right CA for another host (servers
// the client must refuse). Generated on the fly;
// nothing secret is ever committed.
#pragma once
#include <string>

struct STestPki {
  std::string dir;
  std::string caCert;      // ca.pem
  std::string serverCert;  // server.pem
  std::string serverKey;   // server.key (unencrypted)
  std::string clientCert;  // client.pem
  std::string clientKey;   // client.key (encrypted with keyPassword)
  std::string keyPassword;
  std::string otherCaCert;      // other-ca.pem
  std::string otherServerCert;  // other-server.pem, issued by the other CA
  std::string otherServerKey;   // other-server.key
  // Issued by the right CA but for another host (10.9.8.7, trade.invalid).
  std::string otherHostCert;  // other-host.pem
  std::string otherHostKey;   // other-host.key
};

// Writes the files into dir (created when missing); false on failure.
bool GenerateTestPki(const std::string& dir, const std::string& keyPassword, STestPki* out);
// The file names in dir, without generating anything.
STestPki TestPkiPaths(const std::string& dir, const std::string& keyPassword);
