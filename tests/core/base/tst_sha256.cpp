// The hasher gives the standard digests, whichever implementation runs, added whole or in pieces.

#include "core/base/Sha256.h"

#include <QTest>

class TestSha256 : public QObject {
    Q_OBJECT

private slots:
    void digest_data() {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<int>("pieces");
        QTest::addColumn<QByteArray>("hex");
        const QByteArray emptyHex = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";
        QTest::newRow("empty") << QByteArray() << 1 << emptyHex;
        const QByteArray longer = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
        const QByteArray longerHex = "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1";
        QTest::newRow("two blocks, whole") << longer << 1 << longerHex;
        QTest::newRow("two blocks, in pieces") << longer << 7 << longerHex;
        QTest::newRow("a million a's") << QByteArray(1000000, 'a') << 3
                                       << QByteArray(
                                              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
    }
    void digest() {
        QFETCH(QByteArray, message);
        QFETCH(int, pieces);
        QFETCH(QByteArray, hex);
        Sha256 sha;
        // A result starts the next message afresh: what came before must not leak into it.
        sha.add("left over");
        sha.result();
        const qsizetype piece = message.size() / pieces + 1;
        for (qsizetype at = 0; at < message.size(); at += piece)
            sha.add(QByteArrayView(message.constData() + at, std::min(piece, message.size() - at)));
        QCOMPARE(sha.result().toHex(), hex);
        QCOMPARE(Sha256::hash(message).toHex(), hex);
    }
};

QTEST_GUILESS_MAIN(TestSha256)
#include "tst_sha256.moc"
