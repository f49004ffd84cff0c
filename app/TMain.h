#pragma once

#include "app/StartUpView.h"

#include <QHash>
#include <QWidget>

#include <functional>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace qpn {

class DoubleClickLabel;
class StartUp;

// The main window: the title band and the two menu pages. Each menu button
// opens a form of its own module; a button whose form is not part of the
// program has no action and stays disabled. The first activation runs the
// start-up sequence.
class TMain : public QWidget, public StartUpView
{
    Q_OBJECT

public:
    using MenuAction = std::function<void()>;

    explicit TMain(QWidget *parent = nullptr);
    ~TMain() override;

    // Gives a menu control (by its name) the action that opens its form, and
    // enables it.
    void setMenuAction(const QString &controlName, MenuAction action);
    QPushButton *menuButton(const QString &controlName) const { return m_buttons.value(controlName); }
    QStringList menuControlNames() const { return m_order; }

    void setStartUp(StartUp *startUp) { m_startUp = startUp; }
    void FormActivate();

    // StartUpView
    void showUpdateDate(const QString &text) override;
    void showCorporationName(const QString &name) override;
    void showFiscalStart(const QString &text) override;
    void showUpdateNotice() override;
    QWidget *window() override { return this; }

    QFrame *Panel1;
    QLabel *Title;
    QLabel *L1;
    QLabel *L3;
    QTabWidget *PageControl1;
    QWidget *TabSheet1;
    QWidget *TabSheet2;
    // 初期設定メニュー
    QPushButton *BitBtn2, *Button3, *Button2, *Button4, *Button10, *Button11, *Button16, *BitBtn5, *BitBtn4;
    QLabel *Label6;
    DoubleClickLabel *Label5;
    // メインメニュー
    QPushButton *BitBtn1, *Button7, *Button1, *Button12, *Button13, *Button14, *Button6, *Button5, *Button8,
        *Button15, *BitBtn8, *BitBtn3;
    QFrame *PanelHP;
    QPushButton *BtnHP, *BtnUP, *BtnREM;
    QPushButton *Panel2, *Panel3, *Panel4, *Panel5;
    QLabel *Label4;
    QLineEdit *Edit1;
    QLabel *Label7;

    void BitBtn2Click();
    void Button12Click();
    void Button13Click();
    void Button14Click();
    void Button6Click();
    void Button15Click();
    void BitBtn3Click();
    void Label5DblClick();

signals:
    // Start-up decided that the program ends.
    void programEnded(int exitCode);

protected:
    bool event(QEvent *event) override;

private:
    QPushButton *addButton(const QString &name, const QString &caption, QWidget *parent);
    void buildTitleBand();
    void buildSetupPage();
    void buildMainPage();
    void runAction(const QString &controlName);
    void runDisabled(QPushButton *button, const QString &controlName);
    void runReport(QPushButton *button, int kind);

    QHash<QString, QPushButton *> m_buttons;
    QHash<QString, MenuAction> m_actions;
    QStringList m_order;
    StartUp *m_startUp = nullptr;
    bool m_activationQueued = false;
};

} // namespace qpn
