#include "core/base/Sha256.h"

#include "core/base/SharedLibrary.h"

#include <QCryptographicHash>

#include <optional>

namespace {

// libcrypto's digest calls, declared here rather than through its headers: the build then needs only the library's
// name, and the types stay opaque as they are to any caller of OpenSSL.
struct EvpContext;
struct EvpDigest;
struct Libcrypto {
    EvpContext* (*contextNew)() = nullptr;
    void (*contextFree)(EvpContext*) = nullptr;
    const EvpDigest* (*sha256)() = nullptr;
    int (*init)(EvpContext*, const EvpDigest*, void* engine) = nullptr;
    int (*update)(EvpContext*, const void* data, size_t size) = nullptr;
    int (*final)(EvpContext*, unsigned char* digest, unsigned int* size) = nullptr;
    const EvpDigest* digest = nullptr;
};

const Libcrypto* libcrypto() {
    static const std::optional<Libcrypto> loaded = []() -> std::optional<Libcrypto> {
        static SharedLibrary library(VARDEL_LIBCRYPTO_LIBRARY);
        Libcrypto c;
        c.contextNew = library.resolve<decltype(c.contextNew)>("EVP_MD_CTX_new");
        c.contextFree = library.resolve<decltype(c.contextFree)>("EVP_MD_CTX_free");
        c.sha256 = library.resolve<decltype(c.sha256)>("EVP_sha256");
        c.init = library.resolve<decltype(c.init)>("EVP_DigestInit_ex");
        c.update = library.resolve<decltype(c.update)>("EVP_DigestUpdate");
        c.final = library.resolve<decltype(c.final)>("EVP_DigestFinal_ex");
        if (!c.contextNew || !c.contextFree || !c.sha256 || !c.init || !c.update || !c.final)
            return std::nullopt;
        c.digest = c.sha256();
        if (!c.digest)
            return std::nullopt;
        return c;
    }();
    return loaded ? &*loaded : nullptr;
}

} // namespace

struct Sha256::State {
    const Libcrypto* crypto = libcrypto();
    EvpContext* context = nullptr;
    bool started = false;
    std::optional<QCryptographicHash> fallback;

    State() {
        if (crypto)
            context = crypto->contextNew();
        if (!context)
            fallback.emplace(QCryptographicHash::Sha256);
    }
    ~State() {
        if (context)
            crypto->contextFree(context);
    }
    void start() {
        if (!started && context)
            crypto->init(context, crypto->digest, nullptr);
        started = true;
    }
};

Sha256::Sha256() : m(std::make_unique<State>()) {}

Sha256::~Sha256() = default;

void Sha256::add(QByteArrayView bytes) {
    m->start();
    if (m->context)
        m->crypto->update(m->context, bytes.data(), size_t(bytes.size()));
    else
        m->fallback->addData(bytes);
}

QByteArray Sha256::result() {
    m->start();
    m->started = false;
    if (!m->context) {
        QByteArray digest = m->fallback->result();
        m->fallback->reset();
        return digest;
    }
    QByteArray digest(32, Qt::Uninitialized);
    unsigned int size = 0;
    m->crypto->final(m->context, reinterpret_cast<unsigned char*>(digest.data()), &size);
    return digest;
}

QByteArray Sha256::hash(QByteArrayView bytes) {
    Sha256 sha;
    sha.add(bytes);
    return sha.result();
}

bool Sha256::AtProcessorSpeed() {
    return libcrypto() != nullptr;
}
