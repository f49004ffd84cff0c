#pragma once

#include "lib/Dialogs.h"
#include "platform/ScriptError.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>

#include <optional>

namespace qpn {

// One box the program showed.
struct RecordedMessage
{
    DialogKind kind = DialogKind::Plain;
    QString text;
    QList<DialogButton> buttons;
    QString caption;
};

// A seam for tests: records every box and answers questions from a queue.
// A box with a single OK button needs no answer; any other box takes the next
// scripted answer, which must be one of its buttons (or Close, the box's close
// button). A question, prompt or picker with nothing scripted throws
// ScriptError. Installs itself as the current seam for its lifetime.
class ScriptedDialogs final : public Dialogs
{
public:
    ScriptedDialogs();
    ~ScriptedDialogs() override;
    ScriptedDialogs(const ScriptedDialogs &) = delete;
    ScriptedDialogs &operator=(const ScriptedDialogs &) = delete;

    ScriptedDialogs &answer(DialogButton button);
    ScriptedDialogs &answerPrompt(const QString &value);
    ScriptedDialogs &cancelPrompt();
    ScriptedDialogs &answerFolder(const QString &folder); // empty: cancelled
    ScriptedDialogs &answerOpenFile(const QString &file);
    ScriptedDialogs &answerSaveFile(const QString &file);

    const QList<RecordedMessage> &messages() const { return m_messages; }
    QStringList texts() const;
    // Answers scripted but not yet asked for.
    int pending() const;

    DialogButton message(DialogKind kind, const QString &text, const QList<DialogButton> &buttons,
                         const QString &caption = QString()) override;
    bool prompt(const QString &caption, const QString &label, QString &value, bool password = false) override;
    QString chooseFolder(const QString &caption, const QString &start) override;
    QString chooseOpenFile(const QString &caption, const QString &start, const QString &filter) override;
    QString chooseSaveFile(const QString &caption, const QString &start, const QString &filter) override;

private:
    static QString takePicked(QQueue<QString> &queue, const QString &what, const QString &caption);

    ScopedDialogs m_scope{*this};
    QList<RecordedMessage> m_messages;
    QQueue<DialogButton> m_answers;
    QQueue<std::optional<QString>> m_prompts;
    QQueue<QString> m_folders;
    QQueue<QString> m_openFiles;
    QQueue<QString> m_saveFiles;
};

} // namespace qpn
