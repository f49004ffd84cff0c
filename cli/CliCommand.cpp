#include "cli/CliCommand.h"

#include <algorithm>
#include <stdexcept>

namespace qpn::cli {

namespace {
QList<CliCommand> &registry()
{
    static QList<CliCommand> commands;
    return commands;
}
} // namespace

CommandRegistrar::CommandRegistrar(CliCommand command)
{
    auto &commands = registry();
    const auto at = std::lower_bound(commands.begin(), commands.end(), command.name,
                                     [](const CliCommand &c, const QString &n) { return c.name < n; });
    commands.insert(at, std::move(command));
}

const QList<CliCommand> &RegisteredCommands()
{
    return registry();
}

bool TakeFlag(QStringList &args, const QString &flag)
{
    return args.removeAll(flag) > 0;
}

bool TakeOption(QStringList &args, const QString &option, QString &value)
{
    const auto at = args.indexOf(option);
    if (at < 0)
        return false;
    if (at + 1 >= args.size())
        throw std::invalid_argument(QStringLiteral("%1 に値がありません。").arg(option).toStdString());
    value = args.at(at + 1);
    args.remove(at, 2);
    return true;
}

} // namespace qpn::cli
