#pragma once

#include "core/store/PersonnelStore.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

struct pg_conn;
struct pg_result;

// A statement the server refused while the connection stayed up: a constraint, a permission, a serialization
// failure. sqlState is the server's five-character code, so that callers can tell them apart exactly.
class PgStatementError : public FileError {
public:
    PgStatementError(const QString& text, const QByteArray& sqlState)
        : FileError(text, FileOutcome::NotWritten), m_sqlState(sqlState) {}
    const QByteArray& sqlState() const { return m_sqlState; }

private:
    QByteArray m_sqlState;
};

// Values bound to a statement's $1, $2, ... Every value goes to the server in its binary form, so that a double
// arrives with all its bits and no text of a record is ever part of the statement itself.
class PgParams {
public:
    PgParams& text(const QString& value);
    PgParams& bytes(const QByteArray& value);
    PgParams& float8(double value);
    PgParams& int2(qint16 value);
    PgParams& int4(qint32 value);
    PgParams& int8(qint64 value);

    int size() const { return static_cast<int>(m_values.size()); }
    const unsigned* types() const { return m_types.data(); }
    std::vector<const char*> values() const;
    const int* lengths() const { return m_lengths.data(); }
    const int* formats() const { return m_formats.data(); }

private:
    PgParams& add(unsigned type, QByteArray value);
    std::vector<unsigned> m_types;
    std::vector<QByteArray> m_values;
    std::vector<int> m_lengths;
    std::vector<int> m_formats;
};

// A result in the binary format: the columns read as the types the statements select.
class PgResult {
public:
    explicit PgResult(pg_result* result = nullptr) : m_result(result) {}
    PgResult(PgResult&& other) noexcept : m_result(other.m_result) { other.m_result = nullptr; }
    PgResult& operator=(PgResult&& other) noexcept;
    PgResult(const PgResult&) = delete;
    PgResult& operator=(const PgResult&) = delete;
    ~PgResult();

    int rows() const;
    // Rows an UPDATE or DELETE touched.
    qint64 affected() const;
    bool isNull(int row, int column) const;
    QString text(int row, int column) const;
    QByteArray bytes(int row, int column) const;
    double float8(int row, int column) const;
    qint16 int2(int row, int column) const;
    qint32 int4(int row, int column) const;
    qint64 int8(int row, int column) const;

private:
    const char* value(int row, int column) const;
    pg_result* m_result;
};

// One connection to a PostgreSQL server through libpq. A failure throws StoreUnavailable when the connection is
// gone (an open transaction is then rolled back by the server, so nothing of it stays), PgStatementError when the
// server refused the statement.
class PgConnection {
public:
    // Anything libpq takes: "postgresql://user@host/db", "postgresql:///db?host=/socket/folder", "dbname=x".
    explicit PgConnection(const QString& connectionText);
    ~PgConnection();
    PgConnection(const PgConnection&) = delete;
    PgConnection& operator=(const PgConnection&) = delete;

    PgResult exec(const char* sql, const PgParams& params = PgParams());
    // Statements without parameters, several at once: the schema's steps.
    void execScript(const QByteArray& sql);
    // The rows of a query one at a time, without holding them all in memory.
    void stream(const char* sql, const PgParams& params, const std::function<void(const PgResult& row)>& visit);

    // The server's connection text without any password, for titles and messages.
    QString where() const;
    int backendPid() const;
    bool isOpen() const;

private:
    [[noreturn]] void fail(pg_result* result);
    pg_conn* m_conn = nullptr;
    QString m_where;
};
