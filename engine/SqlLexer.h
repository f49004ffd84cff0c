#pragma once

#include <QString>

#include <vector>

namespace qpn::engine {

enum class SqlTokenKind {
    End,
    Word,        // bare identifier or keyword
    QuotedName,  // "name" or [name]
    String,      // 'text'
    Number,
    Parameter,   // :name (text holds the name without the colon)
    Symbol,      // operators and punctuation
};

struct SqlToken
{
    SqlTokenKind kind = SqlTokenKind::End;
    QString text;
    int begin = 0; // offset in the statement
    int end = 0;   // offset just past the token
};

// Splits one statement into tokens, skipping blanks and comments.
// Throws EngineError("SQL error - ...") for a character the dialect lacks or an
// unterminated quote or comment.
std::vector<SqlToken> TokenizeSql(const QString &text);

// A character that may continue a bare identifier (Japanese included).
bool IsSqlNameChar(QChar c);

} // namespace qpn::engine
