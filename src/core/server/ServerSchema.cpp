#include "core/server/ServerSchema.h"

#include "core/record/RecordFields.h"
#include "core/server/PgConnection.h"
#include "core/server/SchemaText.h"

namespace {

// Any number the schema's creation is serialized under; the history's appends use another.
constexpr qint64 kSchemaLock = 0x56617264656c0001;

} // namespace

QList<QByteArray> SchemaSteps() {
    static const QList<QByteArray> steps = [] {
        QList<QByteArray> found;
        const QByteArray marker = "\n--- version ";
        const QByteArray text = '\n' + QByteArray(kSchemaText);
        qsizetype at = text.indexOf(marker);
        while (at >= 0) {
            const qsizetype next = text.indexOf(marker, at + 1);
            found << text.mid(at + 1, next < 0 ? -1 : next - at - 1);
            at = next;
        }
        return found;
    }();
    return steps;
}

int SchemaVersion(PgConnection& connection) {
    if (connection.exec("SELECT to_regclass('schema_version') IS NULL").bytes(0, 0) == QByteArray(1, '\1'))
        return 0;
    const PgResult result = connection.exec("SELECT max(version) FROM schema_version");
    return result.isNull(0, 0) ? 0 : result.int4(0, 0);
}

void PrepareSchema(PgConnection& connection, int upTo) {
    connection.exec("BEGIN");
    try {
        connection.exec("SELECT pg_advisory_xact_lock($1)", PgParams().int8(kSchemaLock));
        const int version = SchemaVersion(connection);
        if (version > LatestSchemaVersion())
            throw FileError(QStringLiteral("The database on %1 was set up by a newer version of Vardel (schema "
                                           "version %2; this version knows up to %3). Use the newer version of "
                                           "Vardel with it.")
                                .arg(connection.where())
                                .arg(version)
                                .arg(LatestSchemaVersion()));
        const QList<QByteArray> steps = SchemaSteps();
        for (int step = version + 1; step <= upTo; ++step) {
            connection.execScript(steps[step - 1]);
            connection.exec("UPDATE schema_version SET version = $1", PgParams().int4(step));
        }
        connection.exec("COMMIT");
    } catch (...) {
        if (connection.isOpen())
            connection.exec("ROLLBACK");
        throw;
    }
}

QByteArray EmployeeColumn(const RecordField& field) {
    QByteArray column;
    for (const char* c = field.Name; *c; ++c) {
        if (*c >= 'A' && *c <= 'Z') {
            if (!column.isEmpty())
                column += '_';
            column += char(*c - 'A' + 'a');
        } else {
            column += *c;
        }
    }
    return column;
}
