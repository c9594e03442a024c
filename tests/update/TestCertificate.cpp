#include "TestCertificate.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <stdexcept>

namespace {

template <typename T, void (*Free)(T*)>
using Owned = std::unique_ptr<T, std::integral_constant<decltype(Free), Free>>;

void Check(bool ok, const char* what)
{
    if (!ok)
        throw std::runtime_error(std::string("test certificate: ") + what);
}

void WritePem(const std::filesystem::path& path, const std::function<int(FILE*)>& write)
{
    const std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "w"), std::fclose);
    Check(file != nullptr, "cannot create file");
    Check(write(file.get()) == 1, "cannot write PEM");
}

} // namespace

TestCertificate MakeSelfSignedCertificate(const std::filesystem::path& folder, const std::string& stem)
{
    const Owned<EVP_PKEY, EVP_PKEY_free> key(EVP_EC_gen("P-256"));
    Check(key != nullptr, "key generation");
    const Owned<X509, X509_free> cert(X509_new());
    Check(cert != nullptr, "X509_new");
    X509_set_version(cert.get(), 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), static_cast<long>(std::hash<std::string>{}(stem) & 0x7fffffff));
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), 24 * 3600);
    X509_set_pubkey(cert.get(), key.get());
    X509_NAME* name = X509_get_subject_name(cert.get());
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1, 0);
    X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC, reinterpret_cast<const unsigned char*>(stem.c_str()), -1, -1, 0);
    X509_set_issuer_name(cert.get(), name);
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, cert.get(), cert.get(), nullptr, nullptr, 0);
    for (const auto& [nid, value] : {std::pair{NID_subject_alt_name, "IP:127.0.0.1"},
             std::pair{NID_basic_constraints, "critical,CA:TRUE"}}) {
        const Owned<X509_EXTENSION, X509_EXTENSION_free> extension(X509V3_EXT_conf_nid(nullptr, &context, nid, value));
        Check(extension != nullptr && X509_add_ext(cert.get(), extension.get(), -1) == 1, "extension");
    }
    Check(X509_sign(cert.get(), key.get(), EVP_sha256()) > 0, "signing");

    TestCertificate files{folder / (stem + ".crt"), folder / (stem + ".key")};
    WritePem(files.certFile, [&](FILE* f) { return PEM_write_X509(f, cert.get()); });
    WritePem(files.keyFile, [&](FILE* f) { return PEM_write_PrivateKey(f, key.get(), nullptr, nullptr, 0, nullptr, nullptr); });
    return files;
}
