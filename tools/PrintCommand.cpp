// "vardel-data print": the main window's printouts, drawn by the same code into a PDF file, without a display.

#include "PrintCommand.h"

#include "Commands.h"

#include "core/base/AppGlobals.h"
#include "core/base/DataFolder.h"
#include "core/base/DateRules.h"
#include "core/base/FixedRecordFile.h"
#include "core/base/RegularFile.h"
#include "core/list/EmployeeList.h"
#include "core/print/PdfPrinterDevice.h"
#include "core/print/PrintHelpers.h"
#include "core/print/Printouts.h"
#include "core/store/DataFile.h"
#include "core/store/PersonnelStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QRegularExpression>

#include <array>
#include <cstdio>
#include <limits>
#include <optional>

namespace {

const char* const kPrintSynopsis =
    "usage: vardel-data print list   [list options] --out FILE.pdf [--replace]\n"
    "       vardel-data print report --slot N [--comments] [--photo] --out FILE.pdf [--replace]\n"
    "       vardel-data print forms  [--slot N | list options] --out FILE.pdf [--replace]\n"
    "       vardel-data print label  --slot N [--row R] [--col C] [--line1 TEXT] ... [--line4 TEXT]\n"
    "                                --out FILE.pdf [--replace]\n";
const char* const kPrintHelp = "Draws a printout of the main window into a PDF file (US Letter):\n"
                               "  list    the employee list; the list options are those of vardel-data list\n"
                               "          (vardel-data list --help names them)\n"
                               "  report  the information report of the employee in slot N, with the notepad\n"
                               "          (--comments) and the photograph (--photo) when the record has them\n"
                               "  forms   the annual update form of the employee in slot N, or one form per\n"
                               "          employee of the list, in list order\n"
                               "  label   an address label of the employee in slot N on a sheet of 3 x 10 labels,\n"
                               "          at row R (1-10) and column C (1-3), 1 and 1 without them; --line1 to\n"
                               "          --line4 replace the label's lines (at most 35 characters each)\n"
                               "Slot numbers are those vardel-data list prints. An existing PDF file is written\n"
                               "over only with --replace.\n";

enum class Printout { List, Report, Forms, Label };

const QStringList& PrintoutNames() {
    static const QStringList names{QStringLiteral("list"), QStringLiteral("report"), QStringLiteral("forms"),
                                   QStringLiteral("label")};
    return names;
}

struct PrintRequest {
    Printout kind = Printout::List;
    QString out;
    bool replace = false;
    qint32 slot = 0; // 0: none given
    int row = 1;
    int column = 1;
    bool comments = false;
    bool photo = false;
    std::array<std::optional<QString>, 4> lines;
    ListOptions list;
    bool statusGiven = false;
};

bool Fail(QString* error, const QString& text) {
    *error = text;
    return false;
}

// A whole number from low to high, written plainly ("07" and "+7" are not).
std::optional<int> NumberIn(const QString& text, int low, int high) {
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < low || n > high || QString::number(n) != text)
        return std::nullopt;
    return n;
}

// Whether the printout takes the option. The list's options, plain arguments and options nobody knows go to the
// list's reader for list and forms, which tells what is wrong with them.
bool TakesOption(Printout kind, const QString& name) {
    static const QRegularExpression labelOption(QStringLiteral("^--(row|col|line[1-4])$"));
    if (name == QLatin1String("--out") || name == QLatin1String("--replace"))
        return true;
    if (name == QLatin1String("--slot"))
        return kind != Printout::List;
    if (name == QLatin1String("--comments") || name == QLatin1String("--photo"))
        return kind == Printout::Report;
    if (labelOption.match(name).hasMatch())
        return kind == Printout::Label;
    return kind == Printout::List || kind == Printout::Forms;
}

