#pragma once

#include <QDialog>

#include <memory>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qpn
{

class HeaderSettings;
class RadioGroup;

// The corporation settings form "初期設定１": the header row's address data,
// fiscal start, password and calculation options. Opening and closing run
// through HeaderSettings; closing is refused, and the form stays open, while
// a value cannot be taken.
class THead : public QDialog
{
    Q_OBJECT

public:
    // The header table's database, the data folder's and the engine session
    // (handle names or folders; empty names the default).
    THead(const QString &baseDatabase, const QString &dataDatabase,
          const QString &session = QString(), QWidget *parent = nullptr);
    ~THead() override;

    QFrame *Panel1;
    QPushButton *BitBtn1; // 閉じる
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label9, *Label10,
        *Label11;
    QLineEdit *RDBEdit3; // KisyuDate
    QLineEdit *RDBEdit2; // meisyou
    QLineEdit *RDBEdit4; // yuubin
    QLineEdit *RDBEdit5; // jyuusyo
    QLineEdit *RDBEdit6; // denwa
    QLineEdit *RDBEdit1; // PM5
    QLineEdit *RDBEdit7; // PM5
    QLabel *Label16;     // 新会計移行年度
    QLineEdit *DBEdit1;  // 年度
    RadioGroup *RadioGroup1, *RadioGroup2, *RadioGroup3, *RadioGroup4, *RadioGroup5, *RadioGroup6;
    QLabel *Label8, *Label12, *Label13;
    QLabel *Label14; // blank: toggles the subsidy options
    QLabel *Label15; // blank: the partial-disposal switch

    void FormActivate();
    // Saves and publishes; false when a value was refused and the form stays open.
    bool FormClose();
    void RadioGroup3Click();
    void Label14DblClick();
    void Label15DblClick();

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLayout();
    RadioGroup *radioGroupOf(const QString &column) const;
    void storeEdits();

    std::unique_ptr<HeaderSettings> m_settings;
    QString m_password; // PM5 as last typed in either of its two boxes
    bool m_opened = false;
};

} // namespace qpn
