#include "app/TPW.h"

#include "app/PasswordRule.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qpn {

TPW::TPW(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint),
      Label1(new QLabel(QStringLiteral("４桁のパスワード（数値）を入れてください。"), this)),
      Label2(new QLabel(QStringLiteral("パスワードの既定値は'8362'です。"), this)),
      Edit1(new QLineEdit(DefaultPassword(), this)),
      BitBtn1(new QPushButton(QStringLiteral("OK"), this))
{
    setObjectName(QStringLiteral("PW"));
    setWindowTitle(QStringLiteral("ユーザーパスワード入力"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(4);
    Edit1->setEchoMode(QLineEdit::Password);
    Edit1->setAttribute(Qt::WA_InputMethodEnabled, false);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Edit1);
    layout->addWidget(Label2);
    layout->addWidget(BitBtn1, 0, Qt::AlignHCenter);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace qpn
