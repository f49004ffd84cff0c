#include "tests/support/SupportPrinters.h"

#include <ostream>

// Lets GoogleTest print QString values in failure messages.
QT_BEGIN_NAMESPACE
void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE
