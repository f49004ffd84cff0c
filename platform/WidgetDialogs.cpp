#include "platform/WidgetDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include <utility>

namespace qpn {

namespace {

QMessageBox::StandardButton standardButton(DialogButton button)
{
    switch (button) {
    case DialogButton::Ok: return QMessageBox::Ok;
    case DialogButton::Cancel: return QMessageBox::Cancel;
    case DialogButton::Yes: return QMessageBox::Yes;
    case DialogButton::No: return QMessageBox::No;
    case DialogButton::YesToAll: return QMessageBox::YesToAll;
    case DialogButton::NoToAll: return QMessageBox::NoToAll;
    case DialogButton::Abort: return QMessageBox::Abort;
    case DialogButton::Retry: return QMessageBox::Retry;
    case DialogButton::Ignore: return QMessageBox::Ignore;
    case DialogButton::Close: return QMessageBox::Close;
    case DialogButton::None: break;
    }
    return QMessageBox::NoButton;
}

QMessageBox::Icon icon(DialogKind kind)
{
    switch (kind) {
    case DialogKind::Warning: return QMessageBox::Warning;
    case DialogKind::Error: return QMessageBox::Critical;
    case DialogKind::Information: return QMessageBox::Information;
    case DialogKind::Confirmation: return QMessageBox::Question;
    case DialogKind::Plain: break;
    }
    return QMessageBox::NoIcon;
}

// Messages keep their line breaks as written (CR LF, LF CR or a lone CR);
// the box shows each as one line break.
QString displayText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

QString WidgetDialogs::defaultCaption(DialogKind kind)
{
    switch (kind) {
    case DialogKind::Warning: return QStringLiteral("警告");
    case DialogKind::Error: return QStringLiteral("エラー");
    case DialogKind::Information: return QStringLiteral("情報");
    case DialogKind::Confirmation: return QStringLiteral("確認");
    case DialogKind::Plain: break;
    }
    const QString title = QApplication::applicationDisplayName();
    return title.isEmpty() ? QStringLiteral("QPN2") : title;
}

QString WidgetDialogs::buttonText(DialogButton button)
{
    switch (button) {
    case DialogButton::Ok: return QStringLiteral("OK");
    case DialogButton::Cancel: return QStringLiteral("キャンセル");
    case DialogButton::Yes: return QStringLiteral("はい(&Y)");
    case DialogButton::No: return QStringLiteral("いいえ(&N)");
    case DialogButton::YesToAll: return QStringLiteral("すべてはい(&A)");
    case DialogButton::NoToAll: return QStringLiteral("すべていいえ(&O)");
    case DialogButton::Abort: return QStringLiteral("中止(&A)");
    case DialogButton::Retry: return QStringLiteral("再試行(&R)");
    case DialogButton::Ignore: return QStringLiteral("無視(&I)");
    case DialogButton::Close: return QStringLiteral("閉じる(&C)");
    case DialogButton::None: break;
    }
    return {};
}

QString WidgetDialogs::pickerFilter(const QString &filter)
{
    if (!filter.contains(QLatin1Char('|')))
        return filter;
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << QStringLiteral("%1 (%2)").arg(parts.at(i), patterns);
    }
    return filters.join(QStringLiteral(";;"));
}

QWidget *WidgetDialogs::owner()
{
    return QApplication::activeWindow();
}

DialogButton WidgetDialogs::message(DialogKind kind, const QString &text, const QList<DialogButton> &buttons,
                                    const QString &caption)
{
    QMessageBox box(icon(kind), caption.isEmpty() ? defaultCaption(kind) : caption, displayText(text),
                    QMessageBox::NoButton, owner());
    box.setTextFormat(Qt::PlainText);
    const QList<DialogButton> offered = buttons.isEmpty() ? QList<DialogButton>{DialogButton::Ok} : buttons;
    std::vector<std::pair<QAbstractButton *, DialogButton>> map;
    for (const DialogButton button : offered) {
        QPushButton *pushButton = box.addButton(standardButton(button));
        if (!pushButton)
            continue;
        pushButton->setText(buttonText(button));
        map.emplace_back(pushButton, button);
    }
    box.exec();
    for (const auto &[pushButton, button] : map) {
        if (box.clickedButton() == pushButton)
            return button;
    }
    return DialogButton::Close;
}

bool WidgetDialogs::prompt(const QString &caption, const QString &label, QString &value, bool password)
{
    QInputDialog dialog(owner());
    dialog.setWindowTitle(caption);
    dialog.setLabelText(label);
    dialog.setTextValue(value);
    dialog.setTextEchoMode(password ? QLineEdit::Password : QLineEdit::Normal);
    dialog.setOkButtonText(buttonText(DialogButton::Ok));
    dialog.setCancelButtonText(buttonText(DialogButton::Cancel));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    value = dialog.textValue();
    return true;
}

QString WidgetDialogs::chooseFolder(const QString &caption, const QString &start)
{
    return QFileDialog::getExistingDirectory(owner(), caption, start);
}

QString WidgetDialogs::chooseOpenFile(const QString &caption, const QString &start, const QString &filter)
{
    return QFileDialog::getOpenFileName(owner(), caption, start, pickerFilter(filter));
}

QString WidgetDialogs::chooseSaveFile(const QString &caption, const QString &start, const QString &filter)
{
    // The callers ask their own overwrite question where one is wanted.
    return QFileDialog::getSaveFileName(owner(), caption, start, pickerFilter(filter), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

} // namespace qpn
