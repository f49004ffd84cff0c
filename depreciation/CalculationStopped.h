#pragma once

#include <QString>

#include <stdexcept>

namespace qpn {

// A failed data check of an asset: its message has been shown and the whole
// operation (a batch run included) stops at that asset.
class CalculationStopped : public std::runtime_error
{
public:
    CalculationStopped(int assetId, const QString &message)
        : std::runtime_error(message.toStdString()), m_assetId(assetId), m_message(message)
    {
    }
    int assetId() const { return m_assetId; }
    QString message() const { return m_message; }

private:
    int m_assetId;
    QString m_message;
};

} // namespace qpn
