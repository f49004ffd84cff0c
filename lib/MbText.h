#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <vector>

namespace qpn {

// Routines on CP932 byte strings that never split a two-byte character.
// Positions are 1-based; 0 means none.

enum class ByteKind { Single, Lead, Trail };

// The kind of every byte, scanning from the start with the CP932 lead-byte
// table (0x81–0x9F, 0xE0–0xFC). A lead byte at the very end stays a lead byte.
std::vector<ByteKind> Cp932ByteKinds(QByteArrayView text);

// The first occurrence of pattern in text whose first and last bytes are of
// the same kinds as the pattern's own, so half a character never matches.
int MbPos(const QByteArray &pattern, const QByteArray &text);
// Removes half-width and full-width spaces from the sides named in sides
// ("L", "R", either case; empty means both).
QByteArray MbTrim(const QByteArray &text, QByteArrayView sides = {});
// Removes every two-byte character.
QByteArray MbDropWide(const QByteArray &text);
// Replaces every two-byte character by two spaces, keeping byte positions.
QByteArray MbWideToSpaces(const QByteArray &text);
// Removes every occurrence MbPos finds, searching again from the start each time.
QByteArray MbDeleteAll(const QByteArray &pattern, const QByteArray &text);

// The same on Unicode text, where a "two-byte character" is every character
// that is not a single CP932 byte (so characters CP932 lacks count as wide and
// are never turned into "?"). MbPos counts in the text's own UTF-16 units.
int MbPos(const QString &pattern, const QString &text);
QString MbTrim(const QString &text, QStringView sides = {});
QString MbDropWide(const QString &text);
QString MbWideToSpaces(const QString &text);
QString MbDeleteAll(const QString &pattern, const QString &text);

} // namespace qpn