bool ParsePrintArguments(const ReadArguments& args, PrintRequest* r, QString* error) {
    // Whatever stands first is read as the printout's name, an option or a mistaken argument as well.
    const ReadArguments::Item first = args.items.value(0);
    const QString kindName = args.items.isEmpty() ? args.mistaken : first.option.isEmpty() ? first.value : first.option;
    const qsizetype kind = PrintoutNames().indexOf(kindName);
    if (kind < 0)
        return Fail(error,
                    kindName.isEmpty()
                        ? QStringLiteral("which printout? list, report, forms or label")
                        : QStringLiteral("unknown printout \"%1\" (use list, report, forms or label)").arg(kindName));
    r->kind = static_cast<Printout>(kind);
    static const QRegularExpression lineOption(QStringLiteral("^--line([1-4])$"));
    const auto notAnOption = [&](const QString& name) {
        return Fail(error, QStringLiteral("%1 is not an option of print %2").arg(name, kindName));
    };

    ReadArguments rest = args;
    rest.items.removeFirst();
    for (const ReadArguments::Item& item : std::as_const(rest.items)) {
        const QString& name = item.option;
        const QString& value = item.value;
        if (!TakesOption(r->kind, name.isEmpty() ? value : name))
            return notAnOption(name.isEmpty() ? value : name);
        const auto bad = [&](const QString& allowed) {
            return Fail(error, QStringLiteral("bad value \"%1\" for %2 (use %3)").arg(value, name, allowed));
        };
        const QRegularExpressionMatch line = lineOption.match(name);

        if (name == QLatin1String("--out")) {
            r->out = value;
            if (r->out.isEmpty())
                return bad(QStringLiteral("the name of a PDF file"));
        } else if (name == QLatin1String("--replace")) {
            r->replace = true;
        } else if (name == QLatin1String("--slot")) {
            const std::optional<int> slot = NumberIn(value, 1, std::numeric_limits<qint32>::max());
            if (!slot)
                return bad(QStringLiteral("a slot number from 1, as vardel-data list prints it"));
            r->slot = *slot;
        } else if (name == QLatin1String("--comments") || name == QLatin1String("--photo")) {
            (name == QLatin1String("--comments") ? r->comments : r->photo) = true;
        } else if (name == QLatin1String("--row") || name == QLatin1String("--col")) {
            const bool row = name == QLatin1String("--row");
            const std::optional<int> n = NumberIn(value, 1, row ? LabelRows : LabelColumns);
            if (!n)
                return bad(row ? QStringLiteral("1 to 10") : QStringLiteral("1 to 3"));
            (row ? r->row : r->column) = *n;
        } else if (line.hasMatch()) {
            if (value.size() > LabelLineLength)
                return Fail(error, QStringLiteral("%1 is longer than %2 characters").arg(name).arg(LabelLineLength));
            r->lines.at(line.captured(1).toInt() - 1) = value;
        }
    }
    // A mistake of the list's options is told by the list's reader, after what is wrong with the options before it.
    if (rest.mistake != ReadArguments::Mistake::None) {
        if (!TakesOption(r->kind, rest.mistaken))
            return notAnOption(rest.mistaken);
        if (rest.mistake == ReadArguments::Mistake::MissingValue && !IsListOption(rest.mistaken))
            return Fail(error, rest.mistakeText());
    }

    if (r->kind == Printout::List || (r->kind == Printout::Forms && r->slot == 0)) {
        if (!ParseListArguments(rest, &r->list, error, &r->statusGiven))
            return false;
    } else if (r->kind == Printout::Forms &&
               (rest.mistake != ReadArguments::Mistake::None ||
                std::any_of(rest.items.begin(), rest.items.end(), [](const ReadArguments::Item& item) {
                    return item.option.isEmpty() || IsListOption(item.option);
                }))) {
        return Fail(error, QStringLiteral("--slot prints one employee's form and takes no list options"));
    }
    if ((r->kind == Printout::Report || r->kind == Printout::Label) && r->slot == 0)
        return Fail(error, QStringLiteral("print %1 needs --slot N").arg(kindName));
    if (r->out.isEmpty())
        return Fail(error, QStringLiteral("print needs --out FILE.pdf"));
    return true;
}

bool IsPdfFile(const QString& path) {
    const std::unique_ptr<QFile> file = OpenRegularFileForReading(path);
    return file && file->read(5) == "%PDF-";
}

