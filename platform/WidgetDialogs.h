#pragma once

#include "lib/Dialogs.h"

class QWidget;

namespace qpn {

// The desktop program's seam: real message boxes, input boxes and file
// pickers with Japanese captions, owned by the active window.
class WidgetDialogs final : public Dialogs
{
public:
    DialogButton message(DialogKind kind, const QString &text, const QList<DialogButton> &buttons,
                         const QString &caption = QString()) override;
    bool prompt(const QString &caption, const QString &label, QString &value, bool password = false) override;
    QString chooseFolder(const QString &caption, const QString &start) override;
    QString chooseOpenFile(const QString &caption, const QString &start, const QString &filter) override;
    QString chooseSaveFile(const QString &caption, const QString &start, const QString &filter) override;

    // The caption a box of this kind carries when the caller names none.
    static QString defaultCaption(DialogKind kind);
    // The Japanese text of a button.
    static QString buttonText(DialogButton button);
    // Turns a filter written as "説明|*.csv|説明|*.txt" into the picker's own form;
    // a filter without "|" is passed through.
    static QString pickerFilter(const QString &filter);

private:
    static QWidget *owner();
};

} // namespace qpn
