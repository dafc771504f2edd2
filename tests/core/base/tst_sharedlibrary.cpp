#include "core/base/SharedLibrary.h"

#include <QTest>

#include <cstring>

class TestSharedLibrary : public QObject {
    Q_OBJECT

private slots:
    void resolvesOrSaysWhy_data() {
        QTest::addColumn<QByteArray>("soname");
        QTest::addColumn<QByteArray>("symbol");
        QTest::addColumn<bool>("loads");
        QTest::addColumn<QString>("error");
        QTest::newRow("there, with the function") << QByteArray("libc.so.6") << QByteArray("strlen") << true << "";
        QTest::newRow("there, without it")
            << QByteArray("libc.so.6") << QByteArray("vardel_missing") << true << "libc.so.6 lacks vardel_missing";
        // The loader's own text names the file.
        QTest::newRow("not there") << QByteArray("libvardel-missing.so.0") << QByteArray("strlen") << false
                                   << "libvardel-missing.so.0";
    }
    void resolvesOrSaysWhy() {
        QFETCH(QByteArray, soname);
        QFETCH(QByteArray, symbol);
        QFETCH(bool, loads);
        QFETCH(QString, error);
        SharedLibrary library(soname);
        QString why;
        const auto length = library.resolve<decltype(&std::strlen)>(symbol.constData(), &why);
        QCOMPARE(library.load(), loads);
        QCOMPARE(library.loadError().isEmpty(), loads);
        QCOMPARE(length != nullptr, error.isEmpty());
        QVERIFY2(error.isEmpty() ? why.isEmpty() : why.contains(error), qPrintable(why));
        if (length)
            QCOMPARE(length("four"), size_t(4));
    }
};

QTEST_GUILESS_MAIN(TestSharedLibrary)
#include "tst_sharedlibrary.moc"
