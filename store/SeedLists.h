#pragma once

#include <QStringList>

namespace qpn {

// Starting rows for the empty master lists, one "code,name" line each.
QStringList SocialWelfareAccounts();
QStringList SchoolAccounts();       // school and public-interest corporations
QStringList PlaceholderList();      // departments and suppliers

} // namespace qpn
