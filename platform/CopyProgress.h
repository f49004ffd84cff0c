#pragma once

#include <QString>

namespace qpn {

// Where a folder copy reports how far it is. Amounts are bytes.
class CopyProgress
{
public:
    virtual ~CopyProgress() = default;
    virtual void start(qint64 total) = 0;
    // Returns false when the user asked to stop.
    virtual bool advance(qint64 done, const QString &file) = 0;
    virtual void finish() = 0;
};

} // namespace qpn
