#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qpn {

class TDM;

// Registers the corporation name on the header row of the data module. It has
// no close box: only a name with something besides spaces closes it.
class TSetUphoujinmei : public QDialog
{
    Q_OBJECT

public:
    explicit TSetUphoujinmei(TDM &dm, QWidget *parent = nullptr);
    ~TSetUphoujinmei() override;

    QLabel *Label3;
    QLineEdit *DBEdit2; // HeadM.meisyou
    QPushButton *Button1;

    void Button1Click();
    void reject() override; // Escape does not close the form

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void releaseTable();

    TDM &m_dm;
    bool m_opened = false;
};

} // namespace qpn
