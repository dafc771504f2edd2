#pragma once

#include <QString>

#include <xlsxwriter.h>

// The functions of libxlsxwriter that the export calls. The library is opened when the first workbook is written,
// not when the program starts: it brings a compression and a cryptography library with it, whose loading every
// start (and every vardel-data command) would pay for a spreadsheet that most runs never write.
struct XlsxLibrary {
    decltype(&::workbook_new) workbook_new;
    decltype(&::workbook_add_worksheet) workbook_add_worksheet;
    decltype(&::workbook_add_format) workbook_add_format;
    decltype(&::workbook_close) workbook_close;
    decltype(&::format_set_bold) format_set_bold;
    decltype(&::format_set_num_format) format_set_num_format;
    decltype(&::format_set_text_wrap) format_set_text_wrap;
    decltype(&::worksheet_write_string) worksheet_write_string;
    decltype(&::worksheet_write_number) worksheet_write_number;
    decltype(&::worksheet_freeze_panes) worksheet_freeze_panes;
    decltype(&::worksheet_set_column) worksheet_set_column;
    decltype(&::lxw_strerror) lxw_strerror;
};

// The library, opened once; nullptr with *error saying why when it cannot be opened or lacks a function.
const XlsxLibrary* OpenXlsxLibrary(QString* error);
