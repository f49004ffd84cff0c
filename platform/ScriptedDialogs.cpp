#include "platform/ScriptedDialogs.h"

namespace qpn {

namespace {

bool needsAnswer(const QList<DialogButton> &buttons)
{
    return !(buttons.isEmpty() || (buttons.size() == 1 && buttons.first() == DialogButton::Ok));
}

} // namespace

ScriptedDialogs::ScriptedDialogs() = default;
ScriptedDialogs::~ScriptedDialogs() = default;

ScriptedDialogs &ScriptedDialogs::answer(DialogButton button)
{
    m_answers.enqueue(button);
    return *this;
}

ScriptedDialogs &ScriptedDialogs::answerPrompt(const QString &value)
{
    m_prompts.enqueue(value);
    return *this;
}

ScriptedDialogs &ScriptedDialogs::cancelPrompt()
{
    m_prompts.enqueue(std::nullopt);
    return *this;
}

ScriptedDialogs &ScriptedDialogs::answerFolder(const QString &folder)
{
    m_folders.enqueue(folder);
    return *this;
}

ScriptedDialogs &ScriptedDialogs::answerOpenFile(const QString &file)
{
    m_openFiles.enqueue(file);
    return *this;
}

ScriptedDialogs &ScriptedDialogs::answerSaveFile(const QString &file)
{
    m_saveFiles.enqueue(file);
    return *this;
}

QStringList ScriptedDialogs::texts() const
{
    QStringList result;
    for (const auto &message : m_messages)
        result << message.text;
    return result;
}

int ScriptedDialogs::pending() const
{
    return static_cast<int>(m_answers.size() + m_prompts.size() + m_folders.size() + m_openFiles.size()
                            + m_saveFiles.size());
}

DialogButton ScriptedDialogs::message(DialogKind kind, const QString &text, const QList<DialogButton> &buttons,
                                      const QString &caption)
{
    m_messages.append({kind, text, buttons, caption});
    if (!needsAnswer(buttons))
        return DialogButton::Ok;
    if (m_answers.isEmpty())
        throw ScriptError(QStringLiteral("unscripted question: ") + text);
    const DialogButton chosen = m_answers.dequeue();
    if (chosen != DialogButton::Close && !buttons.contains(chosen))
        throw ScriptError(QStringLiteral("scripted answer is not a button of: ") + text);
    return chosen;
}

bool ScriptedDialogs::prompt(const QString &caption, const QString &label, QString &value, bool)
{
    m_messages.append({DialogKind::Plain, label, {}, caption});
    if (m_prompts.isEmpty())
        throw ScriptError(QStringLiteral("unscripted prompt: ") + caption + QLatin1Char(' ') + label);
    const std::optional<QString> typed = m_prompts.dequeue();
    if (!typed)
        return false;
    value = *typed;
    return true;
}

QString ScriptedDialogs::takePicked(QQueue<QString> &queue, const QString &what, const QString &caption)
{
    if (queue.isEmpty())
        throw ScriptError(QStringLiteral("unscripted %1 picker: %2").arg(what, caption));
    return queue.dequeue();
}

QString ScriptedDialogs::chooseFolder(const QString &caption, const QString &)
{
    return takePicked(m_folders, QStringLiteral("folder"), caption);
}

QString ScriptedDialogs::chooseOpenFile(const QString &caption, const QString &, const QString &)
{
    return takePicked(m_openFiles, QStringLiteral("open-file"), caption);
}

QString ScriptedDialogs::chooseSaveFile(const QString &caption, const QString &, const QString &)
{
    return takePicked(m_saveFiles, QStringLiteral("save-file"), caption);
}

} // namespace qpn
