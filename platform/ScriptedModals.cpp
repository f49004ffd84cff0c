#include "platform/ScriptedModals.h"

#include <QCoreApplication>
#include <QDialog>

namespace qpn {

ScriptedModals::ScriptedModals()
    : m_handler(std::make_unique<ScopedModalHandler>([this](QDialog &dialog) { return run(dialog); }))
{
}

ScriptedModals::~ScriptedModals() = default;

ScriptedModals &ScriptedModals::expect(const QString &formName, Step step)
{
    m_expected.append({formName, std::move(step)});
    return *this;
}

int ScriptedModals::run(QDialog &dialog)
{
    const QString name = dialog.objectName().isEmpty() ? QString::fromLatin1(dialog.metaObject()->className())
                                                        : dialog.objectName();
    m_shown << name;
    if (m_expected.isEmpty())
        throw ScriptError(QStringLiteral("unscripted modal form: ") + name);
    const Expected expected = m_expected.takeFirst();
    if (expected.name != name && expected.name != QLatin1String(dialog.metaObject()->className()))
        throw ScriptError(QStringLiteral("modal form %1 shown where %2 was scripted").arg(name, expected.name));

    dialog.setResult(0);
    dialog.show();
    QCoreApplication::sendPostedEvents();
    expected.step(dialog);
    if (dialog.isVisible()) {
        dialog.hide();
        throw ScriptError(QStringLiteral("modal form still open after its script: ") + name);
    }
    return dialog.result();
}

} // namespace qpn
