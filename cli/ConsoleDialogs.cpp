#include "cli/ConsoleDialogs.h"

namespace qpn::cli
{

namespace
{

QString AnswerText(DialogButton button)
{
    switch (button) {
    case DialogButton::Yes:
        return QStringLiteral("はい");
    case DialogButton::No:
        return QStringLiteral("いいえ");
    case DialogButton::Cancel:
        return QStringLiteral("キャンセル");
    default:
        return QString();
    }
}

} // namespace

DialogButton ConsoleDialogs::message(DialogKind, const QString &text,
                                     const QList<DialogButton> &buttons, const QString &)
{
    ++m_messageCount;
    m_out << text;
    if (buttons.size() <= 1) {
        m_out << '\n';
        m_out.flush();
        return buttons.isEmpty() ? DialogButton::Ok : buttons.first();
    }
    DialogButton answer = buttons.first();
    if (m_answerYes && buttons.contains(DialogButton::Yes))
        answer = DialogButton::Yes;
    else if (buttons.contains(DialogButton::No))
        answer = DialogButton::No;
    else if (buttons.contains(DialogButton::Cancel))
        answer = DialogButton::Cancel;
    m_out << " → " << AnswerText(answer) << '\n';
    m_out.flush();
    return answer;
}

} // namespace qpn::cli
