#pragma once

#include <QString>

#include <stdexcept>

namespace qpn {

// Raised by the scripted seams when the program asks something the script did
// not foresee, so a test fails at once instead of waiting for a person.
class ScriptError : public std::logic_error
{
public:
    explicit ScriptError(const QString &what) : std::logic_error(what.toStdString()) {}
};

} // namespace qpn
