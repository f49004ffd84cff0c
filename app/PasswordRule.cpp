#include "app/PasswordRule.h"

namespace qpn {

QString DefaultPassword()
{
    return QStringLiteral("8362");
}

QString MaintenanceCode()
{
    return QStringLiteral("3048");
}

QString StoredPassword(int pm5)
{
    return QString::asprintf("%.4d", pm5);
}

bool PasswordAccepted(const QString &storedPassword, const QString &typed)
{
    const QString expected = storedPassword == QLatin1String("0000") ? DefaultPassword() : storedPassword;
    return typed == expected || typed == MaintenanceCode();
}

} // namespace qpn
