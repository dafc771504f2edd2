#include "core/server/PgConnection.h"

#include <QtEndian>

#include <libpq-fe.h>

#include <cstring>

namespace {

// Type oids of the server's built-in types, as pg_type fixes them.
constexpr Oid kBytea = 17, kInt8 = 20, kInt2 = 21, kInt4 = 23, kText = 25, kFloat8 = 701;
constexpr int kBinary = 1;

QString serverMessage(const char* text) {
    return QString::fromUtf8(text).simplified();
}

bool connectionGone(PGconn* conn, const QByteArray& state) {
    // Class 08 is a connection exception; 57P01-57P03 an administrator's shutdown or termination of the session.
    return PQstatus(conn) == CONNECTION_BAD || state.startsWith("08") || state.startsWith("57P");
}

template <typename T> QByteArray bigEndian(T value) {
    QByteArray bytes(sizeof(T), '\0');
    qToBigEndian<T>(value, bytes.data());
    return bytes;
}

} // namespace

PgParams& PgParams::add(unsigned type, QByteArray value) {
    m_types.push_back(type);
    m_lengths.push_back(static_cast<int>(value.size()));
    m_formats.push_back(kBinary);
    m_values.push_back(std::move(value));
    return *this;
}

PgParams& PgParams::text(const QString& value) {
    return add(kText, value.toUtf8());
}

PgParams& PgParams::bytes(const QByteArray& value) {
    return add(kBytea, value);
}

PgParams& PgParams::float8(double value) {
    return add(kFloat8, bigEndian<double>(value));
}

PgParams& PgParams::int2(qint16 value) {
    return add(kInt2, bigEndian<qint16>(value));
}

PgParams& PgParams::int4(qint32 value) {
    return add(kInt4, bigEndian<qint32>(value));
}

PgParams& PgParams::int8(qint64 value) {
    return add(kInt8, bigEndian<qint64>(value));
}

std::vector<const char*> PgParams::values() const {
    std::vector<const char*> pointers;
    for (const QByteArray& value : m_values)
        pointers.push_back(value.constData());
    return pointers;
}

PgResult& PgResult::operator=(PgResult&& other) noexcept {
    std::swap(m_result, other.m_result);
    return *this;
}

PgResult::~PgResult() {
    PQclear(m_result);
}

int PgResult::rows() const {
    return PQntuples(m_result);
}

qint64 PgResult::affected() const {
    return QByteArray(PQcmdTuples(m_result)).toLongLong();
}

bool PgResult::isNull(int row, int column) const {
    return PQgetisnull(m_result, row, column);
}

const char* PgResult::value(int row, int column) const {
    return PQgetvalue(m_result, row, column);
}

QString PgResult::text(int row, int column) const {
    return QString::fromUtf8(value(row, column), PQgetlength(m_result, row, column));
}

QByteArray PgResult::bytes(int row, int column) const {
    return QByteArray(value(row, column), PQgetlength(m_result, row, column));
}

double PgResult::float8(int row, int column) const {
    return qFromBigEndian<double>(value(row, column));
}

qint16 PgResult::int2(int row, int column) const {
    return qFromBigEndian<qint16>(value(row, column));
}

qint32 PgResult::int4(int row, int column) const {
    return qFromBigEndian<qint32>(value(row, column));
}

qint64 PgResult::int8(int row, int column) const {
    return qFromBigEndian<qint64>(value(row, column));
}

