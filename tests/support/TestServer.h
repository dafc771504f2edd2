#pragma once

#include "core/server/PgConnection.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTest>

// The throwaway PostgreSQL cluster that CTest starts before the server tests (tools/pg-test-cluster.sh) and stops
// after them, also when one fails. Its socket folder comes in VARDEL_TEST_PG_DIR.

inline bool PostgresInstalled() {
    return !QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty();
}

// Why the server tests cannot run here, or empty when they can: PostgreSQL is not installed, or the cluster's script
// found that no unprivileged user may run it on this system (PostgreSQL refuses to run as root) and said why in the
// cluster's folder.
inline QString TestServerUnavailable() {
    if (!PostgresInstalled())
        return QStringLiteral("PostgreSQL's programs are not installed (apt-get install postgresql): no server to "
                              "test against");
    QFile why(qEnvironmentVariable("VARDEL_TEST_PG_DIR") + QStringLiteral("/unavailable"));
    if (!qEnvironmentVariable("VARDEL_TEST_PG_DIR").isEmpty() && why.open(QIODevice::ReadOnly))
        return QString::fromUtf8(why.readAll().trimmed());
    return QString();
}

// The connection text of database name on the test cluster.
inline QString TestServerDatabase(const QString& name) {
    return QStringLiteral("postgresql:///%1?host=%2&user=vardel").arg(name, qEnvironmentVariable("VARDEL_TEST_PG_DIR"));
}

// A new empty database on the test cluster, one for each call: its connection text, or empty with why not.
inline QString FreshTestDatabase(QString* whyNot = nullptr) {
    const auto none = [&](const char* reason) {
        if (whyNot)
            *whyNot = QString::fromLatin1(reason);
        return QString();
    };
    if (const QString unavailable = TestServerUnavailable(); !unavailable.isEmpty()) {
        if (whyNot)
            *whyNot = unavailable;
        return QString();
    }
    if (qEnvironmentVariable("VARDEL_TEST_PG_DIR").isEmpty())
        return none("no test cluster: run the server tests through ctest, which starts one");
    static int made = 0;
    const QByteArray name =
        "t" + QByteArray::number(QCoreApplication::applicationPid()) + "_" + QByteArray::number(++made);
    PgConnection admin(TestServerDatabase(QStringLiteral("postgres")));
    admin.execScript("CREATE DATABASE " + name);
    return TestServerDatabase(QString::fromLatin1(name));
}

// FreshTestDatabase into a new variable, skipping the test only when the server cannot run here (TestServerUnavailable)
// and failing it when it can but no cluster runs.
#define FRESH_TEST_DATABASE(variable)                                                                                  \
    QString variable##WhyNot;                                                                                          \
    const QString variable = FreshTestDatabase(&variable##WhyNot);                                                     \
    if (variable.isEmpty() && !TestServerUnavailable().isEmpty())                                                      \
        QSKIP(qPrintable(variable##WhyNot));                                                                           \
    QVERIFY2(!variable.isEmpty(), qPrintable(variable##WhyNot))
