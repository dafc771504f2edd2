#include "ScriptedDialogs.h"

#include "ui/controls/Cp1252Entry.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QtTest>

// Typing, pasting and dropping into boxes that hold the code-page rule.
class TestCp1252Entry : public QObject {
    Q_OBJECT

    enum Action { Typing, Pasting, Dropping, Setting };

    static void PasteInto(QWidget* box, const QString& text) {
        QApplication::clipboard()->setText(text);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    }

    // Types text key by key, each key carrying its character as a keyboard layout would deliver it.
    static void Type(QWidget* box, const QString& text) {
        for (char32_t c : text.toUcs4())
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key(QChar::toUpper(c)), QString::fromUcs4(&c, 1),
                                Qt::NoModifier);
    }

    // Drops text at the box's cursor.
    static void DropAt(QWidget* target, const QPoint& at, const QString& text) {
        QMimeData mime;
        mime.setText(text);
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDragMoveEvent move(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
        QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
    }

    static void addColumns() {
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("after");
    }
    static void row(const char* name, int maxLength, const QString& before, int cursor, Action action,
                    const QString& input, const QString& after) {
        QTest::newRow(name) << maxLength << before << cursor << int(action) << input << after;
    }

private slots:
    void singleLine_data() {
        addColumns();
        row("typed letter of the code page", 15, "Zo", 2, Typing, "ë", "Zoë");
        row("typed letter outside is refused", 15, "ukasz", 0, Typing, "Ł", "ukasz");
        row("typed emoji is refused", 15, "Zo", 2, Typing, "😀", "Zo");
        row("pasted text is cleaned", 15, "", 0, Pasting, "Łukasz", "Lukasz");
        row("pasted in the middle", 20, "Ann Lee", 4, Pasting, "Wałęsa-", "Ann Walesa-Lee");
        row("pasted line break becomes a blank", 15, "", 0, Pasting, "Ann\r\nLee", "Ann Lee");
        row("full box keeps its text", 5, "abcde", 2, Pasting, "XY", "abcde");
        row("only what fits goes in", 5, "abc", 1, Pasting, "XYZ", "aXYbc");
        row("cleaning that would overflow is refused", 5, "abcd", 4, Pasting, "\uFB01", "abcd");
        row("dropped text is cleaned", 15, "", 0, Dropping, "Dvořák", "Dvorák");
        row("text set by the window is cleaned", 15, "", 0, Setting, "Đorđe", "Dorde");
    }
    void singleLine() {
        QFETCH(int, maxLength);
        QFETCH(QString, before);
        QFETCH(int, cursor);
        QFETCH(int, action);
        QFETCH(QString, input);
        QFETCH(QString, after);
        QLineEdit box;
        InstallCp1252Entry(&box, maxLength);
        QCOMPARE(box.maxLength(), maxLength);
        box.setText(before);
        box.setCursorPosition(cursor);
        switch (action) {
        case Typing:
            Type(&box, input);
            break;
        case Pasting:
            PasteInto(&box, input);
            break;
        case Dropping:
            DropAt(&box, box.rect().center(), input);
            break;
        case Setting:
            box.setText(input);
            break;
        }
        QCOMPARE(box.text(), after);
    }

    void multiLine_data() {
        addColumns();
        const QString full = QStringLiteral("0123456789");
        row("typed into a full box", 10, full, 5, Typing, "x", full);
        row("pasted into a full box", 10, full, 5, Pasting, "abc", full);
        row("pasted where two fit", 10, "01234567", 3, Pasting, "abc", "012ab34567");
        row("line break takes two places", 10, "012345678", 9, Typing, "\r", "012345678");
        row("line break with room", 10, "01234567", 8, Typing, "\r", "01234567\n");
        row("pasted break not split", 10, "01234567", 8, Pasting, "a\nb", "01234567a");
        row("typed letter outside is refused", 0, "Note", 4, Typing, "Ł", "Note");
        row("pasted lines are cleaned", 0, "", 0, Pasting, "Łódź\nKraków", "Lódz\nKraków");
        row("dropped text is cleaned", 0, "", 0, Dropping, "Ørsted – Ōno", "Ørsted – Ono");
        row("text set by the window is cut", 10, "", 0, Setting, "0123456789AB", full);
    }
    void multiLine() {
        QFETCH(int, maxLength);
        QFETCH(QString, before);
        QFETCH(int, cursor);
        QFETCH(int, action);
        QFETCH(QString, input);
        QFETCH(QString, after);
        // Both kinds of multi-line box behave alike.
        QPlainTextEdit plain;
        QTextEdit rich;
        InstallCp1252Entry(&plain, maxLength);
        InstallCp1252Entry(&rich, maxLength);
        const QList<QWidget*> boxes = {&plain, &rich};
        for (QWidget* box : boxes) {
            auto* p = qobject_cast<QPlainTextEdit*>(box);
            auto* r = qobject_cast<QTextEdit*>(box);
            p ? p->setPlainText(before) : r->setPlainText(before);
            QTextCursor c = p ? p->textCursor() : r->textCursor();
            c.setPosition(cursor);
            p ? p->setTextCursor(c) : r->setTextCursor(c);
            switch (action) {
            case Typing:
                if (input == QLatin1String("\r"))
                    QTest::keyClick(box, Qt::Key_Return);
                else
                    Type(box, input);
                break;
            case Pasting:
                PasteInto(box, input);
                break;
            case Dropping: {
                QWidget* viewport = p ? p->viewport() : r->viewport();
                DropAt(viewport, QPoint(5, 5), input);
                break;
            }
            case Setting:
                p ? p->setPlainText(input) : r->setPlainText(input);
                break;
            }
            QCOMPARE(p ? p->toPlainText() : r->toPlainText(), after);
        }
    }

    // The clerk is told what a paste had to change, in either kind of box; text the window sets is not told.
    void pastedChangesAreTold() {
        ScriptedDialogs scripted;
        scripted.answer(MsgResult::OK);
        scripted.answer(MsgResult::OK);
        QLineEdit line;
        QPlainTextEdit notes;
        InstallCp1252Entry(&line, 15);
        InstallCp1252Entry(&notes, 0);
        line.setText(QStringLiteral("Đorđe"));
        PasteInto(&line, QStringLiteral("王小王"));
        PasteInto(&notes, QStringLiteral("Łódź"));
        QCoreApplication::processEvents();
        QCOMPARE(scripted.calls().size(), 2);
        QCOMPARE(scripted.calls().at(0).text,
                 QStringLiteral("Some characters cannot be stored and were replaced:\r\n\r\n"
                                "\"王\" by \"?\"\r\n\"小\" by \"?\""));
        QVERIFY(scripted.calls().at(1).text.endsWith(QStringLiteral("\"Ł\" by \"L\"\r\n\"ź\" by \"z\"")));
    }

    void cleaningIsOneUndoStepWithThePaste() {
        QPlainTextEdit box;
        InstallCp1252Entry(&box, 0);
        box.setPlainText(QStringLiteral("Name: "));
        box.moveCursor(QTextCursor::End);
        PasteInto(&box, QStringLiteral("Łukasz"));
        QCOMPARE(box.toPlainText(), QStringLiteral("Name: Lukasz"));
        box.undo();
        QCOMPARE(box.toPlainText(), QStringLiteral("Name: "));
    }

    void storedLength_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("length");
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("plain") << QStringLiteral("abc") << 3;
        QTest::newRow("CR LF") << QStringLiteral("a\r\nb") << 4;
        QTest::newRow("LF") << QStringLiteral("a\nb") << 4;
        QTest::newRow("lone CR") << QStringLiteral("a\rb") << 4;
        QTest::newRow("paragraph separator") << QStringLiteral("a\u2029b") << 4;
        QTest::newRow("two breaks") << QStringLiteral("\n\n") << 4;
    }
    void storedLength() {
        QFETCH(QString, text);
        QFETCH(int, length);
        QCOMPARE(StoredTextLength(text), length);
    }
};

QTEST_MAIN(TestCp1252Entry)
#include "tst_cp1252entry.moc"
