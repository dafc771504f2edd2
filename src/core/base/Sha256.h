#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <memory>

// SHA-256 for the history's chain and the backups' manifests, through OpenSSL's libcrypto, which uses the
// processor's SHA instructions where it has them (about twice the speed of Qt's own here). The library is opened
// at the first hash, so a start of the program does not load it. Where it cannot be opened, Qt's implementation
// gives the same digest, more slowly: the digests never depend on which one ran.
class Sha256 {
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void add(QByteArrayView bytes);
    // The 32-byte digest of what was added since the last result; the next add starts a new message.
    QByteArray result();

    static QByteArray hash(QByteArrayView bytes);
    // True when libcrypto does the hashing: for the benchmarks, which say which one they measured.
    static bool AtProcessorSpeed();

private:
    struct State;
    std::unique_ptr<State> m;
};
