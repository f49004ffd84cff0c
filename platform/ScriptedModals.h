#pragma once

#include "platform/ModalForms.h"
#include "platform/ScriptError.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QDialog;

namespace qpn {

// Drives the modal forms of a test. Each expected form is named (its
// objectName or class name) and given a step: the form is shown without a
// modal loop, the step works its controls, and the form must have closed
// itself by the end of the step. A form arriving unscripted, under another
// name, or still open after its step throws ScriptError.
class ScriptedModals
{
public:
    using Step = std::function<void(QDialog &)>;

    ScriptedModals();
    ~ScriptedModals();
    ScriptedModals(const ScriptedModals &) = delete;
    ScriptedModals &operator=(const ScriptedModals &) = delete;

    ScriptedModals &expect(const QString &formName, Step step);

    QStringList shown() const { return m_shown; }
    int pending() const { return static_cast<int>(m_expected.size()); }

private:
    struct Expected
    {
        QString name;
        Step step;
    };

    int run(QDialog &dialog);

    QList<Expected> m_expected;
    QStringList m_shown;
    std::unique_ptr<ScopedModalHandler> m_handler;
};

} // namespace qpn
