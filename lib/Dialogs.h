#pragma once

#include <QList>
#include <QString>

namespace qpn {

// Every message box and question of the program goes through this seam. The
// desktop program installs one that shows real boxes; the command line one
// that prints and answers by its options; tests one that records every message
// and answers from a script. Domain code never touches a widget.
enum class DialogKind { Plain, Warning, Error, Information, Confirmation };
enum class DialogButton { None, Ok, Cancel, Yes, No, YesToAll, NoToAll, Abort, Retry, Ignore, Close };

class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // Shows a box with the given buttons; returns the one chosen (Close or
    // Cancel when the box was closed without a choice).
    virtual DialogButton message(DialogKind kind, const QString &text,
                                 const QList<DialogButton> &buttons, const QString &caption = QString()) = 0;
    // Asks for one line of text; false when cancelled.
    virtual bool prompt(const QString &caption, const QString &label, QString &value, bool password = false) = 0;
    // Folder and file pickers; empty when cancelled.
    virtual QString chooseFolder(const QString &caption, const QString &start) = 0;
    virtual QString chooseOpenFile(const QString &caption, const QString &start, const QString &filter) = 0;
    virtual QString chooseSaveFile(const QString &caption, const QString &start, const QString &filter) = 0;
};

// The process's seam. Until one is installed, a non-interactive one answers:
// it writes each message to standard error and answers the first button.
Dialogs &CurrentDialogs();
// Installs a seam (not owned); nullptr restores the non-interactive one.
void SetCurrentDialogs(Dialogs *dialogs);

// Conveniences over the current seam.
void ShowMessage(const QString &text);
DialogButton MessageDlg(const QString &text, DialogKind kind, const QList<DialogButton> &buttons);

// Installs a seam for the lifetime of the object, restoring the previous one.
class ScopedDialogs
{
public:
    explicit ScopedDialogs(Dialogs &dialogs);
    ~ScopedDialogs();
    ScopedDialogs(const ScopedDialogs &) = delete;
    ScopedDialogs &operator=(const ScopedDialogs &) = delete;

private:
    Dialogs *m_previous;
};

} // namespace qpn
