#include "trade/core/sha1_digest.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include "sharecode/text_utils.h"

int Sha1Digest(const void* data, int len, unsigned char digest[20]) {
  if (len < 0 || (len > 0 && !data) || !digest) return -1;
  EVP_MD_CTX* ctx = EVP_MD_CTX_new();
  if (!ctx) return -1;
  unsigned int outLen = 0;
  const bool ok = EVP_DigestInit_ex(ctx, EVP_sha1(), nullptr) == 1 &&
                  EVP_DigestUpdate(ctx, data, static_cast<size_t>(len)) == 1 &&
                  EVP_DigestFinal_ex(ctx, digest, &outLen) == 1 && outLen == 20;
  // Freeing the context wipes its state.
  EVP_MD_CTX_free(ctx);
  return ok ? 0 : -1;
}

std::string PasswordDigest(const std::string& password) {
  unsigned char digest[20];
  if (Sha1Digest(password.data(), static_cast<int>(password.size()), digest) != 0) return "";
  return BytesToHex(digest, 20);
}