// Why the PDF cannot go to path; empty when it can. Checked before anything is drawn, so that a long run does
// not end in a message it could have started with.
QString OutputProblem(const QString& path, bool replace) {
    const QFileInfo target(path);
    if (target.exists()) {
        if (target.isDir())
            return QStringLiteral("%1 is a folder").arg(path);
        if (!replace)
            return QStringLiteral("%1 exists; add --replace to write over it").arg(path);
        // Not even --replace writes over a data file or a document by mistake.
        if (!IsPdfFile(path))
            return QStringLiteral("%1 is not a PDF file; it is left as it is").arg(path);
    }
    const QFileInfo folder(target.absolutePath());
    if (!folder.exists())
        return QStringLiteral("the folder %1 does not exist").arg(folder.filePath());
    if (!folder.isDir())
        return QStringLiteral("%1 is not a folder").arg(folder.filePath());
    if (!folder.isWritable())
        return QStringLiteral("cannot write in the folder %1").arg(folder.filePath());
    return QString();
}

QString NoSuchSlot(qint32 slot, qint64 count) {
    return QStringLiteral("there is no employee in slot %1: the data file holds %2 record%3")
        .arg(slot)
        .arg(count)
        .arg(count == 1 ? QString() : QStringLiteral("s"));
}

// What a printout is drawn from, read in one go.
struct PrintData {
    PersonnelRecord record; // the employee of --slot
    QStringList headings;   // of the list
    QList<ListRow> rows;
    QList<PersonnelRecord> forms; // the listed employees' records, in list order
};

// Reads what the printout needs, the whole of it under one hold of the folder lock, which every writer takes:
// the list and the records it names come from one state of the file, even while the program runs, so that no
// form goes to the wrong person because a removal moved the records in between. Drawing comes afterwards,
// without the lock, so the program's saves do not wait for it. Returns a reason when there is nothing to print.
// The records of a printout: the one asked for by key, or the list's forms from one consistent read.
QString readPrintData(PrintRequest& r, PrintData* data) {
    // Looking must not create the file.
    const bool fileThere = DataFilePresent();
    if (r.kind == Printout::List || (r.kind == Printout::Forms && r.slot == 0)) {
        if (fileThere)
            data->rows = r.statusGiven ? BuildEmployeeRows(r.list, QDate::currentDate()).Rows
                                       : BuildEmployeeRowsForFileStatus(r.list, QDate::currentDate()).Rows;
        if (data->rows.isEmpty())
            return QStringLiteral("no employee is in this list; nothing was printed");
        data->headings = HeaderTexts(ListFormatString(r.list));
    }
    if (!fileThere)
        return r.slot > 0 ? NoSuchSlot(r.slot, 0) : QString();
    PersonnelStore& store = ActiveStore();
    if (r.slot > 0) {
        qint64 version = 0;
        if (!store.Read(r.slot, data->record, version))
            return NoSuchSlot(r.slot, store.Counts().records);
    }
    if (r.kind == Printout::Forms && r.slot == 0) {
        QList<RecordKey> keys;
        keys.reserve(data->rows.size());
        for (const ListRow& row : std::as_const(data->rows))
            keys << row.Slot;
        data->forms.resize(keys.size());
        store.ReadMany(keys, [&](qsizetype index, const char* bytes) {
            PersonnelRecord record = DecodePersonnelRecord(bytes);
            // The form has no room for them; a large list fits in memory without them.
            record.Notepad.clear();
            record.PicturePath.clear();
            data->forms[index] = std::move(record);
        });
    }
    return QString();
}

QString ReadPrintData(PrintRequest& r, PrintData* data) {
    // As the main window trims it.
    r.list.OtherText = TrimBlanks(r.list.OtherText);
    QString reason;
    ActiveStore().Exclusive([&] { reason = readPrintData(r, data); });
    return reason;
}

int Failure(const QString& reason) {
    PrintError(reason, "vardel-data print");
    return 1;
}

