#include "platform/CopyProgressDialog.h"

#include <QFileInfo>
#include <QProgressDialog>

#include <limits>

namespace qpn {

CopyProgressDialog::CopyProgressDialog(QWidget *owner) : m_owner(owner) {}

CopyProgressDialog::~CopyProgressDialog() = default;

void CopyProgressDialog::start(qint64 total)
{
    // The bar counts in units that fit its int range.
    m_scale = 1;
    while (total / m_scale > std::numeric_limits<int>::max())
        m_scale *= 1024;
    m_dialog = std::make_unique<QProgressDialog>(QStringLiteral("コピーしています..."), QStringLiteral("キャンセル"),
                                                 0, static_cast<int>(total / m_scale), m_owner);
    m_dialog->setWindowTitle(QStringLiteral("コピー中"));
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setMinimumDuration(800);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    m_dialog->setValue(0);
}

bool CopyProgressDialog::advance(qint64 done, const QString &file)
{
    if (!m_dialog)
        return true;
    m_dialog->setLabelText(QStringLiteral("コピーしています...\n") + QFileInfo(file).fileName());
    m_dialog->setValue(static_cast<int>(done / m_scale));
    return !m_dialog->wasCanceled();
}

void CopyProgressDialog::finish()
{
    m_dialog.reset();
}

} // namespace qpn
