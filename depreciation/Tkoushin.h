#pragma once

#include <QDialog>

#include <memory>

class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;

namespace qpn
{

namespace engine
{
class Database;
class Table;
} // namespace engine

class RadioGroup;

// The batch update form "減価償却の一括更新計算": shows the fiscal start and the
// calculation options, takes the protection choice and runs the calculation
// of every asset with a progress gauge. One instance lives for the whole
// process, so the choice and the revealed fixing button persist.
class Tkoushin : public QDialog
{
    Q_OBJECT

public:
    // The data folder's database (daicyoA, daicyoB) and the header table's
    // database (handle name or folder).
    Tkoushin(engine::Database &dataDatabase, const QString &headerDatabase,
             QWidget *parent = nullptr);
    ~Tkoushin() override;

    QFrame *Panel1;
    QLabel *Label1;
    QLabel *DBText1; // HeadM.KisyuDate
    QLabel *Label2;
    RadioGroup *RadioGroup1; // protection choice
    RadioGroup *RadioGroup5; // ResidualMethod
    RadioGroup *RadioGroup2; // StraightLineBasis
    RadioGroup *RadioGroup3; // SubsidyResidual
    RadioGroup *RadioGroup4; // RoundingMode
    QLabel *Label8;
    QLabel *Label13;
    QPushButton *Button1; // 実行
    QPushButton *BitBtn1; // cancel
    QProgressBar *Gauge1;
    QLabel *Label14;      // blank: reveals Button2
    QPushButton *Button2; // 過年度の償却計算の固定化

    void FormActivate();
    void FormClose();
    void Button1Click();
    void Button2Click();
    void Label14DblClick();

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLayout();
    int headerFiscalYear() const;
    void showProgress(int index, int count);

    engine::Database &m_data;
    std::unique_ptr<engine::Table> m_head;
};

} // namespace qpn