int Print(PrintRequest& r, PdfPrinterDevice& pdf) {
    PrintData data;
    if (const QString nothing = ReadPrintData(r, &data); !nothing.isEmpty())
        return Failure(nothing);
    const double now = NowOADate();
    const PersonnelRecord& record = data.record;

    switch (r.kind) {
    case Printout::List: {
        QList<QStringList> rows;
        rows.reserve(data.rows.size());
        for (const ListRow& row : std::as_const(data.rows))
            rows.append({row.Cell(0), row.Cell(1), row.Cell(2)});
        PrintEmployeeList(pdf, {MainWindowCaption(), ListHeading(r.list), data.headings, rows, now,
                                ListShownColumns(r.list.TypeList)});
        break;
    }
    case Printout::Report: {
        const bool comments = r.comments && !record.Notepad.trimmed().isEmpty();
        const QString picturePath = record.PicturePath.trimmed();
        QImage photo;
        if (r.photo && !picturePath.isEmpty()) {
            QString problem;
            const std::unique_ptr<QFile> file = OpenRegularFileForReading(picturePath, &problem);
            if (file) {
                QImageReader reader(file.get());
                // A phone's portrait is stored sideways with a note to turn it.
                reader.setAutoTransform(true);
                photo = reader.read();
                problem = reader.errorString();
            }
            if (photo.isNull())
                return Failure(
                    QStringLiteral("cannot read the photograph %1: %2; nothing was printed").arg(picturePath, problem));
        }
        PrintInformationReport(pdf, nullptr, record, comments, now);
        // The picture's heading is the employee's name as the list shows it.
        if (!photo.isNull())
            PrintPicture(pdf, MakeListRow(ListOptions(), record, r.slot, QDate::currentDate()).Name, photo);
        break;
    }
    case Printout::Forms:
        if (r.slot > 0)
            PrintUpdateForm(pdf, record, now);
        for (const PersonnelRecord& listed : std::as_const(data.forms))
            PrintUpdateForm(pdf, listed, now);
        break;
    case Printout::Label: {
        const QStringList field = RecordFormTexts(record);
        // The program offers a label only for an employee with a street address.
        if (field.at(12).isEmpty())
            return Failure(QStringLiteral("the employee in slot %1 has no street address").arg(r.slot));
        QStringList lines = AddressLabelLines(field.at(1), field.at(3), field.at(12), field.at(13));
        for (int i = 0; i < 4; ++i)
            if (r.lines.at(i))
                lines[i] = *r.lines.at(i);
        PrintAddressLabel(pdf, lines, r.row, r.column);
        break;
    }
    }
    pdf.close();
    return 0;
}

QString DocumentTitle(Printout kind) {
    static const QStringList titles{QStringLiteral("Employee List"), QStringLiteral("Information Report"),
                                    QStringLiteral("Annual Update Forms"), QStringLiteral("Address Label")};
    return AppTitle + QStringLiteral(" - ") + titles.at(static_cast<int>(kind));
}

} // namespace

QByteArray PrintHelp() {
    return QByteArray(kPrintSynopsis) + kPrintHelp;
}

int PrintCommand(const QStringList& arguments) {
    const ReadArguments args = ReadOptions(arguments, {kPrintOptions, kListOptions});
    PrintRequest request;
    QString error;
    if (!ParsePrintArguments(args, &request, &error)) {
        PrintError(error, "vardel-data print");
        std::fprintf(stderr, "%s(vardel-data print --help tells more)\n", kPrintSynopsis);
        return 2;
    }
    const QString out = QDir::cleanPath(QDir(StartingFolder()).absoluteFilePath(request.out));
    if (const QString problem = OutputProblem(out, request.replace); !problem.isEmpty())
        return Failure(problem);
    if (!PreparePrinter())
        std::fprintf(stderr,
                     "vardel-data print: warning: \"Arial\" is drawn in %s, which has other widths; install "
                     "fonts-liberation for the printouts' layout\n",
                     TerminalText(ResolvedArialFamily()).constData());

    PdfPrinterDevice pdf(out, DocumentTitle(request.kind),
                         request.replace ? PdfPrinterDevice::Existing::Replace : PdfPrinterDevice::Existing::Refuse);
    try {
        return Print(request, pdf);
    } catch (const PrinterError& e) {
        return Failure(e.text());
    }
}
