// The employee table of schema.sql against the record's fields: a column the server stores but the program does
// not bind, or one narrower than its field, would only show up on a server.

#include "core/record/RecordFields.h"
#include "core/server/ServerSchema.h"

#include <QRegularExpression>
#include <QTest>

namespace {

// The stored columns of CREATE TABLE employee, name to definition, in their order; the key, the row's version and
// the generated columns are the server's own.
QList<std::pair<QByteArray, QByteArray>> storedColumns() {
    const QByteArray schema = SchemaSteps().join();
    const qsizetype start = schema.indexOf("CREATE TABLE employee (");
    const qsizetype end = schema.indexOf("\n);", start);
    QList<std::pair<QByteArray, QByteArray>> columns;
    for (QByteArray line : schema.mid(start, end - start).split('\n').mid(1)) {
        line = line.trimmed();
        if (line.endsWith(','))
            line.chop(1);
        const qsizetype blank = line.indexOf(' ');
        const QByteArray name = line.left(blank);
        if (name != "key" && name != "version" && !line.contains("GENERATED"))
            columns.append({name, line.mid(blank + 1)});
    }
    return columns;
}

} // namespace

class TestEmployeeColumns : public QObject {
    Q_OBJECT

private slots:
    void columnsAreTheFieldsInOrder() {
        QList<QByteArray> expected;
        for (const RecordField& field : RecordFields)
            expected << EmployeeColumn(field);
        QList<QByteArray> names;
        for (const auto& column : storedColumns())
            names << column.first;
        QCOMPARE(names, expected);
    }

    void columnKeepsItsField_data() {
        QTest::addColumn<QByteArray>("column");
        QTest::addColumn<QByteArray>("definition");
        for (const RecordField& field : RecordFields) {
            const QByteArray column = EmployeeColumn(field);
            QByteArray definition = "smallint NOT NULL";
            if (field.Kind == FieldKind::Text)
                definition =
                    "text NOT NULL CHECK (char_length(" + column + ") <= " + QByteArray::number(field.Width) + ")";
            else if (field.Kind == FieldKind::Stamp || field.Kind == FieldKind::Date)
                definition = "double precision NOT NULL";
            QTest::newRow(field.Name) << column << definition;
        }
    }

    void columnKeepsItsField() {
        QFETCH(QByteArray, column);
        QFETCH(QByteArray, definition);
        QByteArray found;
        for (const auto& [name, text] : storedColumns())
            if (name == column)
                found = text;
        QCOMPARE(found, definition);
    }
};

QTEST_GUILESS_MAIN(TestEmployeeColumns)
#include "tst_employeecolumns.moc"
