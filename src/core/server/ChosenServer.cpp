#include "core/store/PersonnelStore.h"

QString ChosenServer(const QString& commandLineValue, const QString& settingValue) {
    if (!commandLineValue.trimmed().isEmpty())
        return commandLineValue.trimmed();
    const QString environment = qEnvironmentVariable("VARDEL_SERVER").trimmed();
    if (!environment.isEmpty())
        return environment;
    return settingValue.trimmed();
}
