#pragma once

#include <QString>

#include <ostream>

// GoogleTest finds these through argument-dependent lookup, so failures print
// the values instead of their bytes.
QT_BEGIN_NAMESPACE
void PrintTo(const QString &text, std::ostream *os);
QT_END_NAMESPACE
