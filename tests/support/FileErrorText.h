#pragma once

#include "core/base/FileError.h"

#include <QString>

#include <functional>

// The text of the FileError that work raises, or "<no error>" when it raises none.
inline QString FileErrorText(const std::function<void()>& work) {
    try {
        work();
    } catch (const FileError& error) {
        return error.text();
    }
    return QStringLiteral("<no error>");
}
