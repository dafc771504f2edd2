#include "core/exchange/XlsxLibrary.h"

#include "core/base/SharedLibrary.h"

namespace {

struct Opened {
    XlsxLibrary functions{};
    QString error;
};

// Keeps the first function that is missing, the one the message names.
template <typename Function> void take(SharedLibrary& library, const char* name, Function* function, QString* missing) {
    QString why;
    *function = library.resolve<Function>(name, &why);
    if (!*function && missing->isEmpty())
        *missing = why;
}

Opened open() {
    Opened opened;
    static SharedLibrary library(VARDEL_XLSXWRITER_LIBRARY);
    if (!library.load()) {
        opened.error = QStringLiteral("the spreadsheet library cannot be loaded (%1)").arg(library.loadError());
        return opened;
    }
    XlsxLibrary& f = opened.functions;
    QString missing;
    take(library, "workbook_new", &f.workbook_new, &missing);
    take(library, "workbook_add_worksheet", &f.workbook_add_worksheet, &missing);
    take(library, "workbook_add_format", &f.workbook_add_format, &missing);
    take(library, "workbook_close", &f.workbook_close, &missing);
    take(library, "format_set_bold", &f.format_set_bold, &missing);
    take(library, "format_set_num_format", &f.format_set_num_format, &missing);
    take(library, "format_set_text_wrap", &f.format_set_text_wrap, &missing);
    take(library, "worksheet_write_string", &f.worksheet_write_string, &missing);
    take(library, "worksheet_write_number", &f.worksheet_write_number, &missing);
    take(library, "worksheet_freeze_panes", &f.worksheet_freeze_panes, &missing);
    take(library, "worksheet_set_column", &f.worksheet_set_column, &missing);
    take(library, "lxw_strerror", &f.lxw_strerror, &missing);
    if (!missing.isEmpty())
        opened.error = QStringLiteral("the spreadsheet library ") + missing;
    return opened;
}

} // namespace

const XlsxLibrary* OpenXlsxLibrary(QString* error) {
    static const Opened opened = open();
    if (!opened.error.isEmpty()) {
        *error = opened.error;
        return nullptr;
    }
    return &opened.functions;
}
