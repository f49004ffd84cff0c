#include "lib/Dialogs.h"

#include <QTextStream>

namespace qpn {

namespace {

// Answers without a person: used by the command line before it installs its
// own seam, and by anything running with no seam installed.
class NonInteractiveDialogs final : public Dialogs
{
public:
    DialogButton message(DialogKind, const QString &text, const QList<DialogButton> &buttons,
                         const QString &) override
    {
        QTextStream(stderr) << text << '\n';
        return buttons.isEmpty() ? DialogButton::Ok : buttons.first();
    }
    bool prompt(const QString &, const QString &, QString &, bool) override { return false; }
    QString chooseFolder(const QString &, const QString &) override { return {}; }
    QString chooseOpenFile(const QString &, const QString &, const QString &) override { return {}; }
    QString chooseSaveFile(const QString &, const QString &, const QString &) override { return {}; }
};

NonInteractiveDialogs &fallback()
{
    static NonInteractiveDialogs dialogs;
    return dialogs;
}

Dialogs *g_current = nullptr;

} // namespace

Dialogs &CurrentDialogs()
{
    return g_current ? *g_current : fallback();
}

void SetCurrentDialogs(Dialogs *dialogs)
{
    g_current = dialogs;
}

void ShowMessage(const QString &text)
{
    CurrentDialogs().message(DialogKind::Plain, text, {DialogButton::Ok});
}

DialogButton MessageDlg(const QString &text, DialogKind kind, const QList<DialogButton> &buttons)
{
    return CurrentDialogs().message(kind, text, buttons);
}

ScopedDialogs::ScopedDialogs(Dialogs &dialogs) : m_previous(g_current)
{
    g_current = &dialogs;
}

ScopedDialogs::~ScopedDialogs()
{
    g_current = m_previous;
}

} // namespace qpn
