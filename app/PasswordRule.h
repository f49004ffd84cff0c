#pragma once

#include <QString>

namespace qpn {

// The user password is kept in HeadM.PM5 as a number and compared as four
// digits; 0 means it was never set and the published default applies.
QString DefaultPassword();   // "8362"
QString MaintenanceCode();   // "3048", accepted whatever the stored password
QString StoredPassword(int pm5);
bool PasswordAccepted(const QString &storedPassword, const QString &typed);

} // namespace qpn
