#pragma once

#include "platform/CopyProgress.h"

#include <memory>

class QProgressDialog;
class QWidget;

namespace qpn {

// The copy's progress window, owned by the given window. It appears only when
// the copy looks like taking longer than a moment.
class CopyProgressDialog final : public CopyProgress
{
public:
    explicit CopyProgressDialog(QWidget *owner);
    ~CopyProgressDialog() override;

    void start(qint64 total) override;
    bool advance(qint64 done, const QString &file) override;
    void finish() override;

private:
    QWidget *m_owner;
    std::unique_ptr<QProgressDialog> m_dialog;
    qint64 m_scale = 1;
};

} // namespace qpn
