#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace qpn {

// The small "データ出力中" window shown while a grid exports: a progress bar,
// a centred label and, for the CSV pass, a "キャンセル" button.
class CopyCsvDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CopyCsvDialog(const QString &label, bool withCancel, QWidget *parent = nullptr);

    void setMaximum(int maximum);
    void setProgress(int value);
    void setLabel(const QString &text);
    bool cancelled() const { return m_cancelled; }

    QProgressBar *ProgressBar1 = nullptr;
    QLabel *Label1 = nullptr;
    QPushButton *Button1 = nullptr;

private:
    bool m_cancelled = false;
};

} // namespace qpn
