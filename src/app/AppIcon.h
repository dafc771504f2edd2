#pragma once

#include <QDir>
#include <QIcon>

// The program's icon with every size drawn for it, so that small frames do not shrink the large picture.
inline QIcon ApplicationIcon() {
    QIcon icon;
    const QDir folder(QStringLiteral(":/icons"));
    for (const QString& name : folder.entryList({QStringLiteral("vardel-*.png")}))
        icon.addFile(folder.filePath(name));
    return icon;
}
