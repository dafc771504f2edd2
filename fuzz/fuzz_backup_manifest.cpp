// A backup manifest's reader on any bytes: what it accepts is written back to the same manifest.

#include "FuzzSupport.h"

#include "core/backup/BackupManifest.h"

#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString error;
    const std::optional<BackupManifest> manifest = ParseManifest(text, &error);
    if (!manifest)
        return 0;
    const QByteArray again = FormatManifest(*manifest);
    QString againError;
    const std::optional<BackupManifest> reread = ParseManifest(again, &againError);
    FUZZ_CHECK(reread.has_value());
    FUZZ_CHECK(FormatManifest(*reread) == again);
    return 0;
}
