#pragma once

#include "lib/Dialogs.h"

#include <QTextStream>

namespace qpn::cli
{

// The dialog seam of the command line: prints every message on a line of its
// own and answers a question with Yes only when allowed to, else with No (or
// Cancel, or the first button the box has). Pickers and prompts are refused.
class ConsoleDialogs final : public Dialogs
{
public:
    ConsoleDialogs(QTextStream &out, bool answerYes) : m_out(out), m_answerYes(answerYes) {}

    DialogButton message(DialogKind kind, const QString &text, const QList<DialogButton> &buttons,
                         const QString &caption = QString()) override;
    bool prompt(const QString &, const QString &, QString &, bool) override { return false; }
    QString chooseFolder(const QString &, const QString &) override { return {}; }
    QString chooseOpenFile(const QString &, const QString &, const QString &) override
    {
        return {};
    }
    QString chooseSaveFile(const QString &, const QString &, const QString &) override
    {
        return {};
    }

    int messageCount() const { return m_messageCount; }

private:
    QTextStream &m_out;
    bool m_answerYes;
    int m_messageCount = 0;
};

} // namespace qpn::cli
