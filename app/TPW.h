#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qpn {

// The user-password prompt. However it is closed (OK, the close box or
// Escape), the caller takes the text of Edit1 as the typed password.
class TPW : public QDialog
{
    Q_OBJECT

public:
    explicit TPW(QWidget *parent = nullptr);

    QLabel *Label1;
    QLabel *Label2;
    QLineEdit *Edit1;
    QPushButton *BitBtn1;
};

} // namespace qpn
