// The user record decoder on any 500 bytes, with the password rules that read its fields.

#include "FuzzSupport.h"

#include "core/base/AppGlobals.h"
#include "core/users/UserList.h"

#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray image = EncodeUserRecord(UserRecord());
    const auto used = static_cast<qsizetype>(std::min<size_t>(size, UserRecordLength));
    image.replace(qsizetype(0), used, reinterpret_cast<const char*>(data), used);
    FUZZ_CHECK(image.size() == UserRecordLength);

    const UserRecord user = DecodeUserRecord(image.constData());
    const QByteArray once = EncodeUserRecord(user);
    FUZZ_CHECK(once.size() == UserRecordLength);
    FUZZ_CHECK(EncodeUserRecord(DecodeUserRecord(once.constData())) == once);
    FUZZ_CHECK(once.mid(0, 8) == image.mid(0, 8));
    FUZZ_CHECK(once.mid(59, 2) == image.mid(59, 2));

    const QString password = UnscramblePassword(user.Password);
    FUZZ_CHECK(password.size() <= 8);
    if (IsValidPassword(password)) {
        const QString stored = ScramblePassword(password);
        FUZZ_CHECK(stored.size() == 2 * password.trimmed().size());
        FUZZ_CHECK(UnscramblePassword(stored) == password.trimmed());
    }
    (void)AccessLevelName(user.AccessLevel);
    return 0;
}
