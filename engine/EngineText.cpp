#include "engine/EngineText.h"

namespace qpn::engine {

QString EngineMessage(const char *text, const QStringList &args)
{
    const QString pattern = QString::fromUtf8(text);
    QString result;
    result.reserve(pattern.size() + 32);
    qsizetype next = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == u'%' && i + 1 < pattern.size() && pattern[i + 1] == u's') {
            result += next < args.size() ? args[next] : QString();
            ++next;
            ++i;
        } else {
            result += pattern[i];
        }
    }
    return result;
}

} // namespace qpn::engine
