#include "export/CopyCsvDialog.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace qpn {

CopyCsvDialog::CopyCsvDialog(const QString &label, bool withCancel, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("CopyCsvDialog"));
    setWindowTitle(QStringLiteral("データ出力中"));
    setFixedSize(200, 110);
    auto *layout = new QVBoxLayout(this);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    Label1 = new QLabel(label, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    layout->addWidget(ProgressBar1);
    layout->addWidget(Label1);
    if (withCancel) {
        Button1 = new QPushButton(QStringLiteral("キャンセル"), this);
        Button1->setObjectName(QStringLiteral("Button1"));
        layout->addWidget(Button1, 0, Qt::AlignHCenter);
        connect(Button1, &QPushButton::clicked, this, [this] { m_cancelled = true; });
    }
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void CopyCsvDialog::setMaximum(int maximum)
{
    ProgressBar1->setMaximum(maximum);
}

void CopyCsvDialog::setProgress(int value)
{
    ProgressBar1->setValue(value);
}

void CopyCsvDialog::setLabel(const QString &text)
{
    Label1->setText(text);
}

} // namespace qpn