PgConnection::PgConnection(const QString& connectionText) {
    // A password typed into the connection text would sit in the shell's history, the process list or the settings
    // file; libpq takes it from ~/.pgpass or PGPASSWORD instead.
    const QByteArray text = connectionText.toUtf8();
    if (PQconninfoOption* options = PQconninfoParse(text.constData(), nullptr)) {
        bool password = false;
        for (const PQconninfoOption* option = options; option->keyword; ++option)
            password = password || (qstrcmp(option->keyword, "password") == 0 && option->val && *option->val);
        PQconninfoFree(options);
        if (password)
            throw StoreUnavailable(QStringLiteral("The server's connection text holds a password. Keep the password "
                                                  "in ~/.pgpass or PGPASSWORD, never on the command line or in the "
                                                  "settings, and leave it out of the text."));
    }
    m_conn = PQconnectdb(text.constData());
    if (PQstatus(m_conn) != CONNECTION_OK) {
        const QString reason = serverMessage(PQerrorMessage(m_conn));
        PQfinish(m_conn);
        m_conn = nullptr;
        // The text the user gave may hold a password after all: name the server by what libpq would not reveal.
        throw StoreUnavailable(QStringLiteral("Vardel cannot reach the database server.\r\n%1").arg(reason));
    }
    // Texts travel as UTF-8 whatever the server's or the client's locale.
    PQsetClientEncoding(m_conn, "UTF8");
    const QString host = QString::fromUtf8(PQhost(m_conn));
    m_where = QStringLiteral("%1@%2:%3/%4")
                  .arg(QString::fromUtf8(PQuser(m_conn)), host, QString::fromUtf8(PQport(m_conn)),
                       QString::fromUtf8(PQdb(m_conn)));
    exec("SET client_min_messages = warning");
}

PgConnection::~PgConnection() {
    PQfinish(m_conn);
}

void PgConnection::fail(PGresult* result) {
    const QByteArray state = result ? QByteArray(PQresultErrorField(result, PG_DIAG_SQLSTATE)) : QByteArray();
    const QString reason = serverMessage(result ? PQresultErrorMessage(result) : PQerrorMessage(m_conn));
    PQclear(result);
    if (connectionGone(m_conn, state))
        throw StoreUnavailable(
            QStringLiteral("The connection to the database server %1 was lost.\r\n%2").arg(m_where, reason),
            FileOutcome::NotWritten);
    throw PgStatementError(QStringLiteral("The database server %1 refused the change.\r\n%2").arg(m_where, reason),
                           state);
}

PgResult PgConnection::exec(const char* sql, const PgParams& params) {
    const std::vector<const char*> values = params.values();
    PGresult* result = PQexecParams(m_conn, sql, params.size(), params.types(), values.data(), params.lengths(),
                                    params.formats(), kBinary);
    const ExecStatusType status = PQresultStatus(result);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        fail(result);
    return PgResult(result);
}

void PgConnection::execScript(const QByteArray& sql) {
    PGresult* result = PQexec(m_conn, sql.constData());
    if (PQresultStatus(result) != PGRES_COMMAND_OK && PQresultStatus(result) != PGRES_TUPLES_OK)
        fail(result);
    PQclear(result);
}

void PgConnection::stream(const char* sql, const PgParams& params,
                          const std::function<void(const PgResult& row)>& visit) {
    const std::vector<const char*> values = params.values();
    if (!PQsendQueryParams(m_conn, sql, params.size(), params.types(), values.data(), params.lengths(),
                           params.formats(), kBinary))
        fail(nullptr);
    PQsetSingleRowMode(m_conn);
    PGresult* failed = nullptr;
    std::exception_ptr thrown;
    // Every result is taken, also after a failure, so that the connection is ready for the next statement.
    while (PGresult* result = PQgetResult(m_conn)) {
        const ExecStatusType status = PQresultStatus(result);
        if (status == PGRES_SINGLE_TUPLE && !thrown && !failed) {
            const PgResult row(result);
            try {
                visit(row);
            } catch (...) {
                thrown = std::current_exception();
            }
        } else if (status != PGRES_TUPLES_OK && status != PGRES_SINGLE_TUPLE && !failed) {
            failed = result;
        } else {
            PQclear(result);
        }
    }
    if (failed)
        fail(failed);
    if (thrown)
        std::rethrow_exception(thrown);
    if (PQstatus(m_conn) == CONNECTION_BAD)
        fail(nullptr);
}

QString PgConnection::where() const {
    return m_where;
}

int PgConnection::backendPid() const {
    return PQbackendPID(m_conn);
}

bool PgConnection::isOpen() const {
    return PQstatus(m_conn) == CONNECTION_OK;
}
